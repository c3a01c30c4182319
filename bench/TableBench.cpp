// A full frame of the table on the headless backend with the build's data set, in a window maximised on an 800x600
// screen (the label gives the client and back-buffer sizes), in the physical lesson (mode 1, with an arrow between
// two cards) and the online one (mode 3, with the game log): both hands, twenty permanents, a card hovered long
// enough for its zoom, the HUD and the phase bar. Table_Frame is the whole frame;
// Table_Primitives draws the very list of primitives such a frame queued, alone on the raster; the summary printed
// at the end sets them against each other and splits the rest into the table's own work, the card behaviours, the
// queueing of the primitives, the present and the clear after it.
#include "bench/ShippedGame.h"
#include "tests/cards/DealtCard.h"
#include "app/Application.h"
#include "app/MainLoop.h"
#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/CardBehaviour.h"
#include "cards/CardWindows.h"
#include "cards/GameLog.h"
#include "cards/TableInput.h"
#include "cards/TableReset.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "lessons/TableFlow.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool PrepareOnce()
{
    return bench::PrepareShippedGame("tessel-table-bench");
}

using bench::TickOnce;

void Ticks(int frames)
{
    for (int i = 0; i < frames; ++i) {
        plat::headless::AdvanceTime(16);
        TickOnce();
    }
}

CardActor* Deal(int id, int owner, bool held)
{
    return test::DealCard(id, owner, held);
}

// Five cards in each hand; on the table, half the cards for each side, two in five of them lands and the rest
// creatures (other permanents when the library runs short). Returns the table's cards.
std::vector<CardActor*> SetUpTable(int mode, int cards = 20)
{
    ResetTable(mode);
    TickOnce();
    Ticks(30);
    SetChosenColours(COLOUR_GREEN, COLOUR_RED, COLOUR_BLUE, COLOUR_BLACK, COLOUR_WHITE);
    SetupDecks();
    SetupCpuDeck();
    std::vector<CardActor*> table;
    std::vector<CardActor*> hand;
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
            hand.push_back(Deal(others[i], owner, true));
        const std::size_t side = static_cast<std::size_t>(cards / 2);
        const std::size_t landCount = std::min(side * 2 / 5, lands.size());
        for (std::size_t i = 0; i < landCount; ++i)
            table.push_back(Deal(lands[i], owner, false));
        std::vector<int> rest(creatures);
        rest.insert(rest.end(), others.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(5, others.size())),
                    others.end());
        rest.insert(rest.end(), lands.begin() + static_cast<std::ptrdiff_t>(landCount), lands.end());
        for (std::size_t i = 0; i < side - landCount && i < rest.size(); ++i)
            table.push_back(Deal(rest[i], owner, false));
    }
    for (int line = 0; line < 12; ++line)
        GameLog::Add(true, u"%0 casts a creature spell.", {line % 2 == 0 ? u"You" : u"The opponent"});
    Ticks(30);
    if (table.size() >= 2)
        GetTableFlow().actorLinks.push_back(ActorLink{table.front(), table.back(), 0, 0});
    // Rest the mouse on a card until its zoom shows: the last table card that takes the hover, else a hand card.
    std::vector<CardActor*> candidates(table.rbegin(), table.rend());
    candidates.insert(candidates.end(), hand.begin(), hand.end());
    for (CardActor* const card : candidates) {
        // Follow the card until the hover takes: online table cards are still flying to their slots.
        for (int tries = 0; tries < 10 && GetTableInput().hoveredCard != card; ++tries) {
            plat::Event move;
            move.type = plat::EventType::MouseMove;
            move.x = static_cast<int>(card->m_Position.x) + 20;
            move.y = static_cast<int>(card->m_Position.y) + 40;
            plat::headless::QueueEvent(move);
            Ticks(3);
        }
        if (GetTableInput().hoveredCard != card)
            continue;
        Ticks(45);
        if (GetTableInput().hoveredCard != nullptr)
            break;
    }
    return table;
}

// What each lesson mode's frames are drawn at, for the summary.
std::map<int, std::string> s_Sizes;

