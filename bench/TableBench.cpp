// A full frame of the physical lesson's table on the headless backend with the build's data set: both hands,
// twenty permanents, a card hovered long enough for its zoom, game-log lines, the HUD, the phase bar and an arrow
// between two cards. Compare within one run: Table_Frame against Table_FrameNotDrawn (the same frame with the
// raster inactive, so everything is queued but nothing drawn): the difference is the raster's drawing of the
// frame's primitives, the rest is the table's own work. Table_CardBehaviours is the card behaviours' share.
#include "app/Application.h"
#include "app/MainLoop.h"
#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/CardBehaviour.h"
#include "cards/GameLog.h"
#include "cards/TableInput.h"
#include "cards/TableReset.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "lessons/TableFlow.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct TempRoot {
    fs::path path = fs::temp_directory_path() / ("tessel-table-bench-" + std::to_string(::getpid()));
    ~TempRoot()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

// A settings store and a runtime folder of the benchmark's own; a copy of the build's data set, since loading
// cards writes beside them.
bool PrepareOnce()
{
    static bool s_ready = false;
    static bool s_done = false;
    if (s_done)
        return s_ready;
    s_done = true;
    static const TempRoot s_root;
    const fs::path& root = s_root.path;
    fs::create_directories(root / "config");
    fs::create_directories(root / "runtime");
    ::setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
    plat::Init(plat::BackendKind::Headless);
    plat::SetConfigFolder((root / "config").string());
    const fs::path built = fs::path(plat::ExecutableFolder()) / ".." / "game";
    if (!fs::exists(built / "data_en" / "cards_phys_u.cfg"))
        return false;
    std::error_code error;
    fs::copy(built, root / "game", fs::copy_options::recursive, error);
    if (error)
        return false;
    plat::SetCurrentFolder((root / "game").string());
    s_ready = true;
    return true;
}

class CallbackDriver final : public MainLoopDriver {
public:
    std::function<void()> body;
    void BeforePass(int) override
    {
        if (!body)
            return;
        const std::function<void()> run = std::move(body);
        body = nullptr;
        run();
        plat::Event quit;
        quit.type = plat::EventType::Quit;
        plat::PostEvent(quit);
    }
    void AfterTick(int) override {}
    bool Wait() override { return false; }
};

void TickOnce()
{
    for (int i = 0; i < 100 && MainLoopPass() != LoopPass::Ticked; ++i) {
    }
}

void Ticks(int frames)
{
    for (int i = 0; i < frames; ++i) {
        plat::headless::AdvanceTime(16);
        TickOnce();
    }
}

CardActor* Deal(int id, int owner, bool held)
{
    CardActor* const card = CreateCardActor(id, owner);
    if (card == nullptr)
        return nullptr;
    card->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    card->SetHeld(held);
    card->SetInLibrary(false);
    card->m_DeckCardMarker = 0;
    card->m_DealMark = 0;
    card->SetTapState(held ? TAP_OFF_TABLE : TAP_READY);
    card->SetPlayedMark(held ? 0 : 1);
    return card;
}

// Five cards in each hand; four lands and six creatures of each side on the table. Returns the table's cards.
std::vector<CardActor*> SetUpTable()
{
    ResetTable(1);
    TickOnce();
    Ticks(30);
    SetChosenColours(COLOUR_GREEN, COLOUR_RED, COLOUR_BLUE, COLOUR_BLACK, COLOUR_WHITE);
    SetupDecks();
    SetupCpuDeck();
    std::vector<CardActor*> table;
    for (int owner = 0; owner < 2; ++owner) {
        std::vector<int> lands;
        std::vector<int> creatures;
        std::vector<int> others;
        for (const int id : GetPlayerState(owner)->m_Library) {
            if (id <= 0 || id >= CD_NUMBER_OF_CARD_DEFS)
                continue;
            const CARD& card = g_CardDefs[static_cast<std::size_t>(id)];
            (card.IsLand() ? lands : card.GetCardType() == CT_CREATURE ? creatures : others).push_back(id);
        }
        for (std::size_t i = 0; i < 5 && i < others.size(); ++i)
            Deal(others[i], owner, true);
        for (std::size_t i = 0; i < 4 && i < lands.size(); ++i)
            table.push_back(Deal(lands[i], owner, false));
        for (std::size_t i = 0; i < 6 && i < creatures.size(); ++i)
            table.push_back(Deal(creatures[i], owner, false));
    }
    for (int line = 0; line < 12; ++line)
        GameLog::Add(true, u"%0 casts a creature spell.", {line % 2 == 0 ? u"You" : u"The opponent"});
    Ticks(30);
    if (table.size() >= 2)
        GetTableFlow().actorLinks.push_back(ActorLink{table.front(), table.back(), 0, 0});
    // Rest the mouse on a creature until its zoom shows.
    if (!table.empty()) {
        const CardActor& hovered = *table.back();
        plat::Event move;
        move.type = plat::EventType::MouseMove;
        move.x = static_cast<int>(hovered.m_Position.x) + 20;
        move.y = static_cast<int>(hovered.m_Position.y) + 40;
        plat::headless::QueueEvent(move);
        Ticks(45);
    }
    return table;
}

void RunOnTable(benchmark::State& state, const std::function<void(const std::vector<CardActor*>&)>& measure)
{
    if (!PrepareOnce()) {
        state.SkipWithError("the build's data set is missing");
        return;
    }
    plat::headless::Reset();
    CallbackDriver driver;
    driver.body = [&] {
        const std::vector<CardActor*> table = SetUpTable();
        if (table.size() < 20 || GetTableInput().hoveredCard == nullptr) {
            state.SkipWithError("the table could not be set up");
            return;
        }
        measure(table);
    };
    ApplicationOptions options;
    options.driver = &driver;
    RunApplication(options);
}

void BM_Table_Frame(benchmark::State& state)
{
    RunOnTable(state, [&state](const std::vector<CardActor*>&) {
        Raster& raster = *GetRaster();
        const std::uint64_t before = raster.GetPrimitivesDrawn();
        std::int64_t frames = 0;
        for (auto _ : state) {
            plat::headless::AdvanceTime(16);
            raster.Invalidate();
            FrameTick();
            ++frames;
        }
        state.counters["zoom"] = GetTableInput().zoomShown ? 1.0 : 0.0;
        state.counters["primitives"] =
            static_cast<double>(raster.GetPrimitivesDrawn() - before) / static_cast<double>(frames > 0 ? frames : 1);
    });
}
BENCHMARK(BM_Table_Frame)->Unit(benchmark::kMicrosecond);

void BM_Table_FrameNotDrawn(benchmark::State& state)
{
    RunOnTable(state, [&state](const std::vector<CardActor*>&) {
        Raster& raster = *GetRaster();
        for (auto _ : state) {
            plat::headless::AdvanceTime(16);
            raster.SetActive(false);
            FrameTick();
        }
        raster.SetActive(true);
    });
}
BENCHMARK(BM_Table_FrameNotDrawn)->Unit(benchmark::kMicrosecond);

void BM_Table_CardBehaviours(benchmark::State& state)
{
    RunOnTable(state, [&state](const std::vector<CardActor*>&) {
        std::vector<Actor*> cards;
        for (int i = 0; i < GetActorCount(); ++i) {
            if (AsCardActor(GetActorAt(i)) != nullptr)
                cards.push_back(GetActorAt(i));
        }
        for (auto _ : state) {
            for (Actor* const card : cards)
                CardBehaviour(card);
        }
        state.counters["cards"] = static_cast<double>(cards.size());
    });
}
BENCHMARK(BM_Table_CardBehaviours)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
