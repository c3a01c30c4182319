// Whole online games in the real frame loop on the headless backend with the build's data set: the scripted learner
// of the tests against the CPU's drivers, from the coin toss to the window that ends the game, in a window
// maximised on an 800x600 screen (the label gives the client and back-buffer sizes). Each iteration is one game,
// timed from its first frame to its last (start-up and loading left out).
//   OnlineGame_Drawn     every frame drawn and presented, as if the window were exposed each time; the drivers'
//                        behaviours (player, cpuplayer) with the CPU's online answers, the cards' behaviours and
//                        the camera's rules steps (stack prompt, census, actionable cards, selected card, mana
//                        clicks and counts) timed apart with the clock
//   OnlineGame_NotDrawn  the same game with the raster inactive: everything queued, nothing drawn
// Drawn minus NotDrawn is the drawing; the counters give each phase's milliseconds a game.
#include "app/Application.h"
#include "app/MainLoop.h"
#include "bench/ShippedGame.h"
#include "cards/CameraBehaviour.h"
#include "cards/CardBehaviour.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "gamestate/OnlineTurnState.h"
#include "lessons/PlayerBehaviours.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"
#include "tests/app/OnlineBot.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using Clock = std::chrono::steady_clock;

constexpr int MAX_FRAMES = 200000;
constexpr std::uint32_t FRAME_MS = 17;

bool PrepareOnce()
{
    return bench::PrepareShippedGame("tessel-online-bench");
}

// Time spent in each timed behaviour kind during one game.
enum Phase { PHASE_DRIVERS, PHASE_CARDS, PHASE_RULES, PHASE_COUNT };
Clock::duration s_Spent[PHASE_COUNT];

template <ActorBehaviour Real, Phase P>
void Timed(Actor* actor)
{
    const Clock::time_point start = Clock::now();
    Real(actor);
    s_Spent[P] += Clock::now() - start;
}

// The camera's rules steps, and the CPU's online answers it runs for the drivers, each through the clock.
using Step = void (*)();
constexpr int TIMED_STEP_COUNT = 7;
Step s_RealSteps[TIMED_STEP_COUNT];

template <int I, Phase P>
void TimedStep()
{
    const Clock::time_point start = Clock::now();
    s_RealSteps[I]();
    s_Spent[P] += Clock::now() - start;
}

void WrapCameraSteps()
{
    CameraSteps& steps = GetCameraSteps();
    Step* const slots[TIMED_STEP_COUNT] = {&steps.UpdateStackPrompt,   &steps.UpdateBoardCensus,
                                           &steps.BuildActionableCards, &steps.ProcessSelectedCard,
                                           &steps.HandleManaClick,     &steps.UpdateAvailableMana,
                                           &steps.CpuOnlineRespond};
    const Step timed[TIMED_STEP_COUNT] = {
        TimedStep<0, PHASE_RULES>, TimedStep<1, PHASE_RULES>, TimedStep<2, PHASE_RULES>,  TimedStep<3, PHASE_RULES>,
        TimedStep<4, PHASE_RULES>, TimedStep<5, PHASE_RULES>, TimedStep<6, PHASE_DRIVERS>};
    for (int i = 0; i < TIMED_STEP_COUNT; ++i) {
        if (*slots[i] != nullptr && *slots[i] != timed[i]) {
            s_RealSteps[i] = *slots[i];
            *slots[i] = timed[i];
        }
    }
}

// Every actor running one of the timed behaviours runs it through the clock instead.
void WrapBehaviours()
{
    WrapCameraSteps();
    for (int i = 0; i < GetActorCount(); ++i) {
        Actor* const actor = GetActorAt(i);
        if (actor == nullptr)
            continue;
        ActorBehaviour& b = actor->m_Behaviour;
        if (b == PlayerBehaviour)
            b = Timed<PlayerBehaviour, PHASE_DRIVERS>;
        else if (b == CpuPlayerBehaviour)
            b = Timed<CpuPlayerBehaviour, PHASE_DRIVERS>;
        else if (b == CardBehaviour)
            b = Timed<CardBehaviour, PHASE_CARDS>;
    }
}