// The lesson mode is the first argument; the screen's width (4:3) and the cards on the table may be given.
void RunOnTable(benchmark::State& state, const std::function<void(const std::vector<CardActor*>&)>& measure,
                int screenWidth = bench::SCREEN_WIDTH, int cards = 20)
{
    if (!PrepareOnce()) {
        state.SkipWithError("the build's data set is missing");
        return;
    }
    plat::headless::Reset();
    bench::UseMaximisedScreen(screenWidth, screenWidth * 3 / 4);
    bench::CallbackDriver driver;
    driver.body = [&] {
        const int mode = static_cast<int>(state.range(0));
        const std::vector<CardActor*> table = SetUpTable(mode, cards);
        if (table.size() < static_cast<std::size_t>(cards) || GetTableInput().hoveredCard == nullptr) {
            state.SkipWithError("the table could not be set up");
            return;
        }
        s_Sizes[mode] = bench::DrawnSizes();
        state.SetLabel(s_Sizes[mode]);
        measure(table);
    };
    ApplicationOptions options;
    options.driver = &driver;
    RunApplication(options);
}

void MeasureFrames(benchmark::State& state)
{
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
}

void BM_Table_Frame(benchmark::State& state)
{
    RunOnTable(state, [&state](const std::vector<CardActor*>&) { MeasureFrames(state); });
}
BENCHMARK(BM_Table_Frame)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_Table_FrameSized(benchmark::State& state)
{
    RunOnTable(
        state, [&state](const std::vector<CardActor*>&) { MeasureFrames(state); }, static_cast<int>(state.range(1)),
        static_cast<int>(state.range(2)));
}
// The same frame with 10 and 40 cards on the table at 800x600, and with 20 at 1024x768.
BENCHMARK(BM_Table_FrameSized)
    ->ArgNames({"mode", "screen", "cards"})
    ->Args({1, 800, 10})
    ->Args({1, 800, 40})
    ->Args({1, 1024, 20})
    ->Args({3, 800, 10})
    ->Args({3, 800, 40})
    ->Args({3, 1024, 20})
    ->Unit(benchmark::kMicrosecond);

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
BENCHMARK(BM_Table_FrameNotDrawn)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_Table_CardBehaviours(benchmark::State& state)
{
    RunOnTable(state, [&state](const std::vector<CardActor*>&) {
        std::vector<Actor*> cards;
        for (int i = 0; i < GetActorCount(); ++i) {
            if (AsCardActor(GetActorAt(i)) != nullptr)
                cards.push_back(GetActorAt(i));
        }
        Raster& raster = *GetRaster();
        for (auto _ : state) {
            // Held cards queue their drawing: a fresh queue each pass, or a full pool would make them free.
            raster.BeginFrame();
            for (Actor* const card : cards)
                CardBehaviour(card);
        }
        state.counters["cards"] = static_cast<double>(cards.size());
    });
}
BENCHMARK(BM_Table_CardBehaviours)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

// What one frame of the table queues, by kind: count and pixels covered (glyphs for texts).
struct Composition {
    int copies = 0;
    double copyPixels = 0;
    int stretched = 0;
    double stretchedPixels = 0;
    int fills = 0;
    double fillPixels = 0;
    int texts = 0;
    int glyphs = 0;
    int triangles = 0;
    double trianglePixels = 0;
};

// By lesson mode.
std::map<int, Composition> s_Compositions;

double ClippedArea(float x0, float y0, float x1, float y1, int width, int height)
{
    const float w = std::min(x1, static_cast<float>(width)) - std::max(x0, 0.0f);
    const float h = std::min(y1, static_cast<float>(height)) - std::max(y0, 0.0f);
    return w > 0 && h > 0 ? static_cast<double>(w) * h : 0.0;
}

Composition Describe(const std::vector<DrawPrimitive>& records, const Raster& raster)
{
    Composition out;
    const int width = raster.GetWidth();
    const int height = raster.GetHeight();
    for (const DrawPrimitive& p : records) {
        if ((p.flags & PRIM_TRIANGLE) != 0) {
            ++out.triangles;
            out.trianglePixels += std::abs((p.x1 - p.x0) * (p.y2 - p.y0) - (p.x2 - p.x0) * (p.y1 - p.y0)) / 2.0;
        } else if ((p.flags & PRIM_TEXTURE) != 0) {
            float x1 = p.x1;
            float y1 = p.y1;
            const bool stretch = (p.flags & PRIM_STRETCH) != 0;
            if (!stretch && p.source.IsValidSource()) {
                x1 = p.x0 + static_cast<float>(p.source.Width());
                y1 = p.y0 + static_cast<float>(p.source.Height());
            } else if (!stretch) {
                x1 = std::min(x1, p.x0 + static_cast<float>(raster.GetTextureWidth(p.item)));
                y1 = std::min(y1, p.y0 + static_cast<float>(raster.GetTextureHeight(p.item)));
            }
            (stretch ? out.stretched : out.copies) += 1;
            (stretch ? out.stretchedPixels : out.copyPixels) += ClippedArea(p.x0, p.y0, x1, y1, width, height);
        } else if ((p.flags & PRIM_TEXT) != 0) {
            ++out.texts;
            out.glyphs += p.textLength;
        } else if ((p.flags & PRIM_FILL) != 0) {
            ++out.fills;
            out.fillPixels += ClippedArea(p.x0, p.y0, p.x1, p.y1, width, height);
        }
    }
    return out;
}

