#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "tests/rules/RulesFixture.h"

namespace {

using rulestest::RulesTest;

class CombatTest : public RulesTest {
protected:
    CardActor& Attacker(int power, int toughness, int owner, bool trample = false, bool firstStrike = false)
    {
        CARD& definition = Creature(power, toughness);
        definition.m_Stats.trample = trample;
        definition.m_Stats.firstStrike = firstStrike;
        CardActor& card = OnTable(definition, owner);
        card.SetAttacking(true);
        card.SetTapState(TAP_TAPPED);
        return card;
    }
    CardActor& Blocker(CardActor& attacker, int power, int toughness)
    {
        CardActor& card = OnTable(Creature(power, toughness), 1 - attacker.GetOwner());
        AssignBlocker(&attacker, &card);
        return card;
    }
};

TEST_F(CombatTest, UnblockedAttackerDealsInItsOwnStepOnly)
{
    Attacker(3, 3, PLAYER_HUMAN);
    EXPECT_FALSE(AssignCombatDamage(PLAYER_HUMAN, true));
    EXPECT_EQ(Cpu().m_DamageThisTurn, 0);
    EXPECT_TRUE(AssignCombatDamage(PLAYER_HUMAN, false));
    EXPECT_EQ(Cpu().m_DamageThisTurn, 3);
    DealCombatDamage(PLAYER_HUMAN);
    EXPECT_EQ(Cpu().GetLife(), 17);
    EXPECT_EQ(Cpu().m_DamageThisTurn, 0);
}

TEST_F(CombatTest, OneBlockerAndTrample)
{
    CardActor& attacker = Attacker(3, 3, PLAYER_HUMAN, true);
    CardActor& blocker = Blocker(attacker, 1, 1);
    EXPECT_TRUE(AssignCombatDamage(PLAYER_HUMAN, false));
    EXPECT_EQ(blocker.GetPendingDamage(), 3);
    EXPECT_EQ(attacker.GetPendingDamage(), 1);
    EXPECT_EQ(Cpu().m_DamageThisTurn, 2);
    ASSERT_EQ(GetCombatDamageRecordCount(), 1);
    EXPECT_EQ(GetCombatDamageRecords()[0].damageToPlayer, 2);
    DealCombatDamage(PLAYER_HUMAN);
    EXPECT_EQ(Cpu().GetLife(), 18);
    EXPECT_FALSE(blocker.IsNotLeaving());
    EXPECT_EQ(attacker.GetDamage(), 1);
}

TEST_F(CombatTest, SeveralBlockersAreDealtLethalFirstBySide)
{
    struct Case {
        int owner;
        int power;
        int big, small;      // blockers' toughness (power equal)
        int bigTakes, smallTakes;
    };
    const Case cases[] = {
        {PLAYER_CPU, 4, 3, 2, 3, 1},    // mark 0: the 3/3 first, the rest to the 2/2
        {PLAYER_CPU, 3, 4, 2, 1, 2},    // mark 1: the 2/2 dies, the rest back to the 4/4
        {PLAYER_HUMAN, 4, 3, 2, 3, 1},  // the human's attacker uses the same division
    };
    for (const Case& c : cases) {
        Clear();
        CardActor& attacker = Attacker(c.power, c.power, c.owner);
        CardActor& small = Blocker(attacker, c.small, c.small);
        CardActor& big = Blocker(attacker, c.big, c.big);
        EXPECT_TRUE(AssignCombatDamage(c.owner, false));
        EXPECT_EQ(big.GetPendingDamage(), c.bigTakes);
        EXPECT_EQ(small.GetPendingDamage(), c.smallTakes);
        EXPECT_EQ(GetPlayerState(1 - c.owner)->m_DamageThisTurn, 0);
        EXPECT_TRUE(GetCombatDamageRecords()[0].several);
    }
}

TEST_F(CombatTest, FirstStrikeSplitsTheSteps)
{
    CardActor& attacker = Attacker(2, 2, PLAYER_HUMAN, false, true);
    CardActor& blocker = Blocker(attacker, 3, 2);
    AssignCombatDamage(PLAYER_HUMAN, true);
    EXPECT_EQ(blocker.GetPendingDamage(), 2);
    EXPECT_EQ(attacker.GetPendingDamage(), 0);
    DealCombatDamage(PLAYER_HUMAN);
    EXPECT_FALSE(blocker.IsNotLeaving());
    AssignCombatDamage(PLAYER_HUMAN, false);
    EXPECT_EQ(attacker.GetPendingDamage(), 0);  // the dead blocker cannot act
    EndCombat();
    EXPECT_EQ(attacker.CountBlockers(), 0);
    EXPECT_FALSE(attacker.IsAttacking());
    EXPECT_EQ(blocker.GetBlockedAttacker(), nullptr);
}

TEST_F(CombatTest, WhoMayBlockWhom)
{
    CardActor& plain = OnTable(Creature(1, 1), PLAYER_CPU);
    CardActor& flyer = OnTable(Creature(1, 1), PLAYER_CPU);
    flyer.GetStats().flying = true;
    CardActor& reach = OnTable(Creature(1, 1), PLAYER_CPU);
    reach.GetStats().flyBlock = true;
    CardActor& black = OnTable(Creature(1, 1, ManaCost(0, 0, 0, 0, 1, 0)), PLAYER_CPU);
    CardActor& timid = OnTable(Creature(1, 1, ManaCost(0, 0, 0, 0, 1, 0)), PLAYER_CPU);
    timid.GetStats().hasCannotBlock = true;
    CardActor& tapped = OnTable(Creature(1, 1), PLAYER_CPU);
    tapped.SetTapState(TAP_TAPPED);
    struct Case {
        const CardActor* blocker;
        int bits;
        bool may;
    };
    const Case cases[] = {
        {&plain, COMBAT_PLAIN, true},           {&plain, COMBAT_FLYING, false},
        {&flyer, COMBAT_FLYING, true},          {&reach, COMBAT_FLYING, true},
        {&plain, COMBAT_FEAR, false},           {&black, COMBAT_FEAR, true},
        {&timid, COMBAT_PLAIN, false},          {&flyer, COMBAT_UNBLOCKABLE, false},
        {&flyer, COMBAT_FLYING | COMBAT_UNBLOCKABLE, true}, {&tapped, COMBAT_PLAIN, false},
        {nullptr, COMBAT_PLAIN, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CanBlockWith(c.blocker, c.bits), c.may) << c.bits;
    CardActor& attacker = Attacker(2, 2, PLAYER_HUMAN);
    attacker.GetStats().flying = true;
    EXPECT_EQ(GetCombatFlags(&attacker), COMBAT_FLYING);
    EXPECT_TRUE(CanPlayerBlockAttacker(PLAYER_CPU, &attacker));
    attacker.GetStats().isUnblockable = true;
    EXPECT_FALSE(CanPlayerBlockAttacker(PLAYER_CPU, &attacker));
}

TEST_F(CombatTest, PreventionAbsorbsCombatDamageQuietly)
{
    Attacker(3, 3, PLAYER_CPU);
    Human().m_PreventDamage = 5;
    AssignCombatDamage(PLAYER_CPU, false);
    DealCombatDamage(PLAYER_CPU);
    EXPECT_EQ(Human().GetLife(), 20);
    EXPECT_EQ(Human().m_PreventDamage, 2);
}

TEST_F(CombatTest, StaticBonusesOfGlobalEnchantments)
{
    CARD& anthem = Define(CT_ENCHANT);
    anthem.m_SpellEffect.effectType = EFFECT_ENCHANT;
    anthem.m_Ability.costType = COSTTYPE_NONE;
    anthem.m_Ability.effect.effectType = EFFECT_PTMOD_STATIC;
    anthem.m_Ability.effect.duration = DURATION_PERMANENT;
    anthem.m_Ability.effect.targetIsGroup = true;
    anthem.m_Ability.effect.powerModAmt = 1;
    anthem.m_Ability.effect.toughModAmt = 2;
    anthem.m_Ability.target.type = TT_CREATURE;
    anthem.m_Ability.target.owner = OWNER_EITHER;
    CardActor& mine = OnTable(Creature(2, 2));
    CardActor& theirs = OnTable(Creature(1, 1), PLAYER_CPU);
    OnTable(anthem);
    Human().m_PreventDamage = 3;
    ApplyStaticAbilities();
    EXPECT_EQ(Human().m_CreatureBonus.power, 1);
    EXPECT_EQ(Cpu().m_CreatureBonus.toughness, 2);
    EXPECT_EQ(mine.GetStats().power, 3);
    EXPECT_EQ(theirs.GetStats().toughness, 3);
    EXPECT_EQ(Human().m_PreventDamage, 3);  // kept until the hand-over
    ResetCombatDamage(true);
    EXPECT_EQ(Human().m_PreventDamage, 0);
}

} // namespace

namespace {

// Killed in the first-strike step, a creature leaves combat at once: in its graveyard it is off the table and
// marks nothing, and the regular step neither counts it nor deals damage by it.
TEST_F(CombatTest, ACreatureKilledByFirstStrikeLeavesCombat)
{
    SetMode(3);
    CardActor& attacker = Attacker(2, 2, PLAYER_HUMAN);
    CARD& striker = Creature(3, 3);
    striker.m_Stats.firstStrike = true;
    CardActor& blocker = OnTable(striker, PLAYER_CPU);
    AssignBlocker(&attacker, &blocker);
    AssignCombatDamage(PLAYER_HUMAN, true);
    GetSpellStack().PushCombatDamage(PLAYER_HUMAN, 2);
    GetSpellStack().m_State = STACK_RESOLVE;
    GetSpellStack().Resolve();
    ASSERT_TRUE(attacker.IsExitMoveForward());  // in the graveyard once the stack emptied
    EXPECT_EQ(attacker.GetTapState(), TAP_OFF_TABLE);
    EXPECT_FALSE(attacker.IsAttacking());
    EXPECT_FALSE(attacker.IsBlocked());
    EXPECT_EQ(attacker.CountBlockers(), 0);
    EXPECT_EQ(blocker.GetBlockedAttacker(), nullptr);
    EXPECT_EQ(CountAttackingCreatures(PLAYER_HUMAN), 0);
    EXPECT_FALSE(AssignCombatDamage(PLAYER_HUMAN, false));
    GetSpellStack().PushCombatDamage(PLAYER_HUMAN, 1);
    GetSpellStack().m_State = STACK_RESOLVE;
    GetSpellStack().Resolve();
    EXPECT_EQ(blocker.GetDamage(), 0);
    EXPECT_EQ(Cpu().GetLife(), 20);

    // A blocker killed first leaves its attacker blocked, with no link to a dead card.
    Clear();
    SetUp();
    CardActor& first = Attacker(3, 3, PLAYER_CPU, false, true);
    CardActor& victim = Blocker(first, 1, 1);
    AssignCombatDamage(PLAYER_CPU, true);
    DealCombatDamage(PLAYER_CPU);
    ASSERT_FALSE(victim.IsNotLeaving());
    EXPECT_EQ(victim.GetBlockedAttacker(), nullptr);
    EXPECT_EQ(first.CountBlockers(), 0);
    EXPECT_TRUE(first.IsBlocked());
    EXPECT_TRUE(first.IsAttacking());
    AssignCombatDamage(PLAYER_CPU, false);
    DealCombatDamage(PLAYER_CPU);
    EXPECT_EQ(Human().GetLife(), 20);
}

TEST_F(CombatTest, ALeavingAttackerReleasesItsBlockers)
{
    CardActor& attacker = OnTable(Creature(2, 2), PLAYER_HUMAN);
    attacker.SetAttacking(true);
    CardActor& first = OnTable(Creature(3, 3), PLAYER_CPU);
    CardActor& second = OnTable(Creature(1, 1), PLAYER_CPU);
    AssignBlocker(&attacker, &first);
    AssignBlocker(&attacker, &second);
    ASSERT_EQ(second.GetBlockedAttacker(), &attacker);
    EXPECT_TRUE(attacker.LeavePlay(LEAVE_DESTROY));
    EXPECT_EQ(attacker.CountBlockers(), 0);
    EXPECT_EQ(first.GetBlockedAttacker(), nullptr);
    EXPECT_EQ(second.GetBlockedAttacker(), nullptr);
}

} // namespace