struct GameResult {
    double seconds = 0.0;
    int frames = 0;
    int turns = 0;
    bool ended = false;
    bool humanLost = false;
    bool cpuLost = false;
};

using bench::TickOnce;

// One game from the seed: the mode is asked for, the scene loads, then frames run until the game's end window
// has sent the learner back to the menus.
GameResult PlayGame(unsigned seed, bool draw, bool timePhases)
{
    GameResult result;
    for (Clock::duration& spent : s_Spent)
        spent = {};
    SetChosenColours(static_cast<int>(seed % 5), static_cast<int>((seed + 1) % 5), static_cast<int>((seed + 2) % 5),
                     static_cast<int>((seed + 3) % 5), static_cast<int>((seed + 4) % 5));
    plat::SeedRand(seed);
    s_RequestedGameMode = 3;
    s_GameMode = -1;
    test::OnlineBot bot;
    // The scene load is start-up, not the game.
    for (int i = 0; i < 10 && s_GameMode != 3; ++i) {
        plat::headless::AdvanceTime(FRAME_MS);
        TickOnce();
    }
    Raster& raster = *GetRaster();
    const Clock::time_point start = Clock::now();
    for (int frame = 0; frame < MAX_FRAMES; ++frame) {
        if (s_RequestedGameMode != 3 || s_GameMode != 3) {
            result.ended = true;
            break;
        }
        result.humanLost = result.humanLost || GetPlayerState(0)->HasLost();
        result.cpuLost = result.cpuLost || GetPlayerState(1)->HasLost();
        // The count starts afresh once the hand is kept; before that it may still show the previous game's.
        if (s_GameBegun)
            result.turns = s_TurnNumber;
        if (timePhases)
            WrapBehaviours();
        bot.Step();
        plat::headless::AdvanceTime(FRAME_MS);
        if (draw)
            raster.Invalidate();
        else
            raster.SetActive(false);
        if (!TickOnce())
            break;
        ++result.frames;
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    raster.SetActive(true);
    return result;
}

void RunGames(benchmark::State& state, bool draw)
{
    if (!PrepareOnce()) {
        state.SkipWithError("the build's data set is missing");
        return;
    }
    const unsigned seed = static_cast<unsigned>(state.range(0));
    double frames = 0;
    double turns = 0;
    double spent[PHASE_COUNT] = {};
    int humanWins = 0;
    int games = 0;
    std::string sizes;
    for (auto _ : state) {
        plat::headless::Reset();
        bench::UseMaximisedScreen();
        GameResult result;
        bench::CallbackDriver driver;
        driver.body = [&] {
            sizes = bench::DrawnSizes();
            result = PlayGame(seed, draw, draw);
        };
        ApplicationOptions options;
        options.driver = &driver;
        RunApplication(options);
        if (!result.ended) {
            state.SkipWithError("the game did not end");
            return;
        }
        state.SetIterationTime(result.seconds);
        frames += result.frames;
        turns += result.turns;
        for (int p = 0; p < PHASE_COUNT; ++p)
            spent[p] += std::chrono::duration<double, std::milli>(s_Spent[p]).count();
        humanWins += result.cpuLost && !result.humanLost ? 1 : 0;
        ++games;
    }
    if (games == 0)
        return;
    state.SetLabel(sizes);
    state.counters["frames"] = frames / games;
    state.counters["turns"] = turns / games;
    state.counters["learner_wins"] = humanWins;
    if (draw) {
        state.counters["drivers_ms"] = spent[PHASE_DRIVERS] / games;
        state.counters["cards_ms"] = spent[PHASE_CARDS] / games;
        state.counters["rules_ms"] = spent[PHASE_RULES] / games;
    }
}

void BM_OnlineGame_Drawn(benchmark::State& state)
{
    RunGames(state, true);
}
BENCHMARK(BM_OnlineGame_Drawn)->Arg(3)->Arg(7)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OnlineGame_NotDrawn(benchmark::State& state)
{
    RunGames(state, false);
}
BENCHMARK(BM_OnlineGame_NotDrawn)->Arg(3)->Arg(7)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