// Queues the recorded primitives again through the raster's own submitters, in their drawn order.
void Resubmit(Raster& raster, const std::vector<DrawPrimitive>& records, std::u16string_view texts)
{
    raster.BeginFrame();
    const bool blending = raster.IsBlending();
    const bool keyed = raster.IsColorKeyed();
    const int textDepth = raster.GetTextDepth();
    const float step = 19000.0f / static_cast<float>(records.size() + 1);
    float z = 19500.0f;
    for (const DrawPrimitive& p : records) {
        z -= step;
        if ((p.flags & PRIM_TRIANGLE) != 0) {
            TriangleVertices v;
            v.x0 = p.x0, v.x1 = p.x1, v.x2 = p.x2;
            v.y0 = p.y0, v.y1 = p.y1, v.y2 = p.y2;
            v.z0 = p.w0 * 15.0f, v.z1 = p.w1 * 15.0f, v.z2 = p.w2 * 15.0f;
            if (p.texture >= 0 && p.textureWidth > 0 && p.textureHeight > 0) {
                const float w = static_cast<float>(p.textureWidth);
                const float h = static_cast<float>(p.textureHeight);
                v.u0 = p.u0 / w, v.u1 = p.u1 / w, v.u2 = p.u2 / w;
                v.v0 = p.v0 / h, v.v1 = p.v1 / h, v.v2 = p.v2 / h;
                v.texture = p.texture;
            }
            raster.SetRenderState((p.flags & PRIM_TRIANGLE_BLENDED) != 0 ? 5 : 6, 1);
            raster.SetRenderState((p.flags & PRIM_COLOR_KEY) != 0 ? 9 : 10, 1);
            raster.DrawTriangle(v);
        } else if ((p.flags & PRIM_TEXTURE) != 0) {
            raster.DrawTexture(p.item, p.x0, p.y0, p.x1, p.y1, z, p.flags & ~PRIM_TEXTURE, &p.source);
        } else if ((p.flags & PRIM_TEXT) != 0) {
            raster.SetDepth(static_cast<int>(z));
            raster.DrawText(texts.substr(static_cast<std::size_t>(p.item), static_cast<std::size_t>(p.textLength)),
                            RasterRect{static_cast<int>(p.x0), static_cast<int>(p.y0), static_cast<int>(p.x1),
                                       static_cast<int>(p.y1)},
                            static_cast<int>(p.w2), static_cast<int>(p.w0), static_cast<std::uint32_t>(p.w1),
                            (p.flags & PRIM_TEXT_OVERHANG) != 0);
        } else if ((p.flags & PRIM_FILL) != 0) {
            raster.FillRect(p.x0, p.y0, p.x1, p.y1, z, static_cast<std::uint16_t>(p.item));
        }
    }
    raster.SetRenderState(blending ? 5 : 6, 1);
    raster.SetRenderState(keyed ? 9 : 10, 1);
    raster.SetDepth(textDepth);
}

// One drawn frame of the table once the hover's popup shows, as in nearly every frame Table_Frame times; its
// queue stays in the raster until the next frame begins.
std::vector<DrawPrimitive> DrawOneFrame(Raster& raster)
{
    Ticks(60);
    plat::headless::AdvanceTime(16);
    raster.Invalidate();
    FrameTick();
    return raster.GetFramePrimitives();
}

void BM_Table_Primitives(benchmark::State& state)
{
    RunOnTable(state, [&state](const std::vector<CardActor*>&) {
        Raster& raster = *GetRaster();
        const std::vector<DrawPrimitive> records = DrawOneFrame(raster);
        s_Compositions[static_cast<int>(state.range(0))] = Describe(records, raster);
        for (auto _ : state) {
            raster.Invalidate();
            raster.EndFrame();
        }
        state.counters["primitives"] = static_cast<double>(records.size());
    });
}
BENCHMARK(BM_Table_Primitives)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_Table_Queueing(benchmark::State& state)
{
    RunOnTable(state, [&state](const std::vector<CardActor*>&) {
        Raster& raster = *GetRaster();
        const std::vector<DrawPrimitive> records = DrawOneFrame(raster);
        const std::u16string texts(raster.GetQueuedText());
        for (auto _ : state)
            Resubmit(raster, records, texts);
        state.counters["queued"] = static_cast<double>(raster.GetQueuedCount());
    });
}
BENCHMARK(BM_Table_Queueing)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

