// Rules-level games: one whole game, and a thousand, with the share of a turn each part takes; on synthetic cards
// and on the card file the build compiles.
#include "app/GameWiring.h"
#include "cards/CardDatabase.h"
#include "engine/core/LanguageManager.h"
#include "engine/scene/ScriptParser.h"
#include "tests/rules/RulesGame.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

// The compiled card file read through the real loader; false when the build has not laid it out.
bool LoadShippedCards()
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(TESSEL_GAME_DIR);
    // The card file's commands are the game's: the program wires them at start-up.
    BindGameToEngine();
    GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
    InitScriptCommands();
    BuildCardVocabulary();
    const bool readable = plat::IsReadable(u"data_en\\cards_phys_u.cfg");
    if (readable)
        LoadCardDatabase();
    std::filesystem::current_path(before);
    return readable;
}

void ReportShares(benchmark::State& state, const rulesgame::Timings& timings, int turns)
{
    const double total = timings.untap + timings.draw + timings.land + timings.cast + timings.combat + timings.burn +
                         timings.checks;
    if (total > 0) {
        state.counters["untap%"] = 100 * timings.untap / total;
        state.counters["draw%"] = 100 * timings.draw / total;
        state.counters["land%"] = 100 * timings.land / total;
        state.counters["cast%"] = 100 * timings.cast / total;
        state.counters["combat%"] = 100 * timings.combat / total;
        state.counters["burn%"] = 100 * timings.burn / total;
        state.counters["checks%"] = 100 * timings.checks / total;
        // Already inside land, cast and combat: the share of the game the CPU spends choosing.
        state.counters["cpu%"] = 100 * timings.cpu / total;
    }
    state.counters["turns"] = benchmark::Counter(turns, benchmark::Counter::kAvgIterations);
}

void ThousandGames(benchmark::State& state)
{
    rulesgame::Timings timings;
    int turns = 0;
    for (auto _ : state) {
        for (std::uint32_t seed = 1; seed <= 1000; ++seed) {
            rulesgame::Game game;
            game.timings = &timings;
            game.Play(1 + static_cast<int>(seed % 4), seed, static_cast<int>(seed % 5), static_cast<int>((seed + 1) % 5));
            turns += game.turns;
        }
    }
    ReportShares(state, timings, turns);
}

void BM_OneRulesGame(benchmark::State& state)
{
    rulesgame::DefineSyntheticCards();
    std::uint32_t seed = 1;
    for (auto _ : state) {
        rulesgame::Game game;
        game.Play(4, seed++, 3, 4);
        benchmark::DoNotOptimize(game.turns);
    }
}
BENCHMARK(BM_OneRulesGame)->Unit(benchmark::kMicrosecond);

void BM_ThousandRulesGames(benchmark::State& state)
{
    rulesgame::DefineSyntheticCards();
    ThousandGames(state);
}
BENCHMARK(BM_ThousandRulesGames)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_OneShippedCardGame(benchmark::State& state)
{
    if (!LoadShippedCards()) {
        state.SkipWithError("the compiled card file is missing");
        return;
    }
    std::uint32_t seed = 1;
    for (auto _ : state) {
        rulesgame::Game game;
        game.Play(4, seed++, 3, 4);
        benchmark::DoNotOptimize(game.turns);
    }
}
BENCHMARK(BM_OneShippedCardGame)->Unit(benchmark::kMicrosecond);

void BM_ThousandShippedCardGames(benchmark::State& state)
{
    if (!LoadShippedCards()) {
        state.SkipWithError("the compiled card file is missing");
        return;
    }
    ThousandGames(state);
}
BENCHMARK(BM_ThousandShippedCardGames)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
