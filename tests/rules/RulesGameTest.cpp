#include "tests/rules/RulesGame.h"

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

} // namespace
