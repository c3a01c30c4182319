// Rules-level games: one whole game, and a thousand, with the share of a turn each part takes; on synthetic cards
// and on the card file the build compiles.
//
// Each benchmark restores everything its games play on before it plays, so that the order the benchmarks run in
// (definition order, --benchmark_enable_random_interleaving) changes nothing. Before any benchmark runs, start-up
// plays every game once on a freshly restored state; a game that then takes another number of turns in a
// benchmark makes it refuse to report.
#include "app/GameWiring.h"
#include "cards/CardDatabase.h"
#include "engine/core/LanguageManager.h"
#include "engine/scene/ScriptParser.h"
#include "tests/rules/RulesGame.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

enum CardSet { SYNTHETIC_CARDS, SHIPPED_CARDS, CARD_SET_COUNT };

constexpr std::uint32_t ONE_GAME_SEEDS = 100;
constexpr std::uint32_t THOUSAND = 1000;

struct GameSetup {
    int mode;
    std::uint32_t seed;
    int colourA;
    int colourB;
};

// One game a pass: an online lesson's, its seed going round the first hundred.
GameSetup OneGame(std::uint32_t index)
{
    return {4, 1 + index % ONE_GAME_SEEDS, 3, 4};
}

// The thousand: every mode and colour pair in turn.
GameSetup ThousandGame(std::uint32_t index)
{
    const std::uint32_t seed = index + 1;
    return {1 + static_cast<int>(seed % 4), seed, static_cast<int>(seed % 5), static_cast<int>((seed + 1) % 5)};
}

int Play(const GameSetup& setup, rulesgame::Timings* timings)
{
    rulesgame::Game game;
    game.timings = timings;
    game.Play(setup.mode, setup.seed, setup.colourA, setup.colourB);
    return game.turns;
}

// What a rules game plays on, as a fresh program has it: the game bound into the engine's start-up tables (the
// card actors and the players' behaviours come through them), English, the script commands and the card
// vocabulary, every card definition cleared and the card set defined, the rules state reset. False when the
// build has not laid out the card file.
bool RestoreGameState(CardSet set)
{
    BindGameToEngine();
    GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
    InitScriptCommands();
    BuildCardVocabulary();
    for (CARD& card : g_CardDefs)
        card = CARD();
    ResetRulesState();
    if (set == SYNTHETIC_CARDS) {
        rulesgame::DefineSyntheticCards();
        return true;
    }
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(TESSEL_GAME_DIR);
    const bool readable = plat::IsReadable(u"data_en\\cards_phys_u.cfg");
    if (readable)
        LoadCardDatabase();
    std::filesystem::current_path(before);
    return readable;
}

// The turns each game takes on a state restored before any benchmark ran.
struct ExpectedTurns {
    bool made = false;
    std::vector<int> one;
    std::vector<int> thousand;
};

ExpectedTurns s_Expected[CARD_SET_COUNT];

void MakeExpectedTurns(CardSet set)
{
    ExpectedTurns& expected = s_Expected[set];
    if (!RestoreGameState(set))
        return;
    for (std::uint32_t i = 0; i < ONE_GAME_SEEDS; ++i)
        expected.one.push_back(Play(OneGame(i), nullptr));
    for (std::uint32_t i = 0; i < THOUSAND; ++i)
        expected.thousand.push_back(Play(ThousandGame(i), nullptr));
    expected.made = true;
}

// Restores the card set's state for a benchmark; false (the benchmark skipped) when the card file is missing.
bool Prepare(benchmark::State& state, CardSet set)
{
    if (!s_Expected[set].made || !RestoreGameState(set)) {
        state.SkipWithError("the compiled card file is missing");
        return false;
    }
    return true;
}

// False, and the benchmark's report refused, when a game took other turns than it does on a restored state.
bool CheckTurns(benchmark::State& state, std::uint32_t index, int turns, int expected)
{
    if (turns == expected)
        return true;
    const std::string message = "game " + std::to_string(index) + " took " + std::to_string(turns) +
                                " turns, not the expected " + std::to_string(expected) +
                                ": the state it plays on was not restored";
    state.SkipWithError(message.c_str());
    return false;
}

void ReportShares(benchmark::State& state, const rulesgame::Timings& timings, double turnsAGame)
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
    state.counters["turns_a_game"] = turnsAGame;
}

void OneGames(benchmark::State& state, CardSet set)
{
    if (!Prepare(state, set))
        return;
    const std::vector<int>& expected = s_Expected[set].one;
    std::uint32_t index = 0;
    long turns = 0;
    for (auto _ : state) {
        const int played = Play(OneGame(index), nullptr);
        if (!CheckTurns(state, index, played, expected[index % ONE_GAME_SEEDS]))
            break;
        turns += played;
        ++index;
    }
    if (index > 0)
        state.counters["turns_a_game"] = static_cast<double>(turns) / index;
}

void ThousandGames(benchmark::State& state, CardSet set)
{
    if (!Prepare(state, set))
        return;
    const std::vector<int>& expected = s_Expected[set].thousand;
    rulesgame::Timings timings;
    long turns = 0;
    long games = 0;
    bool restored = true;
    for (auto _ : state) {
        for (std::uint32_t index = 0; index < THOUSAND && restored; ++index) {
            const int played = Play(ThousandGame(index), &timings);
            restored = CheckTurns(state, index, played, expected[index]);
            turns += played;
            ++games;
        }
        if (!restored)
            break;
    }
    if (!restored)
        return;
    ReportShares(state, timings, games > 0 ? static_cast<double>(turns) / games : 0.0);
}

void BM_OneRulesGame(benchmark::State& state)
{
    OneGames(state, SYNTHETIC_CARDS);
}
BENCHMARK(BM_OneRulesGame)->Unit(benchmark::kMicrosecond);

void BM_ThousandRulesGames(benchmark::State& state)
{
    ThousandGames(state, SYNTHETIC_CARDS);
}
BENCHMARK(BM_ThousandRulesGames)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_OneShippedCardGame(benchmark::State& state)
{
    OneGames(state, SHIPPED_CARDS);
}
BENCHMARK(BM_OneShippedCardGame)->Unit(benchmark::kMicrosecond);

void BM_ThousandShippedCardGames(benchmark::State& state)
{
    ThousandGames(state, SHIPPED_CARDS);
}
BENCHMARK(BM_ThousandShippedCardGames)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // As every program's start-up does first.
    BindGameToEngine();
    MakeExpectedTurns(SYNTHETIC_CARDS);
    MakeExpectedTurns(SHIPPED_CARDS);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
