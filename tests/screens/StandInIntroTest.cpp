// The stand-in intro's die roll of the advanced game: two faces from 1 to 6 that never tie, replayed by the seed.
#include "screens/StandInIntro.h"

#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(StandInIntroTest, TheDieRollNeverTiesAndReplaysBySeed)
{
    bool humanWon = false;
    bool cpuWon = false;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        plat::SeedRand(seed);
        const StandInDice dice = RollStandInDice();
        EXPECT_NE(dice.human, dice.cpu) << seed;
        EXPECT_GE(std::min(dice.human, dice.cpu), 1);
        EXPECT_LE(std::max(dice.human, dice.cpu), 6);
        humanWon = humanWon || dice.human > dice.cpu;
        cpuWon = cpuWon || dice.cpu > dice.human;
        plat::SeedRand(seed);
        const StandInDice again = RollStandInDice();
        EXPECT_EQ(again.human, dice.human);
        EXPECT_EQ(again.cpu, dice.cpu);
    }
    EXPECT_TRUE(humanWon && cpuWon) << "either side can win the roll";
}

} // namespace
