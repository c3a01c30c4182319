// The fights a combat-damage step leaves for the lesson's result box: one result per blocked attacker with the
// damage on each side, the creatures hit, and cards that leave the scene taken out again.
#include "rules/CombatDamage.h"
#include "rules/CombatResults.h"
#include "tests/rules/RulesFixture.h"

namespace {

using rulestest::RulesTest;

class CombatResultsTest : public RulesTest {
protected:
    CardActor& Attacker(int power, int toughness, int owner)
    {
        CardActor& card = OnTable(Creature(power, toughness), owner);
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
    static void ResolveCombatDamage(int side)
    {
        AssignCombatDamage(side, false);
        GetSpellStack().PushCombatDamage(side, 1);
        GetSpellStack().m_State = STACK_RESOLVE;
        GetSpellStack().Resolve();
    }
};

TEST_F(CombatResultsTest, ThePhysicalStackQueuesOneResultPerBlockedAttacker)
{
    CardActor& gang = Attacker(4, 4, PLAYER_CPU);
    CardActor& small = Blocker(gang, 2, 2);
    CardActor& big = Blocker(gang, 3, 3);
    CardActor& free = Attacker(2, 2, PLAYER_CPU);
    ResolveCombatDamage(PLAYER_CPU);

    std::deque<CombatResult>& queue = GetCombatResultQueue();
    ASSERT_EQ(queue.size(), 1u) << "the unblocked attacker has no fight to tell";
    const CombatResult& result = queue.front();
    EXPECT_EQ(result.attacker, &gang);
    EXPECT_EQ(result.damageTaken, 5);
    ASSERT_EQ(result.blockers.size(), 2u);
    // The 3/3 is ordered first and takes 3; the 2/2 takes the rest.
    EXPECT_EQ(result.blockers[0].blocker, &big);
    EXPECT_EQ(result.blockers[0].damageTaken, 3);
    EXPECT_EQ(result.blockers[0].damageDealt, 3);
    EXPECT_EQ(result.blockers[1].blocker, &small);
    EXPECT_EQ(result.blockers[1].damageTaken, 1);
    EXPECT_EQ(GetCreaturesHitInCombat(PLAYER_CPU), std::vector<CardActor*>{&gang});
    EXPECT_EQ(GetCreaturesHitInCombat(PLAYER_HUMAN), (std::vector<CardActor*>{&big, &small}));
    EXPECT_EQ(Human().GetLife(), 18);
    (void)free;

    // A blocker that leaves the scene leaves its line; the attacker takes its whole result with it.
    ForgetCombatResultCard(&small);
    ASSERT_EQ(queue.front().blockers.size(), 1u);
    EXPECT_EQ(GetCreaturesHitInCombat(PLAYER_HUMAN), std::vector<CardActor*>{&big});
    ForgetCombatResultCard(&gang);
    EXPECT_TRUE(queue.empty());
    ForgetCombatResultCard(nullptr);
    EXPECT_TRUE(GetCreaturesHitInCombat(PLAYER_HUMAN).empty());
}

TEST_F(CombatResultsTest, TheOnlineStackAndANewGameLeaveNoResults)
{
    SetMode(3);
    CardActor& attacker = Attacker(2, 2, PLAYER_HUMAN);
    Blocker(attacker, 1, 1);
    ResolveCombatDamage(PLAYER_HUMAN);
    EXPECT_TRUE(GetCombatResultQueue().empty());

    SetMode(2);
    CardActor& second = Attacker(2, 2, PLAYER_HUMAN);
    Blocker(second, 1, 1);
    ResolveCombatDamage(PLAYER_HUMAN);
    EXPECT_EQ(GetCombatResultQueue().size(), 1u);
    ResetRulesState();
    EXPECT_TRUE(GetCombatResultQueue().empty());
    EXPECT_TRUE(GetCreaturesHitInCombat(PLAYER_CPU).empty());
}

} // namespace
