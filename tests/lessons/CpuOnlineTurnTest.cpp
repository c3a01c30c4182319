#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "lessons/CpuOnlineTurn.h"
#include "rules/BoardQueries.h"
#include "rules/ManaPool.h"
#include "tests/rules/RulesFixture.h"

#include <vector>

namespace {

using rulestest::RulesTest;

class CpuOnlineTurnTest : public RulesTest {
protected:
    void SetUp() override
    {
        RulesTest::SetUp();
        SetMode(3);
        ResetPhysicalTurnState();
        ResetOnlineTurnState();
        ResetCpuOnlineTurn();
    }
    void TearDown() override
    {
        ResetPhysicalTurnState();
        ResetOnlineTurnState();
        ResetCpuOnlineTurn();
        RulesTest::TearDown();
    }
    void Restart()
    {
        TearDown();
        SetUp();
    }
    static int CpuHandCount() { return CountCpuHandCards(); }
    // The human attacks with these creatures; the CPU has these blockers ready.
    std::vector<CardActor*> Attack(std::initializer_list<std::pair<int, int>> stats)
    {
        std::vector<CardActor*> attackers;
        for (const auto& [power, toughness] : stats) {
            CardActor& a = OnTable(Creature(power, toughness));
            a.SetAttacking(true);
            attackers.push_back(&a);
        }
        Human().SetAttackDeclared(true);
        HandTurnTo(PLAYER_HUMAN);
        s_CpuBlockStep = 1;
        return attackers;
    }
};

TEST_F(CpuOnlineTurnTest, EndOfTurnDiscardLeavesSevenCards)
{
    for (const auto& [held, seed] : {std::pair{9, 1u}, {9, 7u}, {8, 3u}, {7, 5u}, {3, 9u}, {15, 11u}}) {
        SCOPED_TRACE(testing::Message() << held << " cards, seed " << seed);
        Restart();
        plat::SeedRand(seed);
        for (int i = 0; i < held; ++i)
            InHand(Creature(1, 1), PLAYER_CPU).SetInLibrary(false);
        ASSERT_EQ(CpuHandCount(), held);
        EXPECT_EQ(DiscardCpuHandToSeven(), std::max(held - 7, 0));
        EXPECT_EQ(CpuHandCount(), std::min(held, 7));
    }
}

TEST_F(CpuOnlineTurnTest, BlocksFollowTheTestsInOrder)
{
    struct Row {
        const char* name;
        int life;
        std::initializer_list<std::pair<int, int>> attackers;
        std::pair<int, int> blocker;
        int blocked;  // index of the attacker the blocker takes, -1 none
    };
    const Row rows[] = {
        {"kills and survives", 20, {{2, 2}}, {3, 3}, 0},
        {"survives", 20, {{1, 1}}, {0, 3}, 0},
        {"trades", 20, {{2, 2}}, {2, 2}, 0},
        {"would only die: no block", 20, {{4, 4}}, {1, 1}, -1},
        {"lethal attack: chump", 3, {{4, 4}}, {1, 1}, 0},
        {"bigger attacker first, equal ones in table order", 20, {{1, 1}, {2, 2}, {2, 2}}, {3, 3}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Restart();
        Cpu().m_Life = row.life;
        CardActor& blocker = OnTable(Creature(row.blocker.first, row.blocker.second), PLAYER_CPU);
        const std::vector<CardActor*> attackers = Attack(row.attackers);
        ChooseCpuBlockers();
        EXPECT_EQ(s_CpuBlockStep, 2);
        EXPECT_EQ(blocker.GetBlockedAttacker(), row.blocked < 0 ? nullptr : attackers[row.blocked]);
    }
}

TEST_F(CpuOnlineTurnTest, EvasiveAttackersAreNotBlocked)
{
    for (const bool walkLand : {false, true}) {
        SCOPED_TRACE(walkLand);
        Restart();
        CardActor& blocker = OnTable(Creature(3, 3), PLAYER_CPU);
        CARD& land = Land(ManaCost(0, 1, 0, 0, 0, 0));
        if (walkLand)
            OnTable(land, PLAYER_CPU);
        CARD& walker = Creature(2, 2);
        walker.m_Stats.walk = ManaCost(0, 1, 0, 0, 0, 0);
        CARD& ghost = Creature(2, 2);
        ghost.m_Stats.isUnblockable = true;
        OnTable(ghost).SetAttacking(true);
        CardActor& w = OnTable(walker);
        w.SetAttacking(true);
        Attack({});
        ChooseCpuBlockers();
        EXPECT_EQ(blocker.GetBlockedAttacker(), walkLand ? nullptr : &w);
    }
}

TEST_F(CpuOnlineTurnTest, BlockingStepTwoEndsWhenNoAttackerIsLeft)
{
    for (const bool declared : {true, false}) {
        SCOPED_TRACE(declared);
        Restart();
        Human().SetAttackDeclared(declared);
        s_CpuBlockStep = 2;
        ChooseCpuBlockers();
        EXPECT_EQ(s_CpuBlockStep, declared ? 3 : 0);
    }
}

} // namespace

namespace {

TEST_F(CpuOnlineTurnTest, AQuietTurnRunsToTheHandOverAndDiscardsToSeven)
{
    plat::SeedRand(5);
    s_MulliganState = 1;
    m_cpu->m_Flags |= ACTOR_FLAG_FIRST_FRAME;
    CpuOnlineTurn(m_cpu);  // the first frame sets the CPU up
    EXPECT_EQ(m_cpu->GetState(), 0);
    EXPECT_EQ(Cpu().m_NextDrawIndex, 7);
    Cpu().m_LibraryCount = 40;
    for (int i = 0; i < 9; ++i)
        InHand(Creature(1, 1), PLAYER_CPU).SetInLibrary(false);
    HandTurnTo(PLAYER_CPU);
    s_CpuSkipNextDraw = true;
    const int turn = s_TurnNumber;
    int frames = 0;
    while (s_CpuTurn && frames < 1000) {
        CpuOnlineTurn(m_cpu);
        ++frames;
    }
    ASSERT_FALSE(s_CpuTurn) << "the turn never ended";
    EXPECT_TRUE(s_HumanTurn);
    EXPECT_EQ(m_cpu->GetState(), 0);
    EXPECT_EQ(s_TurnNumber, turn + 1);
    EXPECT_EQ(CpuHandCount(), 7);
    // The skipped draw took no card from the library.
    EXPECT_EQ(Cpu().m_NextDrawIndex, 7);
    EXPECT_FALSE(s_CpuSkipNextDraw);
}

// A second game in the same run counts its turns from the start and owes nothing from the first.
TEST_F(CpuOnlineTurnTest, TheFirstFrameStartsTheTurnCountAndThePaymentAfresh)
{
    s_TurnNumber = 16;
    GetPaymentState().paying = true;
    m_cpu->m_Flags |= ACTOR_FLAG_FIRST_FRAME;
    CpuOnlineTurn(m_cpu);
    EXPECT_EQ(s_TurnNumber, 0);
    EXPECT_FALSE(GetPaymentState().paying);
}

TEST_F(CpuOnlineTurnTest, DrawingFromAnEmptyLibraryLosesTheGame)
{
    s_MulliganState = 1;
    m_cpu->m_Flags |= ACTOR_FLAG_FIRST_FRAME;
    CpuOnlineTurn(m_cpu);
    Cpu().m_LibraryCount = 7;  // everything dealt
    s_CompletedTurns = 1;
    HandTurnTo(PLAYER_CPU);
    for (int frame = 0; frame < 200 && !Cpu().HasLost(); ++frame)
        CpuOnlineTurn(m_cpu);
    EXPECT_TRUE(Cpu().HasLost());
    EXPECT_TRUE(Cpu().m_DrewFromEmptyLibrary);
}

} // namespace
