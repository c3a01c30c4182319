#include "cards/CardIds.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "lessons/CpuOnlineResponse.h"
#include "lessons/CpuOnlineTurn.h"
#include "rules/BoardQueries.h"
#include "rules/ManaPool.h"
#include "rules/TableSelection.h"
#include "tests/rules/RulesFixture.h"

#include <tuple>

namespace {

using rulestest::RulesTest;

const ManaCost kRed(0, 1, 0, 0, 0, 0);

class CpuOnlineResponseTest : public RulesTest {
protected:
    void SetUp() override
    {
        RulesTest::SetUp();
        SetMode(3);
        ResetPhysicalTurnState();
        ResetOnlineTurnState();
    }
    void TearDown() override
    {
        ResetPhysicalTurnState();
        ResetOnlineTurnState();
        RulesTest::TearDown();
    }
    void Restart()
    {
        TearDown();
        SetUp();
    }

public:
    void CpuTurn(int cpuState)
    {
        HandTurnTo(PLAYER_CPU);
        m_cpu->m_State = cpuState;
    }
    void HumanTurn(int humanState)
    {
        HandTurnTo(PLAYER_HUMAN);
        m_human->m_State = humanState;
    }
    void CpuLands(int count)
    {
        for (int i = 0; i < count; ++i)
            OnTable(Land(kRed), PLAYER_CPU);
        UpdateCpuAvailableMana();
    }
    CardActor& CpuInstant(int id, ManaCost cost = ManaCost())
    {
        CARD& card = Define(CT_INSTANT, cost);
        card.m_Id = id;
        return InHand(card, PLAYER_CPU);
    }
    CardActor& PumpCreature(ManaCost cost, int owner = PLAYER_CPU)
    {
        CARD& card = Creature(2, 2);
        card.m_Ability.costType = COSTTYPE_NOTAP;
        card.m_Ability.cost = cost;
        card.m_Ability.effect.effectType = EFFECT_PTMOD_MANAPUMP;
        card.m_Ability.effect.powerModAmt = 1;
        return OnTable(card, owner);
    }
    static int StackCount() { return GetSpellStack().GetCount(); }
};

// A hand-refilling instant the CPU casts whenever it is allowed to answer at all.
TEST_F(CpuOnlineResponseTest, GatesKeepTheCpuQuiet)
{
    struct Row {
        const char* name;
        void (*setup)(CpuOnlineResponseTest&);
        bool answers;
    };
    const Row rows[] = {
        {"CPU main phase answers", [](CpuOnlineResponseTest& t) { t.CpuTurn(5); }, true},
        {"human main phase answers", [](CpuOnlineResponseTest& t) { t.HumanTurn(5); }, true},
        {"CPU game start", [](CpuOnlineResponseTest& t) { t.CpuTurn(20); }, false},
        {"CPU new turn", [](CpuOnlineResponseTest& t) { t.CpuTurn(0); }, false},
        {"CPU untap", [](CpuOnlineResponseTest& t) { t.CpuTurn(1); }, false},
        {"CPU draw", [](CpuOnlineResponseTest& t) { t.CpuTurn(22); }, false},
        {"CPU end of turn, still open", [](CpuOnlineResponseTest& t) { t.CpuTurn(18); }, true},
        {"CPU end of turn, discard done",
         [](CpuOnlineResponseTest& t) {
             t.CpuTurn(18);
             s_CpuDiscardDone = true;
         },
         false},
        {"human draw", [](CpuOnlineResponseTest& t) { t.HumanTurn(22); }, false},
        {"human end of turn, discard done",
         [](CpuOnlineResponseTest& t) {
             t.HumanTurn(18);
             s_HumanEndOfTurn = true;
         },
         false},
        {"CPU attack declared, its combat",
         [](CpuOnlineResponseTest& t) {
             t.CpuTurn(7);
             GetPlayerState(PLAYER_CPU)->m_TurnFlag = true;
         },
         false},
        {"resolution paused",
         [](CpuOnlineResponseTest& t) {
             t.CpuTurn(5);
             GetSpellStack().m_ResolutionPaused = true;
         },
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        CardActor& draw = CpuInstant(CD_FENORTON);
        row.setup(*this);
        EXPECT_EQ(CpuOnlineRespond(), row.answers);
        EXPECT_EQ(StackCount(), row.answers ? 1 : 0);
        EXPECT_EQ(GetCpuOnlineActingCard(), row.answers ? &draw : nullptr);
    }
}

// In the CPU's attack it stays quiet while it declares and while the learner picks blockers; once the blocks are
// final it may pump its unblocked attacker.
TEST_F(CpuOnlineResponseTest, DuringItsAttackTheCpuAnswersOnceTheBlocksAreFinal)
{
    struct Row {
        const char* name;
        int combatStep;
        int humanBlockStep;
        bool answers;
    };
    const Row rows[] = {
        {"declaring", 0, 0, false},
        {"asking for the learner's answer to the attack", 2, 0, false},
        {"the learner chooses blockers", 3, 1, false},
        {"instant window after the learner's blocks", 3, 2, false},
        {"blocks final", 3, 3, true},
        {"blocks final, damage next", 5, 3, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        CpuTurn(7);
        GetPlayerState(PLAYER_CPU)->m_TurnFlag = true;
        SetCpuCombatStep(row.combatStep);
        s_HumanBlockStep = row.humanBlockStep;
        CardActor& attacker = PumpCreature(kRed);
        attacker.SetAttacking(true);
        CpuLands(2);
        EXPECT_EQ(CpuOnlineRespond(), row.answers);
        EXPECT_EQ(StackCount(), row.answers ? 1 : 0);
    }
    SetCpuCombatStep(0);
}

// Online the learner's end of turn is state 18: the CPU's rules for the learner's last moments apply while its
// end-of-turn prompt is up, and no longer once it was answered (discarding or not).
TEST_F(CpuOnlineResponseTest, TheLearnersEndOfTurnIsAnsweredOnlyWhileItsPromptIsUp)
{
    struct Moment {
        const char* name;
        bool promptHandled;
        int handCards;
    };
    const Moment moments[] = {{"prompt up", false, 7}, {"prompt answered", true, 7}, {"discarding", true, 9}};
    struct Source {
        const char* name;
        bool hosedmel;
    };
    const Source sources[] = {{"damage ability that may aim at the learner", false}, {"Hosedmel", true}};
    for (const Moment& moment : moments) {
        for (const Source& source : sources) {
            SCOPED_TRACE(testing::Message() << moment.name << ", " << source.name);
            Restart();
            CARD& def = Creature(1, 1);
            def.m_Ability.costType = COSTTYPE_NOTAP;
            if (source.hosedmel) {
                def.m_Id = CD_HOSEDMEL;
                def.m_Ability.effect.effectType = EFFECT_DRAWDISCARD;
            } else {
                def.m_Ability.effect.effectType = EFFECT_DAMAGE;
                def.m_Ability.effect.damageAmt = 1;
                def.m_Ability.effect.needsTarget = true;
                def.m_Ability.target.opponent = true;
            }
            OnTable(def, PLAYER_CPU);
            GetPlayerState(PLAYER_CPU)->m_LibraryCount = 30;
            GetPlayerState(PLAYER_CPU)->m_NextDrawIndex = 10;
            for (int i = 0; i < moment.handCards; ++i)
                InHand(Creature(1, 1)).SetInLibrary(false);
            HumanTurn(18);
            s_HumanEndOfTurn = moment.promptHandled;
            const bool answers = !moment.promptHandled;
            EXPECT_EQ(CpuOnlineRespond(), answers);
            ASSERT_EQ(StackCount(), answers ? 1 : 0);
            if (answers) {
                EXPECT_EQ(GetSpellStack().GetTopEntry()->targetPlayer, source.hosedmel ? m_cpu : m_human);
            }
        }
    }
}

TEST_F(CpuOnlineResponseTest, UnblockedAttackerPumpsOneLessThanItCanPay)
{
    // Lands that pay the pump 0..4 times in a row, and a free pump.
    for (const auto& [lands, pumps, free] :
         {std::tuple{0, 0, false}, {1, 0, false}, {2, 1, false}, {3, 2, false}, {4, 3, false}, {0, 1, true}}) {
        SCOPED_TRACE(testing::Message() << lands << " lands, free " << free);
        Restart();
        CpuTurn(7);
        CardActor& attacker = PumpCreature(free ? ManaCost() : kRed);
        attacker.SetAttacking(true);
        CpuLands(lands);
        EXPECT_EQ(CpuOnlineRespond(), pumps > 0);
        EXPECT_EQ(StackCount(), pumps);
        if (pumps == 0)
            continue;
        EXPECT_TRUE(IsOnlineResponseKeyUsed(&attacker));
        // The same source is not used again while the stack holds its pumps.
        CpuLands(3);
        EXPECT_FALSE(CpuOnlineRespond());
        EXPECT_EQ(StackCount(), pumps);
    }
}

// Stack damage that reaches the remaining toughness kills: the CPU pumps from equal damage on.
TEST_F(CpuOnlineResponseTest, ToughnessPumpAnswersStackDamageThatWouldKill)
{
    for (const auto& [damage, pumps] : {std::pair{1, 0}, {2, 1}, {3, 2}}) {
        SCOPED_TRACE(damage);
        Restart();
        HumanTurn(5);
        CardActor& creature = PumpCreature(kRed);
        CARD& card = *m_cards.back();
        card.m_Ability.effect.powerModAmt = 0;
        card.m_Ability.effect.toughModAmt = 1;
        CpuLands(3);
        CARD& shock = Define(CT_INSTANT, kRed);
        shock.m_SpellEffect.effectType = EFFECT_DAMAGE;
        shock.m_SpellEffect.needsTarget = true;
        shock.m_SpellEffect.damageAmt = damage;
        CardActor& spell = InHand(shock, PLAYER_HUMAN);
        GetSpellStack().CastSpell(&spell, &creature, nullptr, false, false);
        EXPECT_EQ(CpuOnlineRespond(), pumps > 0);
        EXPECT_EQ(StackCount(), 1 + pumps);
    }
}

TEST_F(CpuOnlineResponseTest, PumpOnTopAllowsOnlyPumpsAndNoInstant)
{
    CpuTurn(7);
    CardActor& attacker = PumpCreature(kRed);
    attacker.SetAttacking(true);
    CpuLands(3);
    CpuInstant(CD_FENORTON);
    ASSERT_TRUE(CpuOnlineRespond());
    ASSERT_EQ(GetSpellStack().GetTopCard(), &attacker);
    const int pumps = StackCount();
    // The pump is used up for this exchange; the instant must wait until the stack is empty.
    EXPECT_FALSE(CpuOnlineRespond());
    EXPECT_EQ(StackCount(), pumps);
    EXPECT_EQ(GetCpuOnlineActingCard(), nullptr);
}

TEST_F(CpuOnlineResponseTest, NesurgastWeighsAttackersAgainstLife)
{
    struct Row {
        int life;
        int attackers;
        bool casts;
    };
    // 3 * attackers / life >= 0.5; a life of 0 or below is never divided by.
    for (const Row row : {Row{12, 2, true}, Row{13, 2, false}, Row{6, 1, true}, Row{7, 1, false}, Row{0, 2, false},
                          Row{-3, 2, false}, Row{5, 0, false}}) {
        SCOPED_TRACE(testing::Message() << "life " << row.life << ", attackers " << row.attackers);
        Restart();
        HumanTurn(7);
        s_AttackStep = 2;
        for (int i = 0; i < row.attackers; ++i)
            OnTable(Creature(1, 1)).SetAttacking(true);
        Cpu().m_Life = row.life;
        Cpu().m_LossState = LOSS_NONE;
        CardActor& spell = CpuInstant(CD_NESURGAST);
        EXPECT_EQ(CpuOnlineRespond(), row.casts);
        if (row.casts) {
            EXPECT_EQ(spell.GetPaidMana().generic, row.attackers);
            ASSERT_NE(GetSpellStack().GetTopEntry(), nullptr);
            EXPECT_EQ(GetSpellStack().GetTopEntry()->targetPlayer, m_cpu);
        }
    }
}

TEST_F(CpuOnlineResponseTest, FalarsarSkipsAPowerlessAttackerInsteadOfDividing)
{
    for (const int power : {0, 2}) {
        SCOPED_TRACE(power);
        Restart();
        CpuTurn(7);
        s_HumanBlockStep = 0;
        OnTable(Creature(power, 3), PLAYER_CPU).SetAttacking(true);
        CardActor& blocker = OnTable(Creature(1, 1));
        Human().m_Life = 4;
        CpuInstant(CD_FALARSAR);
        const bool cast = CpuOnlineRespond();
        EXPECT_EQ(cast, power > 0);
        if (cast) {
            EXPECT_EQ(GetSpellStack().GetTopEntry()->targetCard, &blocker);
        }
    }
}

TEST_F(CpuOnlineResponseTest, GreumdreGivesUpALandOnlyWhenItActs)
{
    CpuTurn(5);
    CARD& def = Creature(3, 3);
    def.m_Id = CD_GREUMDRE;
    def.m_Ability.costType = COSTTYPE_NOTAP;
    def.m_Ability.effect.effectType = EFFECT_ADDFLYING;
    CardActor& greumdre = OnTable(def, PLAYER_CPU);
    OnTable(Creature(1, 1));  // a human creature that can act, none that blocks flyers
    CpuLands(7);
    auto lands = [] {
        int count = 0;
        for (const CardActor* c : GetCardActors())
            count += c->GetOwner() == PLAYER_CPU && c->IsLand() && c->IsNotLeaving() ? 1 : 0;
        return count;
    };
    ASSERT_EQ(lands(), 7);
    ASSERT_TRUE(CpuOnlineRespond());
    EXPECT_EQ(GetSpellStack().GetTopEntry()->targetCard, &greumdre);
    EXPECT_EQ(lands(), 6);
    // Its decision is used for this exchange: asked again it keeps its lands.
    EXPECT_FALSE(CpuOnlineRespond());
    EXPECT_EQ(lands(), 6);
}

// Abilities without a tap cost and mana for several uses: one human creature is answered by one CPU ability per
// exchange, however often the CPU is asked, and again once the exchange is over.
TEST_F(CpuOnlineResponseTest, AHumanCreatureIsAnsweredOncePerExchange)
{
    HumanTurn(18);
    CARD& tapper = Creature(1, 1);
    tapper.m_Ability.costType = COSTTYPE_NOTAP;
    tapper.m_Ability.cost = kRed;
    tapper.m_Ability.effect.effectType = EFFECT_TAP;
    tapper.m_Ability.effect.needsTarget = true;
    tapper.m_Ability.target.type = TT_CREATURE;
    tapper.m_Ability.target.owner = OWNER_OPPONENT;
    tapper.m_Ability.target.state = INPLAY;
    tapper.m_Ability.target.color = ManaCost(1, 1, 1, 1, 1, 1);
    CardActor& first = OnTable(tapper, PLAYER_CPU);
    CardActor& second = OnTable(tapper, PLAYER_CPU);
    CardActor& blocker = OnTable(Creature(2, 2));
    CpuLands(6);
    auto answers = [&blocker] {
        int count = 0;
        for (int i = 0; i < StackCount(); ++i)
            count += GetSpellStack().GetEntry(i)->targetCard == &blocker ? 1 : 0;
        return count;
    };
    ASSERT_TRUE(CpuOnlineRespond());
    EXPECT_EQ(GetSpellStack().GetTopCard(), &first);
    for (int call = 0; call < 4; ++call)
        EXPECT_FALSE(CpuOnlineRespond());
    EXPECT_EQ(answers(), 1);
    EXPECT_TRUE(IsOnlineResponseKeyUsed(&blocker));
    EXPECT_TRUE(IsOnlineResponseKeyUsed(&first));
    EXPECT_FALSE(IsOnlineResponseKeyUsed(&second));

    // The stack emptied: a new exchange may answer the creature again.
    GetSpellStack().Reset(0);
    EXPECT_TRUE(CpuOnlineRespond());
    EXPECT_EQ(answers(), 1);
}

TEST_F(CpuOnlineResponseTest, ActionableCardsAreOnlyTheHumansActionsUnderWay)
{
    CardActor& ability = OnTable(Creature(1, 1));
    CardActor& spell = InHand(Define(CT_INSTANT));
    CardActor& xCard = InHand(Define(CT_SORCERY));
    CardActor& cpuCard = InHand(Define(CT_INSTANT), PLAYER_CPU);
    InHand(Define(CT_INSTANT));  // a playable instant that nobody has started
    struct Case {
        CardActor *pendingAbility, *pendingSpell, *xCostCard;
        std::vector<CardActor*> actionable;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, {}},
        {&ability, nullptr, nullptr, {&ability}},
        {nullptr, &spell, &xCard, {&spell, &xCard}},
        {nullptr, &spell, &spell, {&spell}},
        {nullptr, &cpuCard, nullptr, {}},
    };
    for (const Case& c : cases) {
        TableSelection& selection = GetTableSelection();
        selection.pendingAbility = c.pendingAbility;
        selection.pendingSpell = c.pendingSpell;
        selection.xCostCard = c.xCostCard;
        BuildActionableCards();
        EXPECT_EQ(GetActionableCards(), c.actionable);
        EXPECT_EQ(ActionableCardsExist(), !c.actionable.empty());
    }
    ClearTableSelection();
    BuildActionableCards();
}

} // namespace
