// Whole online games with the advisor on: the scripted learner answers the advice boxes as a person would (OK on
// an explanation, the two modes' question, the field's own prompts for targets and payment), every game still
// ends, and the advice shown is counted by number so that advice which never shows stands out.
#include "tests/app/AppFixture.h"
#include "tests/app/OnlineBot.h"

#include "cards/CardActor.h"
#include "cards/TableReset.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "gui/Messagebox.h"
#include "engine/scene/FrameState.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "lessons/OnlineAdvisor.h"
#include "lessons/TableFlow.h"
#include "platform/Platform.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

// Both libraries are milled down to this many cards once the hands are kept: the game ends by decking at the
// latest in turn 2 x (LIBRARY_LEFT + 1) + 1.
constexpr int LIBRARY_LEFT = 6;
constexpr int FRAMES_PER_TURN = 1500;

class OnlineAdviceGamesTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level03_u.cfg", "level04_u.cfg"});
        SetPlayerActors(nullptr, nullptr);
        GetTableFlow() = TableFlowState();
    }
};

struct AdviceGame {
    bool ended = false;
    int frames = 0;
    int turns = 0;
    int answered = 0;
    std::map<int, int> shown;
};

void MillLibraries()
{
    for (const int side : {PLAYER_HUMAN, PLAYER_CPU}) {
        PlayerState& record = *GetPlayerState(side);
        while (record.m_LibraryCount - record.m_NextDrawIndex > LIBRARY_LEFT) {
            CardActor* const card =
                CreateCardActor(record.m_Library[static_cast<std::size_t>(record.m_NextDrawIndex)], side);
            ++record.m_NextDrawIndex;
            if (card != nullptr) {
                card->SetInLibrary(false);
                card->LeavePlay(LEAVE_NO_REGENERATION);
            }
        }
    }
}

AdviceGame PlayGame(int mode, int human, int cpu, unsigned seed)
{
    AdviceGame game;
    SetChosenColours(human, human, cpu, cpu, cpu);
    ResetTable(mode);
    plat::SeedRand(seed);
    test::OnlineBot bot;
    bool milled = false;
    int shownNumber = 0;
    const int bound = FRAMES_PER_TURN * (2 * (LIBRARY_LEFT + 1) + 3);
    for (int frame = 0; frame < bound; ++frame) {
        bot.Step();
        plat::headless::AdvanceTime(17);
        test::TickOnce();
        game.frames = frame + 1;
        if (!milled && s_GameBegun) {
            MillLibraries();
            milled = true;
        }
        // A box that comes up, or a new number in it, is one piece of advice shown.
        const int number = GetOnlineAdviceBox() != nullptr ? GetOnlineAdvice() : 0;
        if (number != 0 && number != shownNumber)
            ++game.shown[number];
        shownNumber = number;
        if (GetPlayerState(PLAYER_HUMAN)->HasLost() || GetPlayerState(PLAYER_CPU)->HasLost()) {
            game.ended = true;
            break;
        }
    }
    game.turns = s_TurnNumber;
    game.answered = bot.Answered(test::Prompt::Advice);
    return game;
}

std::string Table(const std::map<int, int>& shown)
{
    std::string text;
    for (const auto& [number, count] : shown)
        text += "  " + std::to_string(number) + ": " + std::to_string(count) + "\n";
    return text;
}

