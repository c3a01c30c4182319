#include "tests/rules/RulesGame.h"

#include "gamestate/RulesLessonCalls.h"
#include "gamestate/TableLessonCalls.h"

#include "tests/TestSupport.h"
#include "tests/cards/CardTableFixture.h"

#include <gtest/gtest.h>

namespace {

class RulesGameTest : public ::testing::Test {
protected:
    void SetUp() override { rulesgame::DefineSyntheticCards(); }
    void TearDown() override
    {
        for (CARD& card : g_CardDefs)
            card = CARD();
        ResetRulesState();
    }
};

TEST_F(RulesGameTest, GamesEndAndKeepEveryInvariantInEveryMode)
{
    int games = 0;
    for (int mode = 1; mode <= 4; ++mode) {
        for (std::uint32_t seed = 1; seed <= 20; ++seed) {
            rulesgame::Game game;
            game.Play(mode, seed * 7919u + static_cast<std::uint32_t>(mode), static_cast<int>(seed % 5),
                      static_cast<int>((seed + 2) % 5));
            ++games;
            ASSERT_TRUE(game.faults.empty()) << "mode " << mode << " seed " << seed << ": " << game.faults.front();
            EXPECT_GT(game.turns, 0);
        }
    }
    EXPECT_EQ(games, 80);
}

// The rules alone: with no lesson calls filled nothing waits on a lesson, and a game of each mode still ends.
TEST_F(RulesGameTest, GamesEndWithoutTheLessons)
{
    const TableLessonCalls table = g_TableLessonCalls;
    const RulesLessonCalls rules = g_RulesLessonCalls;
    g_TableLessonCalls = {};
    g_RulesLessonCalls = {};
    for (int mode = 1; mode <= 4; ++mode) {
        rulesgame::Game game;
        game.Play(mode, 4242u + static_cast<std::uint32_t>(mode), 0, 2);
        EXPECT_TRUE(game.faults.empty()) << "mode " << mode << ": " << game.faults.front();
        EXPECT_GT(game.turns, 0) << "mode " << mode;
    }
    g_TableLessonCalls = table;
    g_RulesLessonCalls = rules;
}

TEST_F(RulesGameTest, CpuAgainstTheFixedPolicyOverEveryColourPair)
{
    int games = 0;
    int turns = 0;
    int longest = 0;
    int cpuWins = 0;
    int humanWins = 0;
    for (int mode = 1; mode <= 4; ++mode) {
        for (int a = 0; a < 5; ++a) {
            for (int b = 0; b < 5; ++b) {
                if (a == b)
                    continue;
                for (std::uint32_t seed = 1; seed <= 3; ++seed) {
                    rulesgame::Game game;
                    game.Play(mode, seed * 104729u + static_cast<std::uint32_t>(a * 5 + b), a, b);
                    ++games;
                    ASSERT_TRUE(game.faults.empty())
                        << "mode " << mode << " colours " << a << b << " seed " << seed << ": " << game.faults.front();
                    turns += game.turns;
                    longest = std::max(longest, game.turns);
                    cpuWins += game.humanLost ? 1 : 0;
                    humanWins += game.cpuLost ? 1 : 0;
                }
            }
        }
    }
    EXPECT_EQ(games, 240);
    // Both sides win some games: neither the CPU nor the fixed policy is inert.
    EXPECT_GT(cpuWins, 0);
    EXPECT_GT(humanWins, 0);
    RecordProperty("games", games);
    RecordProperty("averageTurns", turns / games);
    RecordProperty("longest", longest);
    RecordProperty("cpuWins", cpuWins);
    RecordProperty("humanWins", humanWins);
}

TEST_F(RulesGameTest, OneSeedReplaysByteForByte)
{
    for (int mode = 1; mode <= 4; ++mode) {
        rulesgame::Game first;
        first.Play(mode, 12345, 3, 4);
        const std::string a = rulesgame::Journal(first);
        rulesgame::Game second;
        second.Play(mode, 12345, 3, 4);
        EXPECT_EQ(a, rulesgame::Journal(second)) << "mode " << mode;
        EXPECT_FALSE(a.empty());
    }
}

// The same games on the card file the build compiles: spells, auras, abilities and X costs as they ship.
class ShippedCardGameTest : public cardtest::CardTableTest {
protected:
    void SetUp() override
    {
        CardTableTest::SetUp();
        const test::ScopedCurrentFolder folder(TESSEL_GAME_DIR);
        ASSERT_TRUE(plat::IsReadable(u"data_en\\cards_phys_u.cfg")) << "the build compiles the card file";
        LoadCardDatabase();
    }

    void TearDown() override
    {
        ResetRulesState();
        CardTableTest::TearDown();
    }
};

TEST_F(ShippedCardGameTest, WholeGamesKeepEveryInvariantOverEveryModeAndColourPair)
{
    int games = 0;
    int humanWins = 0;
    int cpuWins = 0;
    for (int mode = 1; mode <= 4; ++mode) {
        for (int a = 0; a < 5; ++a) {
            for (int b = 0; b < 5; ++b) {
                if (a == b)
                    continue;
                for (std::uint32_t seed = 1; seed <= 4; ++seed) {
                    rulesgame::Game game;
                    game.Play(mode, seed * 2654435761u + static_cast<std::uint32_t>(mode * 25 + a * 5 + b), a, b);
                    ++games;
                    ASSERT_TRUE(game.faults.empty())
                        << "mode " << mode << " colours " << a << b << " seed " << seed << ": " << game.faults.front();
                    EXPECT_TRUE(game.humanLost || game.cpuLost);
                    humanWins += game.cpuLost ? 1 : 0;
                    cpuWins += game.humanLost ? 1 : 0;
                }
            }
        }
    }
    EXPECT_EQ(games, 320);
    EXPECT_GT(humanWins, 0);
    EXPECT_GT(cpuWins, 0);
}

TEST_F(ShippedCardGameTest, OneSeedReplaysByteForByte)
{
    for (int mode = 1; mode <= 4; ++mode) {
        for (const std::uint32_t seed : {7u, 99991u}) {
            rulesgame::Game first;
            first.Play(mode, seed, 0, 2);
            rulesgame::Game second;
            second.Play(mode, seed, 0, 2);
            const std::string journal = rulesgame::Journal(first);
            EXPECT_EQ(journal, rulesgame::Journal(second)) << "mode " << mode << " seed " << seed;
            EXPECT_NE(journal.find(" casts "), std::string::npos) << "spells are played";
        }
    }
}

} // namespace
