// Rules-level games: one whole game, and a thousand, with the share of a turn each part takes.
#include "tests/rules/RulesGame.h"

#include <benchmark/benchmark.h>

namespace {

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
BENCHMARK(BM_ThousandRulesGames)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