TEST_F(OnlineAdviceGamesTest, WholeGamesOfBothOnlineModesEndWithTheAdviceAnswered)
{
    struct Setup {
        int mode;
        int human;
        int cpu;
        unsigned seed;
    };
    const Setup setups[] = {{3, 1, 3, 7}, {3, 4, 0, 11}, {4, 1, 3, 7}, {4, 0, 2, 11}};
    std::map<int, int> totals[5];
    for (const Setup& setup : setups) {
        AdviceGame game;
        plat::headless::SetTime(0);
        RunInside([&] { game = PlayGame(setup.mode, setup.human, setup.cpu, setup.seed); });
        const std::string name = "mode " + std::to_string(setup.mode) + " seed " + std::to_string(setup.seed);
        EXPECT_TRUE(game.ended) << name << ": no end within " << game.frames << " frames, turn " << game.turns;
        for (const auto& [number, count] : game.shown) {
            totals[setup.mode][number] += count;
            // The advanced game explains abilities; besides them only the two modes' question and mana burn.
            if (setup.mode == 4)
                EXPECT_TRUE(number == 1001 || number == 1002 || number == 153 || number == 1010)
                    << name << ": advice " << number;
        }
        std::printf("%s: %d turns, %d frames, %d advice boxes answered with OK\n%s", name.c_str(), game.turns,
                    game.frames, game.answered, Table(game.shown).c_str());
    }
    EXPECT_GE(totals[3].size(), 5u) << "the basic game shows several kinds of advice";
    std::printf("advice shown by number, mode 3:\n%smode 4:\n%s", Table(totals[3]).c_str(), Table(totals[4]).c_str());
}

// The advice box lies inside the window at both table sizes while the first land, a payment and a block are
// advised; with TESSEL_SAVE_FRAMES set the frame of each is saved to be looked at.
struct TableSize {
    int width;
    int height;
};

class OnlineAdviceFrameTest : public OnlineAdviceGamesTest, public ::testing::WithParamInterface<TableSize> {
protected:
    void SetUp() override
    {
        OnlineAdviceGamesTest::SetUp();
        const TableSize& size = GetParam();
        plat::headless::SetScreenMetrics({size.width, size.height, size.width, size.height});
        SetSetting(u"winmax", 1);
    }
};

INSTANTIATE_TEST_SUITE_P(Sizes, OnlineAdviceFrameTest, ::testing::Values(TableSize{800, 600}, TableSize{1024, 768}),
                         [](const auto& info) { return std::to_string(info.param.width); });

TEST_P(OnlineAdviceFrameTest, TheAdviceBoxLiesInsideTheTable)
{
    const TableSize size = GetParam();
    RunInside([size] {
        SetChosenColours(1, 1, 3, 3, 3);
        ResetTable(3);
        plat::SeedRand(7);
        test::OnlineBot bot;
        struct Moment {
            const char* name;
            int first;
            int last;
            bool seen;
        };
        Moment moments[] = {{"first-land", 7, 7, false}, {"payment", 31, 36, false}, {"blocking", 58, 61, false}};
        const char* const folder = std::getenv("TESSEL_SAVE_FRAMES");
        for (int frame = 0; frame < 6000; ++frame) {
            bot.Step();
            plat::headless::AdvanceTime(17);
            test::TickOnce();
            const Messagebox* const box = GetOnlineAdviceBox();
            if (box == nullptr)
                continue;
            EXPECT_GE(box->GetLeft(), 0) << GetOnlineAdvice();
            EXPECT_GE(box->GetTop(), 0) << GetOnlineAdvice();
            EXPECT_LE(box->GetRight(), size.width) << GetOnlineAdvice();
            EXPECT_LE(box->GetBottom(), size.height) << GetOnlineAdvice();
            bool all = true;
            for (Moment& m : moments) {
                if (!m.seen && GetOnlineAdvice() >= m.first && GetOnlineAdvice() <= m.last) {
                    m.seen = true;
                    if (folder != nullptr) {
                        GetRaster()->Invalidate();
                        test::TickOnce();
                        plat::headless::SaveFrameBmp(plat::headless::LastFrame(),
                                                     std::string(folder) + "/advice-" + m.name + "-" +
                                                         std::to_string(size.width) + ".bmp");
                    }
                }
                all = all && m.seen;
            }
            if (all || GetPlayerState(PLAYER_HUMAN)->HasLost() || GetPlayerState(PLAYER_CPU)->HasLost())
                break;
        }
        for (const Moment& m : moments)
            EXPECT_TRUE(m.seen) << m.name;
    });
}

} // namespace
