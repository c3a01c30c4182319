#include "gamestate/PhysicalTurnState.h"
#include "rules/CpuPlayChoice.h"
#include "rules/ManaPool.h"
#include "tests/rules/RulesFixture.h"

#include <functional>

namespace {

using rulestest::RulesTest;

const ManaCost kRed(0, 1, 0, 0, 0, 0);
const ManaCost kGreen(0, 0, 1, 0, 0, 0);
const ManaCost kBlack(0, 0, 0, 0, 1, 0);

class CpuPlayChoiceTest : public RulesTest {
protected:
    void SetUp() override
    {
        RulesTest::SetUp();
        ResetPhysicalTurnState();
    }
    void TearDown() override
    {
        ResetPhysicalTurnState();
        RulesTest::TearDown();
    }

    void CpuLands(int count, ManaCost produces = kRed)
    {
        for (int i = 0; i < count; ++i)
            OnTable(Land(produces), PLAYER_CPU);
        UpdateCpuAvailableMana();
    }

    CARD& Sorcery(int effect, ManaCost cost = ManaCost(0, 1, 0, 0, 0, 0))
    {
        CARD& card = Define(CT_SORCERY, cost);
        card.m_SpellEffect.effectType = effect;
        return card;
    }

    // The CPU's choice over its hand: the chosen card (none when it plays nothing) and its target.
    struct Play {
        CardActor* card = nullptr;
        CardActor* targetCard = nullptr;
        Actor* targetPlayer = nullptr;
    };
    static Play Choose()
    {
        Play play;
        CardActor* last = nullptr;
        if (!CpuChoosePlay(CollectCpuPlayableCards(), last, play.targetCard, play.targetPlayer))
            play.card = last;
        return play;
    }
};

TEST_F(CpuPlayChoiceTest, LandFollowsTheColourDemandOfTheHand)
{
    struct Row {
        const char* name;
        int greenCreatures, redCreatures;
        bool forestOnTable, mountainHeld;
        int expect;  // 0 none, 1 the held Forest, 2 the held Mountain, 3 the held Swamp
    };
    const Row rows[] = {
        {"no creature: the first held land", 0, 0, false, true, 3},
        {"green demanded most", 2, 1, false, true, 1},
        {"green served already: the second colour", 2, 1, true, true, 2},
        // Holding a Forest and a Swamp, the CPU still plays a land: the first held, as when no colour is asked.
        {"green served, no land of the second colour: the first held land", 2, 1, true, false, 3},
        {"one colour only, served: still the Forest", 2, 0, true, true, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Clear();
        SetUp();
        CardActor& swamp = InHand(Land(kBlack), PLAYER_CPU);
        CardActor& forest = InHand(Land(kGreen), PLAYER_CPU);
        CardActor* mountain = row.mountainHeld ? &InHand(Land(kRed), PLAYER_CPU) : nullptr;
        for (int i = 0; i < row.greenCreatures; ++i)
            InHand(Creature(1, 1, ManaCost(0, 0, 1, 0, 0, 0)), PLAYER_CPU);
        for (int i = 0; i < row.redCreatures; ++i)
            InHand(Creature(1, 1, ManaCost(0, 1, 0, 0, 0, 0)), PLAYER_CPU);
        // Beyond what the CPU could pay: no demand.
        InHand(Creature(5, 5, ManaCost(6, 0, 0, 0, 1, 0)), PLAYER_CPU);
        if (row.forestOnTable)
            OnTable(Land(kGreen), PLAYER_CPU);
        CardActor* const expected[] = {nullptr, &forest, mountain, &swamp};
        EXPECT_EQ(CpuChooseLandToPlay(), expected[row.expect]);
    }
}

TEST_F(CpuPlayChoiceTest, PlayableListHoldsCreaturesFirstAndNeverLandsOrInstants)
{
    CardActor& sorcery = InHand(Sorcery(EFFECT_DRAWDISCARD), PLAYER_CPU);
    InHand(Define(CT_INSTANT), PLAYER_CPU);
    InHand(Land(kRed), PLAYER_CPU);
    CardActor& creature = InHand(Creature(1, 1), PLAYER_CPU);
    CardActor& artifact = InHand(Define(CT_ARTIFACT), PLAYER_CPU);
    InHand(Creature(1, 1), PLAYER_HUMAN);
    OnTable(Creature(1, 1), PLAYER_CPU);
    ASSERT_EQ(CollectCpuPlayableCards(), 3);
    EXPECT_EQ(GetCpuPlayableCard(0), &creature);
    EXPECT_EQ(GetCpuPlayableCard(1), &sorcery);
    EXPECT_EQ(GetCpuPlayableCard(2), &artifact);
    EXPECT_EQ(GetCpuPlayableCard(3), nullptr);
    ClearCpuChoiceTable();
    EXPECT_EQ(GetCpuPlayableCard(0), nullptr);
}

TEST_F(CpuPlayChoiceTest, CreaturesWaitForCombatWhileTheCpuCanAttack)
{
    struct Row {
        const char* name;
        int mode;
        bool attacker, pastCombat, haste, heldInstant;
        int lands;
        bool played;
    };
    const Row rows[] = {
        {"physical, attacker ready, first main", 1, true, false, false, false, 2, false},
        {"physical, second main", 1, true, true, false, false, 2, true},
        {"physical, haste", 2, true, false, true, false, 2, true},
        {"physical, no attacker", 1, false, false, false, false, 2, true},
        {"online, keeps mana for an instant", 3, false, false, false, true, 3, false},
        {"online, four spare mana", 3, false, false, false, true, 6, true},
        {"online, nothing to keep mana for", 4, false, false, false, false, 2, true},
        {"unaffordable", 1, false, true, false, false, 1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Clear();
        SetUp();
        SetMode(row.mode);
        s_PastCombat = row.pastCombat;
        CARD& card = Creature(2, 2, ManaCost(1, 1, 0, 0, 0, 0));
        card.m_Stats.haste = row.haste;
        CardActor& creature = InHand(card, PLAYER_CPU);
        if (row.attacker)
            OnTable(Creature(1, 1), PLAYER_CPU);
        if (row.heldInstant)
            InHand(Define(CT_INSTANT, kRed), PLAYER_CPU);
        CpuLands(row.lands);
        const Play play = Choose();
        EXPECT_EQ(play.card, row.played ? &creature : nullptr);
        EXPECT_EQ(CpuChooseCreatureToCast(), row.played ? &creature : nullptr);
    }
}

TEST_F(CpuPlayChoiceTest, LifeChangingCreatureKeepsLifeWithinBounds)
{
    for (const auto& [life, amount, played] : {std::tuple{18, 3, false}, {17, 3, true}, {3, -3, false},
                                               {4, -3, true}}) {
        SCOPED_TRACE(testing::Message() << life << " " << amount);
        Clear();
        SetUp();
        CARD& card = Creature(1, 1, kRed);
        card.m_SpellEffect.effectType = EFFECT_MODLIFE;
        card.m_SpellEffect.modLifeAmt = amount;
        card.m_SpellTarget.caster = true;
        CardActor& creature = InHand(card, PLAYER_CPU);
        Cpu().m_Life = life;
        CpuLands(1);
        EXPECT_EQ(Choose().card, played ? &creature : nullptr);
    }
}

TEST_F(CpuPlayChoiceTest, DamageSorceriesAimAtThePlayerOrTheRightCreature)
{
    struct Row {
        const char* name;
        bool x, opponent, creatures;
        int damage, lands, humanLife, humanPrevent;
        int expectX;          // the paid X, -1 when not an X spell
        bool atHuman;
        bool atCreature;
    };
    const Row rows[] = {
        {"player only", false, true, false, 2, 1, 20, 0, -1, true, false},
        {"X enough for the human's life and prevention", true, true, true, 1, 9, 4, 1, 5, true, false},
        {"X not enough, no creature worth it", true, true, true, 1, 4, 20, 0, -1, false, false},
        {"fixed damage at a creature that hits as hard", false, true, true, 2, 1, 20, 0, -1, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Clear();
        SetUp();
        CARD& card = Sorcery(EFFECT_DAMAGE);
        card.m_IsXSpell = row.x;
        card.m_SpellEffect.damageAmt = row.damage;
        card.m_SpellEffect.needsTarget = true;
        card.m_SpellTarget.opponent = row.opponent;
        card.m_SpellTarget.owner = OWNER_EITHER;
        card.m_SpellTarget.state = INPLAY;
        card.m_SpellTarget.color = ManaCost(1, 1, 1, 1, 1, 1);
        card.m_SpellTarget.type = row.creatures ? TT_CREATURE : TT_NONE;
        CardActor& sorcery = InHand(card, PLAYER_CPU);
        CardActor& bear = OnTable(Creature(2, 2), PLAYER_HUMAN);
        bear.SetTapState(TAP_TAPPED);
        Human().m_Life = row.humanLife;
        Human().m_PreventDamage = row.humanPrevent;
        CpuLands(row.lands);
        const Play play = Choose();
        const bool chosen = row.atHuman || row.atCreature;
        EXPECT_EQ(play.card, chosen ? &sorcery : nullptr);
        EXPECT_EQ(play.targetPlayer, row.atHuman ? m_human : nullptr);
        EXPECT_EQ(play.targetCard, row.atCreature ? &bear : nullptr);
        if (row.expectX >= 0) {
            EXPECT_EQ(sorcery.GetPaidMana(), ManaCost(row.expectX, 0, 0, 0, 0, 0));
        }
        if (chosen) {
            EXPECT_EQ(sorcery.GetChosenTarget(), row.atHuman ? m_human : static_cast<Actor*>(&bear));
        }
    }
}

TEST_F(CpuPlayChoiceTest, LifeAndCardSorceries)
{
    struct Row {
        const char* name;
        std::function<void(CARD&)> shape;
        int cpuLife;
        bool readyCreature, pastCombat;
        int cpuHandFillers;
        int target;  // 0 not played, 1 the CPU, 2 the human
        int expectX;
    };
    const Row rows[] = {
        {"X gain capped by 8 / amount", [](CARD& c) { c.m_SpellEffect.effectType = EFFECT_MODLIFE; c.m_SpellEffect.modLifeAmt = 3; c.m_IsXSpell = true; }, 10, false, true, 0, 1, 2},
        {"X gain waits while healthy", [](CARD& c) { c.m_SpellEffect.effectType = EFFECT_MODLIFE; c.m_SpellEffect.modLifeAmt = 1; c.m_IsXSpell = true; }, 14, false, true, 0, 0, -1},
        {"gain waits before combat with a ready creature", [](CARD& c) { c.m_SpellEffect.effectType = EFFECT_MODLIFE; c.m_SpellEffect.modLifeAmt = 2; }, 5, true, false, 0, 0, -1},
        {"loss goes to the human", [](CARD& c) { c.m_SpellEffect.effectType = EFFECT_MODLIFE; c.m_SpellEffect.modLifeAmt = -2; }, 20, false, true, 0, 2, -1},
        {"X drain finishing the human", [](CARD& c) { c.m_SpellEffect.effectType = EFFECT_DRAINLIFE; c.m_SpellEffect.drainLifeAmt = 2; c.m_IsXSpell = true; }, 20, false, true, 0, 2, 3},
        {"X gain of nothing per X is skipped", [](CARD& c) { c.m_SpellEffect.effectType = EFFECT_MODLIFE; c.m_SpellEffect.modLifeAmt = 0; c.m_IsXSpell = true; }, 10, false, true, 0, 0, -1},
        {"X drain of nothing per X is skipped", [](CARD& c) { c.m_SpellEffect.effectType = EFFECT_DRAINLIFE; c.m_SpellEffect.drainLifeAmt = 0; c.m_IsXSpell = true; }, 10, false, true, 0, 0, -1},
        {"X damage of nothing per X is skipped", [](CARD& c) { c.m_SpellEffect.effectType = EFFECT_DAMAGE; c.m_SpellEffect.damageAmt = 0; c.m_SpellTarget.opponent = true; c.m_IsXSpell = true; }, 10, false, true, 0, 0, -1},
        {"draw below nine cards", [](CARD& c) { c.m_SpellEffect.effectType = EFFECT_DRAWDISCARD; c.m_SpellEffect.drawAmt = 2; }, 20, false, true, 5, 1, -1},
        {"draw reaching nine cards", [](CARD& c) { c.m_SpellEffect.effectType = EFFECT_DRAWDISCARD; c.m_SpellEffect.drawAmt = 2; }, 20, false, true, 6, 0, -1},
        {"discard within the human's hand", [](CARD& c) { c.m_SpellEffect.effectType = EFFECT_DRAWDISCARD; c.m_SpellEffect.discardAmt = 2; }, 20, false, true, 0, 2, -1},
        {"discard beyond the human's hand", [](CARD& c) { c.m_SpellEffect.effectType = EFFECT_DRAWDISCARD; c.m_SpellEffect.discardAmt = 3; }, 20, false, true, 0, 0, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Clear();
        SetUp();
        SetMode(1);
        s_PastCombat = row.pastCombat;
        Cpu().m_Life = row.cpuLife;
        Human().m_Life = 5;
        CARD& card = Sorcery(EFFECT_NONE);
        row.shape(card);
        CardActor& sorcery = InHand(card, PLAYER_CPU);
        for (int i = 0; i < row.cpuHandFillers; ++i)
            InHand(Land(kRed), PLAYER_CPU);
        InHand(Creature(1, 1), PLAYER_HUMAN);
        InHand(Creature(1, 1), PLAYER_HUMAN);
        if (row.readyCreature)
            OnTable(Creature(1, 1, ManaCost(9, 0, 0, 0, 0, 0)), PLAYER_CPU);
        CpuLands(6);
        const Play play = Choose();
        Actor* const players[] = {nullptr, m_cpu, m_human};
        EXPECT_EQ(play.card, row.target != 0 ? &sorcery : nullptr);
        EXPECT_EQ(play.targetPlayer, players[row.target]);
        if (row.expectX >= 0) {
            EXPECT_EQ(sorcery.GetPaidMana().generic, row.expectX);
        }
    }
}

TEST_F(CpuPlayChoiceTest, DestroySorceries)
{
    SetMode(1);
    s_PastCombat = true;
    CARD& wrath = Sorcery(EFFECT_DESTROY);
    wrath.m_SpellEffect.targetIsGroup = true;
    CardActor& group = InHand(wrath, PLAYER_CPU);
    CpuLands(1);
    EXPECT_EQ(Choose().card, &group);

    // Land destruction aims at the colour the human has fewest of, red before black on a tie.
    Clear();
    SetUp();
    s_PastCombat = true;
    CARD& quake = Sorcery(EFFECT_DESTROY);
    quake.m_SpellEffect.needsTarget = true;
    quake.m_SpellTarget.type = TT_LAND;
    CardActor& landKiller = InHand(quake, PLAYER_CPU);
    OnTable(Land(kGreen), PLAYER_HUMAN);
    OnTable(Land(kGreen), PLAYER_HUMAN);
    CardActor& swamp = OnTable(Land(kBlack), PLAYER_HUMAN);
    UpdateHumanAvailableMana();
    CpuLands(1);
    Play play = Choose();
    EXPECT_EQ(play.card, &landKiller);
    EXPECT_EQ(play.targetCard, &swamp);

    // Creature destruction takes the big threat the CPU cannot block, passes over a harmless one.
    Clear();
    SetUp();
    s_PastCombat = true;
    CARD& terror = Sorcery(EFFECT_DESTROY);
    terror.m_SpellEffect.needsTarget = true;
    terror.m_SpellTarget.type = TT_CREATURE;
    terror.m_SpellTarget.owner = OWNER_EITHER;
    terror.m_SpellTarget.state = INPLAY;
    terror.m_SpellTarget.color = ManaCost(1, 1, 1, 1, 1, 1);
    CardActor& killer = InHand(terror, PLAYER_CPU);
    CardActor& smallOne = OnTable(Creature(1, 1), PLAYER_HUMAN);
    CpuLands(1);
    OnTable(Creature(1, 1, ManaCost(9, 0, 0, 0, 0, 0)), PLAYER_CPU);
    EXPECT_EQ(Choose().card, nullptr);
    smallOne.GetStats().flyBlock = true;
    play = Choose();
    EXPECT_EQ(play.card, &killer);
    EXPECT_EQ(play.targetCard, &smallOne);
}

TEST_F(CpuPlayChoiceTest, AurasFindTheirCreature)
{
    CARD& wings = Define(CT_ENCHANT, kRed);
    wings.m_SubType = ENCH_CREATURE;
    wings.m_Ability.effect.effectType = EFFECT_MODCREATURE;
    wings.m_Stats.flying = true;
    CardActor& aura = InHand(wings, PLAYER_CPU);
    s_PastCombat = true;
    OnTable(Creature(1, 4), PLAYER_CPU);  // too weak to fly with
    CardActor& strong = OnTable(Creature(3, 2), PLAYER_CPU);
    CpuLands(1);
    Play play = Choose();
    EXPECT_EQ(play.card, &aura);
    EXPECT_EQ(play.targetCard, &strong);

    // A pacifying aura goes on the human's hardest hitter.
    wings.m_EnchantIsOffensive = true;
    wings.m_Stats.flying = false;
    wings.m_Stats.cannotAttack = true;
    EXPECT_EQ(Choose().card, nullptr);
    CardActor& brute = OnTable(Creature(4, 1), PLAYER_HUMAN);
    play = Choose();
    EXPECT_EQ(play.targetCard, &brute);
}

} // namespace