// Handing the frame to the headless window.
void BM_Table_Present(benchmark::State& state)
{
    RunOnTable(state, [&state](const std::vector<CardActor*>&) {
        Raster& raster = *GetRaster();
        DrawOneFrame(raster);
        raster.SetClearAfterPresent(false);
        for (auto _ : state) {
            raster.Invalidate();
            raster.Present(false);
        }
        raster.SetClearAfterPresent(true);
    });
}
BENCHMARK(BM_Table_Present)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

// The clear a game frame's present leaves to the next pixel written: the client's, when the frame's back-most
// primitive does not paint it all (an empty immediate fill stands for that first write).
void BM_Table_Clear(benchmark::State& state)
{
    RunOnTable(state, [&state](const std::vector<CardActor*>&) {
        Raster& raster = *GetRaster();
        for (auto _ : state) {
            raster.Present(true);
            raster.FillRectNow(0, 0, 0, 0, 0);
        }
    });
}
BENCHMARK(BM_Table_Clear)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's CPU time per iteration (the median of its repetitions) for the summary.
class SummaryReporter final : public benchmark::ConsoleReporter {
public:
    std::map<std::string, std::vector<double>> times;
    std::map<std::string, double> medians;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const std::string name = run.run_name.function_name + "/" + run.run_name.args;
            // With aggregates only, the repetitions arrive as their median.
            if (run.run_type == Run::RT_Iteration)
                times[name].push_back(run.GetAdjustedCPUTime());
            else if (run.aggregate_name == "median")
                medians[name] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Median(const std::string& name) const
    {
        if (const auto given = medians.find(name); given != medians.end())
            return given->second;
        const auto found = times.find(name);
        if (found == times.end() || found->second.empty())
            return 0.0;
        std::vector<double> values = found->second;
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }
};

void PrintSummary(const SummaryReporter& reporter, int mode)
{
    const std::string arg = "/" + std::to_string(mode);
    const double frame = reporter.Median("BM_Table_Frame" + arg);
    const double notDrawn = reporter.Median("BM_Table_FrameNotDrawn" + arg);
    const double primitives = reporter.Median("BM_Table_Primitives" + arg);
    const double queueing = reporter.Median("BM_Table_Queueing" + arg);
    const double present = reporter.Median("BM_Table_Present" + arg);
    const double behaviours = reporter.Median("BM_Table_CardBehaviours" + arg);
    if (frame <= 0 || primitives <= 0)
        return;
    const Composition& c = s_Compositions[mode];
    std::printf("\n== %s lesson (mode %d), %s maximised, CPU time per frame, medians\n",
                mode <= 2 ? "physical" : "online", mode, s_Sizes[mode].c_str());
    std::printf("primitives of one frame (pixels clipped to the screen):\n");
    std::printf("  %4d texture copies   %8.0f px\n", c.copies, c.copyPixels);
    std::printf("  %4d stretched copies %8.0f px\n", c.stretched, c.stretchedPixels);
    std::printf("  %4d fills            %8.0f px\n", c.fills, c.fillPixels);
    std::printf("  %4d text runs        %8d glyphs\n", c.texts, c.glyphs);
    std::printf("  %4d triangles        %8.0f px\n", c.triangles, c.trianglePixels);
    // The frame not drawn is the table's own work, the behaviours, the queueing and the clear; drawing it adds the
    // primitives and the present. What is left over is their meeting in the caches, and noise.
    const double clear = reporter.Median("BM_Table_Clear" + arg);
    const double logic = notDrawn - queueing - behaviours - clear;
    const double residue = frame - notDrawn - primitives - present;
    const auto line = [frame](const char* what, double us) {
        std::printf("  %-34s %8.1f us %6.1f %%\n", what, us, 100.0 * us / frame);
    };
    std::printf("\nframe / primitives alone: %.1f us / %.1f us = %.2f\n", frame, primitives, frame / primitives);
    std::printf("frame without the present / primitives alone: %.1f us / %.1f us = %.2f\n", frame - present,
                primitives, (frame - present) / primitives);
    line("frame", frame);
    line("primitives drawn alone", primitives);
    line("table logic", logic);
    line("card behaviours", behaviours);
    line("queueing the primitives", queueing);
    line("present (hand-off to the window)", present);
    line("client clear before the frame", clear);
    line("left over (caches, noise)", residue);
    std::printf("  (the frame not drawn: %.1f us)\n", notDrawn);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const int mode : {1, 3})
        PrintSummary(reporter, mode);
    benchmark::Shutdown();
    return 0;
}
