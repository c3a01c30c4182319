// Whole physical games in the real frame loop with the shipped data: the scripted learner against the CPU's
// drivers, for every colour pair with two seeds (many more seeds when TESSEL_PHYSICAL_GAME_SEEDS gives a count).
// A game ends with the end-of-game box, with both players lost, or stands still; where it stands still is
// reported with the table of games. The same seed replays the same game.
#include "tests/app/AppFixture.h"
#include "tests/app/ScriptedLearner.h"

#include "cards/TableReset.h"
#include "engine/core/StringTable.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/AdviceState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gui/Messagebox.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/UntapDrawPrompts.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int MAX_FRAMES = 20000;
// A game in which nothing moves for this many frames stands still.
constexpr int STILL_FRAMES = 400;

struct GameResult {
    int mode = 0;
    int colours[2] = {0, 0};
    unsigned seed = 0;
    int frames = 0;
    int humanTurns = 0;
    int cpuTurns = 0;
    // "human", "cpu", "both lost" or "still".
    std::string end;
    std::string stillAt;
    std::map<int, int> boxes;
    std::vector<int> trace;
    // The learner's first draw-step prompt after a CPU start, by its text.
    std::u16string firstDrawPrompt;
};

class PhysicalGameTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level01_u.cfg", "level02_u.cfg"});
        plat::headless::SetScreenMetrics({800, 600, 800, 600});
    }
};

void Tick()
{
    plat::headless::AdvanceTime(17);
    test::TickOnce();
}

std::string StillAt()
{
    const Actor* const human = GetHumanPlayerActor();
    const Actor* const cpu = GetCpuPlayerActor();
    char text[160];
    std::snprintf(text, sizeof text, "%s turn, learner step %d, CPU step %d, box %d, drawn card in flight %d",
                  s_HumanTurn ? "learner's" : "CPU's", human != nullptr ? human->GetState() : -1,
                  cpu != nullptr ? cpu->GetState() : -1, IsLessonBoxShowing() ? GetLessonBox()->GetKindNumber() : -1,
                  GetTableFlow().cardDrawnByHand != nullptr ? 1 : 0);
    return text;
}

GameResult PlayGame(int mode, int first, int second, unsigned seed)
{
    GameResult result;
    result.mode = mode;
    result.colours[0] = first;
    result.colours[1] = second;
    result.seed = seed;
    Tick();
    std::vector<int> others;
    for (int colour = 0; colour < 5; ++colour)
        if (colour != first && colour != second)
            others.push_back(colour);
    SetChosenColours(first, second, others[0], others[1], others[2]);
    plat::SeedRand(seed);
    ResetTable(mode);
    test::ScriptedLearner learner;
    std::tuple<int, int, int, int, bool> last{};
    int still = 0;
    bool wasHumanTurn = false;
    for (int frame = 0; frame < MAX_FRAMES; ++frame) {
        learner.Step();
        Tick();
        result.frames = frame + 1;
        const Actor* const human = GetHumanPlayerActor();
        const Actor* const cpu = GetCpuPlayerActor();
        if (human == nullptr || cpu == nullptr)
            continue;
        if (s_HumanTurn && !wasHumanTurn)
            ++result.humanTurns;
        if (!s_HumanTurn && wasHumanTurn)
            ++result.cpuTurns;
        wasHumanTurn = s_HumanTurn;
        if (result.firstDrawPrompt.empty() && s_bCpuStarted == 1 && IsLessonBoxShowing() &&
            GetLessonBox()->GetKindNumber() == KIND_DRAW_STEP)
            result.firstDrawPrompt = GetLessonBox()->GetText();
        const PlayerState& h = *GetPlayerState(PLAYER_HUMAN);
        const PlayerState& c = *GetPlayerState(PLAYER_CPU);
        if (h.HasLost() && c.HasLost()) {
            result.end = "both lost";
            break;
        }
        if (IsLessonBoxShowing() && GetLessonBox()->GetKindNumber() == 18) {
            result.end = h.HasLost() ? "cpu" : "human";
            break;
        }
        const std::tuple<int, int, int, int, bool> now{human->GetState(), cpu->GetState(), h.GetLife(), c.GetLife(),
                                                        s_HumanTurn};
        if (now != last) {
            result.trace.push_back(human->GetState() * 100 + cpu->GetState());
            last = now;
            still = 0;
        } else if (++still >= STILL_FRAMES) {
            result.end = "still";
            result.stillAt = StillAt();
            break;
        }
    }
    if (result.end.empty()) {
        result.end = "still";
        result.stillAt = StillAt() + " (frame limit)";
    }
    result.boxes = learner.Answered();
    ResetTable(0);
    Tick();
    return result;
}

