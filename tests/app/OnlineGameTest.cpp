// Online games in the real frame loop with the shipped data: the scripted learner against the CPU's drivers.
#include "tests/app/AppFixture.h"
#include "tests/app/OnlineBot.h"

#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "lessons/OnlineTurnState.h"
#include "lessons/PhysicalTurnState.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class OnlineGameTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        const fs::path game = TESSEL_GAME_DIR;
        const fs::path here = m_Game.Path();
        fs::copy(game / "data", here / "data", fs::copy_options::recursive);
        for (const char* const file : {"data_en/res_str_phys_u.txt", "data_en/cards_phys_u.cfg", "level03_u.cfg",
                                       "level04_u.cfg"})
            fs::copy_file(game / file, here / file, fs::copy_options::overwrite_existing);
    }
};

void TickOnce()
{
    plat::headless::AdvanceTime(17);
    for (int i = 0; i < 100; ++i) {
        if (MainLoopPass() == LoopPass::Ticked)
            return;
    }
    ADD_FAILURE() << "no frame was ticked";
}

// The bot answers the toss, keeps its hand and reaches its own turn, where it plays a land by clicking it.
TEST_F(OnlineGameTest, TheLearnerGetsPastTheTossAndTheOpeningToPlayALand)
{
    RunInside([] {
        SetChosenColours(0, 1, 2, 3, 4);
        plat::SeedRand(7);
        s_RequestedGameMode = 3;
        s_GameMode = -1;
        test::OnlineBot bot;
        bool tossSeen = false;
        int frame = 0;
        for (; frame < 900 && bot.LandsPlayed() == 0; ++frame) {
            bot.Step();
            TickOnce();
            const bool toss = FindActorByName(u"cointoss") != nullptr;
            tossSeen = tossSeen || toss;
            if (tossSeen && !toss) {
                ASSERT_NE(s_HumanTurn, s_CpuTurn) << "frame " << frame;
            }
        }
        EXPECT_TRUE(tossSeen);
        EXPECT_EQ(s_MulliganState, 1);
        EXPECT_EQ(bot.LandsPlayed(), 1);
        EXPECT_TRUE(s_HumanTurn);
    });
}

} // namespace
