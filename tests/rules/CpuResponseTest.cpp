#include "cards/CardIds.h"
#include "gamestate/PhysicalTurnState.h"
#include "lessons/LessonFlow.h"
#include "rules/CpuResponse.h"
#include "rules/ManaPool.h"
#include "tests/rules/RulesFixture.h"

namespace {

using rulestest::RulesTest;

const ManaCost kRed(0, 1, 0, 0, 0, 0);

class CpuResponseTest : public RulesTest {
protected:
    void SetUp() override
    {
        RulesTest::SetUp();
        SetMode(1);
        ResetPhysicalTurnState();
        SetCanPlayNowFlag(0);
    }

public:
    void TearDown() override
    {
        ResetPhysicalTurnState();
        RulesTest::TearDown();
    }

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
protected:
    void CpuLands(int count)
    {
        for (int i = 0; i < count; ++i)
            OnTable(Land(kRed), PLAYER_CPU);
        UpdateCpuAvailableMana();
    }
    static void TargetsAnyCreature(TargetSpec& target)
    {
        target.owner = OWNER_EITHER;
        target.state = INPLAY;
        target.color = ManaCost(1, 1, 1, 1, 1, 1);
        target.type = TT_CREATURE;
    }
    static int StackCount() { return GetSpellStack().GetCount(); }
};

TEST_F(CpuResponseTest, UnblockedAttackerPumpsOneLessThanPayableAboveTwo)
{
    for (const auto& [payable, pumps] : {std::pair{1, 1}, {2, 2}, {3, 2}, {4, 3}, {0, 0}}) {
        SCOPED_TRACE(payable);
        Clear();
        SetUp();
        CpuTurn(7);
        CARD& card = Creature(2, 2);
        card.m_Ability.costType = COSTTYPE_NOTAP;
        card.m_Ability.cost = kRed;
        card.m_Ability.effect.effectType = EFFECT_PTMOD_MANAPUMP;
        card.m_Ability.effect.powerModAmt = 1;
        CardActor& attacker = OnTable(card, PLAYER_CPU);
        attacker.SetAttacking(true);
        CpuLands(payable);
        EXPECT_EQ(CpuRespond(false), pumps > 0);
        EXPECT_EQ(StackCount(), pumps);
        if (pumps > 0) {
            EXPECT_EQ(GetCpuActingCard(), &attacker);
            EXPECT_EQ(GetCpuResponsePreview().card, &attacker);
            EXPECT_EQ(GetCpuResponsePreview().durationMs, CPU_RESPONSE_PREVIEW_MS);
            // The same decision is not taken twice in one exchange.
            CpuLands(2);
            EXPECT_FALSE(CpuRespond(false));
        }
    }
}

// A creature whose remaining toughness the stack's damage reaches dies: the CPU pumps it from equal damage on.
TEST_F(CpuResponseTest, ToughnessPumpAnswersStackDamageThatWouldKill)
{
    for (const auto& [damage, pumps] : {std::pair{1, 0}, {2, 1}, {3, 2}}) {
        SCOPED_TRACE(damage);
        Clear();
        SetUp();
        HumanTurn(5);
        CARD& card = Creature(1, 2);
        card.m_Ability.costType = COSTTYPE_NOTAP;
        card.m_Ability.cost = kRed;
        card.m_Ability.effect.effectType = EFFECT_PTMOD_MANAPUMP;
        card.m_Ability.effect.toughModAmt = 1;
        CardActor& creature = OnTable(card, PLAYER_CPU);
        CpuLands(3);
        CARD& shock = Define(CT_INSTANT, kRed);
        shock.m_SpellEffect.effectType = EFFECT_DAMAGE;
        shock.m_SpellEffect.needsTarget = true;
        shock.m_SpellEffect.damageAmt = damage;
        CardActor& spell = InHand(shock, PLAYER_HUMAN);
        GetSpellStack().CastSpell(&spell, &creature, nullptr, false, false);
        // The learner's spell leaves the learner free to play on; the CPU answers once that is over.
        SetCanPlayNowFlag(0);
        EXPECT_EQ(CpuRespond(false), pumps > 0);
        EXPECT_EQ(StackCount(), 1 + pumps);
    }
}

TEST_F(CpuResponseTest, GatesStopTheCpu)
{
    struct Row {
        const char* name;
        void (*setup)(CpuResponseTest&, CardActor& sorcery);
    };
    const Row rows[] = {
        {"CPU turn, a state it never answers in", [](CpuResponseTest& t, CardActor&) { t.CpuTurn(8); }},
        {"human turn, a state it never answers in", [](CpuResponseTest& t, CardActor&) { t.HumanTurn(3); }},
        {"the human may play now", [](CpuResponseTest& t, CardActor&) { t.CpuTurn(5); SetCanPlayNowFlag(1); }},
        {"resolution paused", [](CpuResponseTest& t, CardActor&) { t.CpuTurn(5); GetSpellStack().m_PausedWord = 1; }},
        {"its own sorcery on top",
         [](CpuResponseTest& t, CardActor& sorcery) {
             t.CpuTurn(5);
             GetSpellStack().CastSpell(&sorcery, nullptr, nullptr, false, false);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Clear();
        SetUp();
        // A damage ability that would otherwise finish the human at once.
        CARD& pinger = Creature(1, 1);
        pinger.m_Ability.costType = COSTTYPE_NOTAP;
        pinger.m_Ability.effect.effectType = EFFECT_DAMAGE;
        pinger.m_Ability.effect.damageAmt = 5;
        pinger.m_Ability.effect.needsTarget = true;
        pinger.m_Ability.target.opponent = true;
        OnTable(pinger, PLAYER_CPU);
        Cpu().m_Life = 3;
        CardActor& sorcery = InHand(Define(CT_SORCERY), PLAYER_CPU);
        row.setup(*this, sorcery);
        const int before = StackCount();
        EXPECT_FALSE(CpuRespond(false));
        EXPECT_EQ(StackCount(), before);
        GetSpellStack().m_PausedWord = 0;
        SetCanPlayNowFlag(0);
    }
}

TEST_F(CpuResponseTest, DamageAbilityAtTheHumanWhenTheCpuIsLow)
{
    for (const auto& [life, fires] : {std::pair{8, true}, {9, false}}) {
        SCOPED_TRACE(life);
        Clear();
        SetUp();
        CpuTurn(5);
        CARD& pinger = Creature(1, 1);
        pinger.m_Ability.costType = COSTTYPE_TAP;
        pinger.m_Ability.effect.effectType = EFFECT_DAMAGE;
        pinger.m_Ability.effect.damageAmt = 2;
        pinger.m_Ability.effect.needsTarget = true;
        pinger.m_Ability.target.opponent = true;
        CardActor& source = OnTable(pinger, PLAYER_CPU);
        Cpu().m_Life = life;
        EXPECT_EQ(CpuRespond(false), fires);
        if (fires) {
            EXPECT_EQ(GetSpellStack().GetTopEntry()->targetPlayer, m_human);
            EXPECT_EQ(source.GetTapState(), TAP_TAPPED);
        }
    }
    // A summoning-sick tapper is never used.
    Clear();
    SetUp();
    CpuTurn(5);
    CARD& pinger = Creature(1, 1);
    pinger.m_Ability.costType = COSTTYPE_TAP;
    pinger.m_Ability.effect.effectType = EFFECT_DAMAGE;
    pinger.m_Ability.effect.damageAmt = 2;
    pinger.m_Ability.effect.needsTarget = true;
    pinger.m_Ability.target.opponent = true;
    OnTable(pinger, PLAYER_CPU).SetTapState(TAP_NEW);
    Cpu().m_Life = 1;
    EXPECT_FALSE(CpuRespond(false));
}

TEST_F(CpuResponseTest, SacrificeSourcesLeavePlayAfterUse)
{
    for (const int costType : {COSTTYPE_SACRIFICE, COSTTYPE_TAPSAC}) {
        SCOPED_TRACE(costType);
        Clear();
        SetUp();
        HumanTurn(16);
        CARD& bomb = Define(CT_ARTIFACT);
        bomb.m_Ability.costType = costType;
        bomb.m_Ability.effect.effectType = EFFECT_DAMAGE;
        bomb.m_Ability.effect.damageAmt = 3;
        bomb.m_Ability.effect.needsTarget = true;
        TargetsAnyCreature(bomb.m_Ability.target);
        CardActor& source = OnTable(bomb, PLAYER_CPU);
        CardActor& victim = OnTable(Creature(2, 3), PLAYER_HUMAN);
        ASSERT_TRUE(CpuRespond(false));
        EXPECT_EQ(GetSpellStack().GetTopEntry()->targetCard, &victim);
        EXPECT_FALSE(source.IsNotLeaving());
        EXPECT_EQ(source.GetTapState() == TAP_TAPPED, costType == COSTTYPE_TAPSAC);
    }
}

TEST_F(CpuResponseTest, CountersOnlyWhatIsWorthIt)
{
    struct Row {
        const char* name;
        int power, toughness;
        bool humanCanPaySink;
        bool countered;
    };
    const Row rows[] = {
        {"printed power 3", 3, 3, false, true},
        {"plain 1/1", 1, 1, false, false},
        {"power 3, but the human pays the sink", 3, 3, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Clear();
        SetUp();
        HumanTurn(5);
        CARD& counter = Define(CT_INSTANT, kRed);
        counter.m_SpellEffect.effectType = EFFECT_COUNTER;
        counter.m_SpellEffect.needsTarget = true;
        counter.m_SpellEffect.counterManaSink = ManaCost(1, 0, 0, 0, 0, 0);
        counter.m_SpellTarget.type = TT_SPELL;
        counter.m_SpellTarget.owner = OWNER_EITHER;
        counter.m_SpellTarget.state = ON_STACK;
        counter.m_SpellTarget.color = ManaCost(1, 1, 1, 1, 1, 1);
        CardActor& instant = InHand(counter, PLAYER_CPU);
        CpuLands(1);
        if (row.humanCanPaySink)
            OnTable(Land(kRed), PLAYER_HUMAN);
        UpdateHumanAvailableMana();
        CardActor& spell = InHand(Creature(row.power, row.toughness), PLAYER_HUMAN);
        GetSpellStack().CastSpell(&spell, nullptr, nullptr, false, false);
        // Without the countdown flag the counter is not considered.
        EXPECT_FALSE(CpuRespond(false));
        EXPECT_EQ(CpuRespond(true), row.countered);
        if (row.countered) {
            EXPECT_EQ(GetSpellStack().GetTopCard(), &instant);
            EXPECT_EQ(GetSpellStack().GetTopEntry()->targetCard, &spell);
            EXPECT_EQ(GetCpuLastCastCard(), &instant);
        }
    }
}

TEST_F(CpuResponseTest, CrowdedHandThrowsDamageAtAKillableCreature)
{
    // A spell that may aim at the opponent is thrown without a target card of its own.
    for (const bool atOpponent : {false, true}) {
        Clear();
        SetUp();
        CpuTurn(16);
        CARD& shock = Define(CT_INSTANT, kRed);
        shock.m_SpellEffect.effectType = EFFECT_DAMAGE;
        shock.m_SpellEffect.damageAmt = 2;
        shock.m_SpellEffect.needsTarget = true;
        TargetsAnyCreature(shock.m_SpellTarget);
        shock.m_SpellTarget.opponent = atOpponent;
        CardActor& instant = InHand(shock, PLAYER_CPU);
        for (int i = 0; i < 7; ++i)
            InHand(Land(kRed), PLAYER_CPU);
        CpuLands(2);
        CardActor& doomed = OnTable(Creature(1, 2), PLAYER_HUMAN);
        CardActor& spared = OnTable(Creature(1, 1), PLAYER_HUMAN);
        // A removal card of the human's own already aimed at the tougher one (the walk starts there).
        CARD& removal = Define(CT_INSTANT);
        removal.m_Id = CD_KELOLVIN;
        CardActor& aimed = InHand(removal, PLAYER_HUMAN);
        GetSpellStack().CastSpell(&aimed, &doomed, nullptr, false, false);
        SetCanPlayNowFlag(0);
        ASSERT_TRUE(CpuRespond(false)) << atOpponent;
        EXPECT_EQ(GetSpellStack().GetTopCard(), &instant);
        EXPECT_EQ(GetSpellStack().GetTopEntry()->targetCard, atOpponent ? nullptr : &spared);
    }
}

} // namespace