void PrintTable(const std::vector<GameResult>& results)
{
    int humanWins = 0;
    int cpuWins = 0;
    int bothLost = 0;
    int still = 0;
    long frames = 0;
    int turns = 0;
    const GameResult* longest = nullptr;
    std::map<int, int> boxes;
    std::map<std::string, int> stillPlaces;
    for (const GameResult& r : results) {
        humanWins += r.end == "human";
        cpuWins += r.end == "cpu";
        bothLost += r.end == "both lost";
        still += r.end == "still";
        frames += r.frames;
        turns += r.humanTurns + r.cpuTurns;
        if (longest == nullptr || r.frames > longest->frames)
            longest = &r;
        for (const auto& [kind, count] : r.boxes)
            boxes[kind] += count;
        if (r.end == "still")
            ++stillPlaces[r.stillAt];
    }
    std::printf("games %zu, turns %d, frames %ld, learner won %d, CPU won %d, both lost %d, stood still %d\n",
                results.size(), turns, frames, humanWins, cpuWins, bothLost, still);
    if (longest != nullptr)
        std::printf("longest: mode %d colours %d/%d seed %u, %d frames, %d turns\n", longest->mode,
                    longest->colours[0], longest->colours[1], longest->seed, longest->frames,
                    longest->humanTurns + longest->cpuTurns);
    std::printf("answered by kind (-1 balloon, -2 card dialog):");
    for (const auto& [kind, count] : boxes)
        std::printf(" %d:%d", kind, count);
    std::printf("\n");
    for (const auto& [place, count] : stillPlaces)
        std::printf("stood still %d times at: %s\n", count, place.c_str());
}

unsigned SeedCount()
{
    if (const char* const text = std::getenv("TESSEL_PHYSICAL_GAME_SEEDS")) {
        const long count = std::strtol(text, nullptr, 10);
        if (count > 0)
            return static_cast<unsigned>(count);
    }
    return 2;
}

TEST_F(PhysicalGameTest, TheScriptedLearnerPlaysEveryColourPairInBothModes)
{
    std::vector<GameResult> results;
    const unsigned seeds = SeedCount();
    RunInside([&results, seeds] {
        for (const int mode : {1, 2}) {
            for (int first = 0; first < 5; ++first) {
                for (int second = first + 1; second < 5; ++second) {
                    for (unsigned seed = 1; seed <= seeds; ++seed) {
                        SCOPED_TRACE(testing::Message() << "mode " << mode << " colours " << first << "/" << second
                                                        << " seed " << seed);
                        GameResult r = PlayGame(mode, first, second, seed);
                        // Every game gets past the deal into the turns, the CPU's first turn included.
                        EXPECT_GE(r.humanTurns + r.cpuTurns, 1);
                        EXPECT_LT(r.frames, MAX_FRAMES) << "a game ends or stands still within its frames";
                        if (mode == 1 && !r.firstDrawPrompt.empty()) {
                            const char16_t* const first = GetString(u"PHYSDLG_BASIC_DrawStep1");
                            EXPECT_EQ(r.firstDrawPrompt, std::u16string(first != nullptr ? first : u""))
                                << "turns 1-2 after a CPU start";
                        }
                        results.push_back(std::move(r));
                    }
                }
            }
        }
        // The same seed replays the same game.
        const GameResult again = PlayGame(1, 0, 1, 1);
        EXPECT_EQ(again.trace, results.front().trace);
        EXPECT_EQ(again.frames, results.front().frames);
    });
    PrintTable(results);
}

} // namespace
