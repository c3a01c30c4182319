// Whole online games with the advisor on: the scripted learner answers the advice boxes as a person would (OK on
// an explanation, the two modes' question, the field's own prompts for targets and payment), every game still
// ends, and the advice shown is counted by number so that advice which never shows stands out.
#include "tests/app/AppFixture.h"
#include "tests/app/OnlineBot.h"

#include "cards/CardActor.h"
#include "cards/TableReset.h"
#include "engine/scene/Actor.h"
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

} // namespace
