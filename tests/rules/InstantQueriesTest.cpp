// Whether a damage spell has a creature to destroy, and whether an instant in hand could do some good now.
#include "cards/CardIds.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "rules/CombatDamage.h"
#include "rules/GameQueries.h"
#include "tests/rules/RulesFixture.h"

#include <functional>

namespace {

using rulestest::RulesTest;

class InstantQueriesTest : public RulesTest {
public:
    // The boards of the tables below are built through these.
    using RulesTest::Creature;
    using RulesTest::Define;
    using RulesTest::OnTable;

protected:
    void SetUp() override
    {
        RulesTest::SetUp();
        ResetTurnWords();
    }
    void TearDown() override
    {
        ResetTurnWords();
        RulesTest::TearDown();
    }
    static void ResetTurnWords()
    {
        s_PastCombat = false;
        s_AttackStep = 0;
        s_CpuBlockStep = 0;
        s_HumanBlockStep = 0;
    }

    // A spell of that id aimed at a creature, dealing damage.
    CARD& Spell(int id, int damage = 0)
    {
        CARD& spell = Define(CT_INSTANT, ManaCost(0, 1, 0, 0, 0, 0));
        spell.m_Id = id;
        spell.m_SpellEffect.effectType = EFFECT_DAMAGE;
        spell.m_SpellEffect.damageAmt = damage;
        spell.m_SpellEffect.needsTarget = true;
        spell.m_SpellTarget.type = TT_CREATURE;
        return spell;
    }
};

TEST_F(InstantQueriesTest, AKillableTargetIsAnOpposingCreatureTheDamageDestroys)
{
    struct Case {
        const char* board;
        std::function<void(InstantQueriesTest&, CARD& target)> setUp;
        bool blockersOnly;
        bool againstAttackers;
        bool killable;
    };
    // The spell deals 2; the target is a CPU 1/2 on the table unless the case changes it.
    const Case cases[] = {
        {"toughness equal to the damage", [](auto&, CARD&) {}, false, false, true},
        {"one toughness too many", [](auto&, CARD& t) { t.m_Stats.toughness = 3; }, false, false, false},
        {"wounded by one", [](auto&, CARD& t) { t.m_Stats.toughness = 3; }, false, false, true},
        {"a shield holds it", [](auto&, CARD&) {}, false, false, false},
        {"pending damage counts", [](auto&, CARD& t) { t.m_Stats.toughness = 3; }, false, false, true},
        {"tapped: no blocker", [](auto&, CARD&) {}, true, false, false},
        {"untapped: a blocker", [](auto&, CARD&) {}, true, false, true},
        {"cannot block the flyer", [](auto&, CARD&) {}, true, true, false},
        {"blocks the flyer", [](auto&, CARD& t) { t.m_Stats.flyBlock = true; }, true, true, true},
    };
    for (const Case& c : cases) {
        Clear();
        CARD& targetDef = Creature(1, 2);
        c.setUp(*this, targetDef);
        CardActor& target = OnTable(targetDef, PLAYER_CPU);
        const std::string board = c.board;
        if (board == "wounded by one")
            target.SetDamage(1);
        if (board == "a shield holds it")
            target.SetShields(1);
        if (board == "pending damage counts")
            target.SetPendingDamage(1);
        if (board == "tapped: no blocker")
            target.SetTapState(TAP_TAPPED);
        if (c.againstAttackers) {
            CARD& flyer = Creature(2, 2);
            flyer.m_Stats.flying = true;
            OnTable(flyer, PLAYER_HUMAN);
        }
        CardActor& spell = InHand(Spell(CD_SAVOTNEL, 2), PLAYER_HUMAN);
        EXPECT_EQ(HasKillableTarget(&spell, c.blockersOnly, c.againstAttackers), c.killable) << c.board;
    }
}

TEST_F(InstantQueriesTest, OnlyTheOpponentsStayingCreaturesOnTheTableThatTheSpellMayTargetCount)
{
    EXPECT_FALSE(HasKillableTarget(nullptr, false, false));
    CardActor& spell = InHand(Spell(CD_FALARSAR, 5), PLAYER_HUMAN);
    OnTable(Creature(1, 1), PLAYER_HUMAN);                // the caster's own
    InHand(Creature(1, 1), PLAYER_CPU);                   // in the opponent's hand
    OnTable(Creature(1, 1), PLAYER_CPU).SetExitMove(1);   // on its way to the graveyard
    OnTable(Creature(1, 1, ManaCost(0, 0, 0, 0, 1, 0)), PLAYER_CPU);  // black: Falarsar may not target it
    EXPECT_FALSE(HasKillableTarget(&spell, false, false));
    OnTable(Creature(1, 1, ManaCost(0, 1, 0, 0, 0, 0)), PLAYER_CPU);
    EXPECT_TRUE(HasKillableTarget(&spell, false, false));
    // The CPU's spell looks at the learner's creatures.
    CardActor& cpuSpell = InHand(Spell(CD_SAVOTNEL, 1), PLAYER_CPU);
    EXPECT_TRUE(HasKillableTarget(&cpuSpell, false, false));
}

TEST_F(InstantQueriesTest, EachNamedInstantIsUsefulInItsOwnSituation)
{
    struct Case {
        int id;
        const char* situation;
        std::function<void(InstantQueriesTest&)> board;
        bool atAnyStep;
        bool useful;
    };
    const auto ownReady = [](InstantQueriesTest& t) { t.OnTable(t.Creature(1, 1), PLAYER_HUMAN); };
    const auto otherReady = [](InstantQueriesTest& t) { t.OnTable(t.Creature(1, 1), PLAYER_CPU); };
    const auto afterCombat = [](InstantQueriesTest&) { s_PastCombat = true; };
    const Case cases[] = {
        {CD_PRAUNRIK, "own ready creature before combat", ownReady, false, true},
        {CD_PRAUNRIK, "only the opponent's creature", otherReady, false, false},
        {CD_PRAUNRIK, "after combat",
         [&](InstantQueriesTest& t) { ownReady(t); afterCombat(t); }, false, false},
        {CD_PRAUNRIK, "after combat, at any step",
         [&](InstantQueriesTest& t) { ownReady(t); afterCombat(t); }, true, true},
        {CD_PRAUNRIK, "after combat with a block under way",
         [&](InstantQueriesTest& t) { ownReady(t); afterCombat(t); s_HumanBlockStep = 1; }, false, true},
        {CD_SAVOTNEL, "an empty table", [](InstantQueriesTest&) {}, false, true},
        {CD_VORENTON, "an empty table", [](InstantQueriesTest&) {}, false, true},
        {CD_FENORTON, "an empty table", [](InstantQueriesTest&) {}, false, true},
        {CD_WENORTH, "an empty table", [](InstantQueriesTest&) {}, false, true},
        {CD_ESKARMAR, "the opponent's ready creature", otherReady, false, true},
        {CD_ESKARMAR, "after combat", [&](InstantQueriesTest& t) { otherReady(t); afterCombat(t); }, false, false},
        {CD_ESKARMAR, "after combat with an attack declared",
         [&](InstantQueriesTest& t) { otherReady(t); afterCombat(t); s_AttackStep = 2; }, false, true},
        {CD_ESKARMAR, "no creatures", [](InstantQueriesTest&) {}, false, false},
        {CD_SELEVMAR, "the opponent's ready creature", otherReady, false, true},
        {CD_SELEVMAR, "only an own creature", ownReady, false, false},
        {CD_NESURGAST, "an attacking opponent",
         [](InstantQueriesTest& t) { t.OnTable(t.Creature(1, 1), PLAYER_CPU).SetAttacking(true); }, false, true},
        {CD_NESURGAST, "no attacker", otherReady, false, false},
        {CD_FALARSAR, "a green creature", otherReady, false, true},
        {CD_FALARSAR, "only a black creature",
         [](InstantQueriesTest& t) { t.OnTable(t.Creature(1, 1, ManaCost(0, 0, 0, 0, 1, 0)), PLAYER_CPU); }, false,
         false},
        {CD_NODUMBER, "a tapped creature",
         [](InstantQueriesTest& t) { t.OnTable(t.Creature(1, 1), PLAYER_CPU).SetTapState(TAP_TAPPED); }, false, true},
        {CD_NODUMBER, "only untapped creatures", otherReady, false, false},
        {CD_WENARWYN, "an artifact",
         [](InstantQueriesTest& t) { t.OnTable(t.Define(CT_ARTIFACT), PLAYER_CPU); }, false, true},
        {CD_WENARWYN, "an enchantment",
         [](InstantQueriesTest& t) { t.OnTable(t.Define(CT_ENCHANT), PLAYER_CPU); }, false, true},
        {CD_WENARWYN, "only the learner's artifact",
         [](InstantQueriesTest& t) { t.OnTable(t.Define(CT_ARTIFACT), PLAYER_HUMAN); }, false, false},
    };
    for (const Case& c : cases) {
        Clear();
        ResetTurnWords();
        c.board(*this);
        CardActor& card = InHand(Spell(c.id), PLAYER_HUMAN);
        EXPECT_EQ(IsInstantUsefulNow(&card, c.atAnyStep, true), c.useful) << c.id << ": " << c.situation;
    }
}

TEST_F(InstantQueriesTest, UntargetedSpellsAreUsefulAndOthersFallBackOnReadyCreatures)
{
    EXPECT_FALSE(IsInstantUsefulNow(nullptr, true, false));
    CARD& untargeted = Spell(400);
    untargeted.m_SpellEffect.needsTarget = false;
    EXPECT_TRUE(IsInstantUsefulNow(&InHand(untargeted), false, true));
    CARD& atPlayer = Spell(401);
    atPlayer.m_SpellTarget.opponent = true;
    EXPECT_TRUE(IsInstantUsefulNow(&InHand(atPlayer), false, true));

    CardActor& other = InHand(Spell(402));
    EXPECT_FALSE(IsInstantUsefulNow(&other, false, false)) << "no ready creature anywhere";
    OnTable(Creature(1, 1), PLAYER_CPU);
    EXPECT_TRUE(IsInstantUsefulNow(&other, false, false));
    EXPECT_FALSE(IsInstantUsefulNow(&other, false, true)) << "no fallback";
    CARD& atLand = Spell(403);
    atLand.m_SpellTarget.type = TT_LAND;
    EXPECT_FALSE(IsInstantUsefulNow(&InHand(atLand), false, false));
}

} // namespace
