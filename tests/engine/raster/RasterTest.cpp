// The raster's device, frame and draw queue on tiny back buffers: draw order, the pool limit, clipping, the
// colour key, stretching, tiling, fills, presenting, inactivity, shutdown and surface loss.
#include "tests/engine/raster/RasterTestSupport.h"

#include "engine/core/QuitRequest.h"
#include "engine/raster/RasterBlit.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <type_traits>

using namespace rastertest;

namespace {

constexpr int W = 8;
constexpr int H = 6;
constexpr std::uint16_t BACKGROUND = 0x1234;

// 1-5-5-5 source words for a w x h texture whose pixels are all distinct and non-zero (index + 1).
std::vector<std::uint16_t> CountingPixels(int w, int h)
{
    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(w) * h);
    std::iota(pixels.begin(), pixels.end(), std::uint16_t{1});
    return pixels;
}

class RasterFrameTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        m_raster = StartRaster(GetParam() ? Mode565(W, H) : Mode555(W, H));
        m_raster->ClearBackBuffer(BACKGROUND);
    }

    // The texel a 1-5-5-5 counting texture shows at (tx, ty), converted to the back buffer's format.
    std::uint16_t Texel(int tw, int tx, int ty) const
    {
        const std::uint16_t p = static_cast<std::uint16_t>(ty * tw + tx + 1);
        return GetParam() ? static_cast<std::uint16_t>((p & 0x1F) + (p & 0x7FE0) * 2) : p;
    }

    // Expected back buffer for a texture of tw x th drawn 1:1 with its top-left at (x0, y0).
    void ExpectBlit(int tw, int th, int x0, int y0)
    {
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                const bool inside = x >= x0 && x < x0 + tw && y >= y0 && y < y0 + th;
                const std::uint16_t expected = inside ? Texel(tw, x - x0, y - y0) : BACKGROUND;
                EXPECT_EQ(PixelAt(*m_raster, x, y), expected) << "at " << x << "," << y;
            }
        }
    }

    std::unique_ptr<Raster> m_raster;
};

INSTANTIATE_TEST_SUITE_P(Formats, RasterFrameTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Rgb565" : "Rgb555"; });

TEST_P(RasterFrameTest, HigherDepthsDrawFirstAndEqualDepthsInSubmissionOrder)
{
    m_raster->FillRect(0, 0, 4, 1, 10.0f, 1);      // in front
    m_raster->FillRect(0, 0, 8, 1, 3000.0f, 2);    // behind
    m_raster->FillRect(0, 1, 8, 2, 50.0f, 3);      // same depth: the later one wins
    m_raster->FillRect(4, 1, 8, 2, 50.0f, 4);
    m_raster->FillRect(0, 2, 8, 3, 20000.0f, 5);   // the deepest depth callers use is drawn, at the back
    m_raster->FillRect(0, 2, 2, 3, 19999.0f, 6);
    m_raster->FillRect(2, 2, 3, 3, 0.0f, 7);
    Render(*m_raster);
    const std::vector<std::uint16_t> expectedRows[] = {
        {1, 1, 1, 1, 2, 2, 2, 2}, {3, 3, 3, 3, 4, 4, 4, 4}, {6, 6, 7, 5, 5, 5, 5, 5}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < W; ++x) {
            EXPECT_EQ(PixelAt(*m_raster, x, y), expectedRows[y][x]) << x << "," << y;
        }
    }
}

TEST_P(RasterFrameTest, PoolTakes19991PrimitivesAFrame)
{
    for (int i = 0; i < MAX_QUEUED_PRIMITIVES; ++i) {
        m_raster->FillRect(0, 0, 1, 1, 5.0f, static_cast<std::uint16_t>(i + 1));
    }
    EXPECT_EQ(m_raster->GetQueuedCount(), MAX_QUEUED_PRIMITIVES);
    m_raster->FillRect(1, 0, 2, 1, 5.0f, 0x0F0F);
    EXPECT_EQ(m_raster->GetQueuedCount(), MAX_QUEUED_PRIMITIVES);
    Render(*m_raster);
    EXPECT_EQ(PixelAt(*m_raster, 0, 0), MAX_QUEUED_PRIMITIVES);
    EXPECT_EQ(PixelAt(*m_raster, 1, 0), BACKGROUND);

    // The next frame starts empty.
    m_raster->BeginFrame();
    m_raster->FillRect(1, 0, 2, 1, 5.0f, 0x0F0F);
    Render(*m_raster);
    EXPECT_EQ(PixelAt(*m_raster, 1, 0), 0x0F0F);
}

TEST_P(RasterFrameTest, TexturesAreClippedOnEveryEdge)
{
    const std::vector<std::uint16_t> pixels = CountingPixels(4, 4);
    const int tex = m_raster->CreateTexture(4, 4, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    struct Case {
        int x0;
        int y0;
    };
    for (const Case c : {Case{-1, -2}, Case{6, 4}, Case{-3, 3}, Case{5, -3}, Case{2, 1}}) {
        SCOPED_TRACE(testing::Message() << "at " << c.x0 << "," << c.y0);
        m_raster->ClearBackBuffer(BACKGROUND);
        m_raster->BeginFrame();
        m_raster->DrawTexture(tex, static_cast<float>(c.x0), static_cast<float>(c.y0), c.x0 + 4.0f, c.y0 + 4.0f,
                              1.0f, 0);
        Render(*m_raster);
        ExpectBlit(4, 4, c.x0, c.y0);
    }
}

TEST_P(RasterFrameTest, QuadLeftOfTheBufferShowsTheTextureFromTheColumnPastTheEdge)
{
    const std::vector<std::uint16_t> pixels = CountingPixels(16, 2);
    const int tex = m_raster->CreateTexture(16, 2, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    m_raster->DrawTexture(tex, -10.0f, 0.0f, 6.0f, 2.0f, 1.0f, 0);
    Render(*m_raster);
    EXPECT_EQ(PixelAt(*m_raster, 0, 0), Texel(16, 10, 0));
    EXPECT_EQ(PixelAt(*m_raster, 5, 1), Texel(16, 15, 1));
    EXPECT_EQ(PixelAt(*m_raster, 6, 0), BACKGROUND);
}

TEST_P(RasterFrameTest, ColourKeySkipsTexelZeroOnlyWhenAsked)
{
    const std::vector<std::uint16_t> pixels = {0, 0x7FFF, 0x001F, 0};
    const int tex = m_raster->CreateTexture(2, 2, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    m_raster->DrawTexture(tex, 0, 0, 2, 2, 1.0f, PRIM_COLOR_KEY);
    m_raster->DrawTexture(tex, 4, 0, 6, 2, 1.0f, 0);
    Render(*m_raster);
    const std::uint16_t white = GetParam() ? 0xFFDF : 0x7FFF;
    EXPECT_EQ(PixelAt(*m_raster, 0, 0), BACKGROUND);
    EXPECT_EQ(PixelAt(*m_raster, 1, 0), white);
    EXPECT_EQ(PixelAt(*m_raster, 0, 1), 0x001F);
    EXPECT_EQ(PixelAt(*m_raster, 1, 1), BACKGROUND);
    EXPECT_EQ(PixelAt(*m_raster, 4, 0), 0);
    EXPECT_EQ(PixelAt(*m_raster, 5, 1), 0);
}

TEST_P(RasterFrameTest, StretchSamplesNearestSourcePixelAlsoWhenClipped)
{
    const std::vector<std::uint16_t> pixels = CountingPixels(3, 2);
    const int tex = m_raster->CreateTexture(3, 2, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    struct Case {
        int x0, y0, x1, y1;
    };
    // The whole buffer; then a stretch reaching past the left and top edges: the visible part keeps its place.
    for (const Case c : {Case{0, 0, 8, 6}, Case{-5, -3, 7, 6}, Case{3, 2, 20, 13}}) {
        SCOPED_TRACE(testing::Message() << c.x0 << "," << c.y0 << "," << c.x1 << "," << c.y1);
        m_raster->ClearBackBuffer(BACKGROUND);
        m_raster->BeginFrame();
        m_raster->DrawTextureEx(tex, static_cast<float>(c.x0), static_cast<float>(c.y0), static_cast<float>(c.x1),
                                static_cast<float>(c.y1), 1.0f, 0);
        Render(*m_raster);
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                const bool inside = x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1;
                const int tx = (x - c.x0) * 3 / (c.x1 - c.x0);
                const int ty = (y - c.y0) * 2 / (c.y1 - c.y0);
                EXPECT_EQ(PixelAt(*m_raster, x, y), inside ? Texel(3, tx, ty) : BACKGROUND) << x << "," << y;
            }
        }
    }
}

TEST_P(RasterFrameTest, SourceRectangleWithoutStretchDrawsAtItsOwnSize)
{
    const std::vector<std::uint16_t> pixels = CountingPixels(4, 4);
    const int tex = m_raster->CreateTexture(4, 4, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    const RasterRect source{1, 1, 3, 4};
    m_raster->DrawTexture(tex, 2, 1, 8, 6, 1.0f, 0, &source);
    Render(*m_raster);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const bool inside = x >= 2 && x < 4 && y >= 1 && y < 4;
            EXPECT_EQ(PixelAt(*m_raster, x, y), inside ? Texel(4, x - 1, y) : BACKGROUND) << x << "," << y;
        }
    }
}

TEST_P(RasterFrameTest, TilesRepeatTheTextureAndCutTheLastOnes)
{
    const std::vector<std::uint16_t> pixels = CountingPixels(3, 4);
    const int tex = m_raster->CreateTexture(3, 4, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    m_raster->DrawTextureTiled(tex, 0, 0, 8, 6, 1.0f, 0);
    EXPECT_EQ(m_raster->GetQueuedCount(), 3 * 2);
    Render(*m_raster);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            EXPECT_EQ(PixelAt(*m_raster, x, y), Texel(3, x % 3, y % 4)) << x << "," << y;
        }
    }
}

TEST(RasterTiling, RectangleOf100By50With32By32TexturesQueuesEightTiles)
{
    auto raster = StartRaster(Mode565(8, 6));
    const std::vector<std::uint16_t> pixels(32 * 32, 1);
    const int tex = raster->CreateTexture(32, 32, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    raster->DrawTextureTiled(tex, 0, 0, 100, 50, 1.0f, 0);
    EXPECT_EQ(raster->GetQueuedCount(), 8);
    EXPECT_FALSE(raster->DrawTextureTiled(tex + 1, 0, 0, 100, 50, 1.0f, 0));
    EXPECT_FALSE(raster->DrawTexture(-1, 0, 0, 10, 10, 1.0f, 0));
    // A released texture tiles to nothing, as it draws nothing.
    raster->ReleaseTexture(tex);
    raster->DrawTextureTiled(tex, 0, 0, 100, 50, 1.0f, 0);
    EXPECT_EQ(raster->GetQueuedCount(), 8);
}

TEST_P(RasterFrameTest, FillsAndFrames)
{
    // A frame of thickness 1 as DrawFrameRect queues it: four bars.
    m_raster->FillRect(0, 0, 8, 1, 5.0f, 9);
    m_raster->FillRect(0, 1, 1, 5, 5.0f, 9);
    m_raster->FillRect(7, 1, 8, 5, 5.0f, 9);
    m_raster->FillRect(0, 5, 8, 6, 5.0f, 9);
    m_raster->FillRect(-100, 2, 100, 3, 100.0f, 4);  // behind the frame, clamped on both sides
    Render(*m_raster);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const bool border = x == 0 || y == 0 || x == W - 1 || y == H - 1;
            EXPECT_EQ(PixelAt(*m_raster, x, y), border ? 9 : (y == 2 ? 4 : BACKGROUND)) << x << "," << y;
        }
    }
    m_raster->FillRectNow(6, 4, 50, 50, 3);
    EXPECT_EQ(PixelAt(*m_raster, 7, 5), 3);
    EXPECT_EQ(PixelAt(*m_raster, 5, 5), 9);
}

TEST(RasterFrameRect, ThicknessGivesFourBarsOrOneFill)
{
    Raster* raster = GetRaster();
    raster->Shutdown();
    plat::headless::SetDesktopMode(Mode565(8, 6));
    ASSERT_EQ(raster->Init(8, 6, 1024.0f, 768.0f, u"", 20000.0f, 0, false), 1);
    raster->BeginFrame();
    DrawFrameRect(0, 0, 8, 6, 5.0f, 9, false, 2.0f);
    EXPECT_EQ(raster->GetQueuedCount(), 4);
    DrawFrameRect(0, 0, 8, 6, 5.0f, 9, false, 3.0f);
    EXPECT_EQ(raster->GetQueuedCount(), 5);
    DrawFrameRect(0, 0, 8, 6, 5.0f, 9, false, 0.0f);
    DrawFrameRect(0, 0, 8, 6, 5.0f, 9, true, 0.0f);
    EXPECT_EQ(raster->GetQueuedCount(), 6);
    raster->Shutdown();
}

TEST(RasterDepth, NegativeDepthAssertsAndIsDroppedNonFiniteGoesToTheBack)
{
    Raster* raster = GetRaster();
    raster->Shutdown();
    plat::headless::SetDesktopMode(Mode565(8, 6));
    ASSERT_EQ(raster->Init(8, 6, 1024.0f, 768.0f, u"", 20000.0f, 0, false), 1);
    raster->SetActive(true);
    raster->BeginFrame();
    EXPECT_NONFATAL_FAILURE(GetRaster()->FillRect(0, 0, 1, 1, -1.0f, 1), "depth >= 0");
    EXPECT_EQ(raster->GetQueuedCount(), 0);

    // Each non-finite depth goes to the back bucket: a later fill at the deepest depth callers use covers it.
    const float depths[] = {NAN, INFINITY, -INFINITY};
    for (int row = 0; row < 3; ++row) {
        const float y = static_cast<float>(row);
        raster->FillRect(0, y, 8, y + 1, depths[row], 3);
        raster->FillRect(0, y, 4, y + 1, 20000.0f, 2);
    }
    EXPECT_EQ(raster->GetQueuedCount(), 6);
    Render(*raster);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(PixelAt(*raster, 0, row), 2) << row;
        EXPECT_EQ(PixelAt(*raster, 7, row), 3) << row;
    }
    raster->Shutdown();
}

TEST(RasterCounters, PrimitivesDrawnCountsIn64Bits)
{
    Raster raster;
    static_assert(std::is_same_v<decltype(raster.GetPrimitivesDrawn()), std::uint64_t>);
    EXPECT_EQ(raster.GetPrimitivesDrawn(), 0u);
}

TEST_P(RasterFrameTest, PresentShowsTheClientPartInTheBufferFormat)
{
    m_raster->FillRect(1, 1, 3, 2, 1.0f, 0x0ABC);
    Render(*m_raster);
    const std::uint64_t before = plat::headless::LastFrame().serial;
    m_raster->Present(false);
    const plat::headless::Frame& frame = plat::headless::LastFrame();
    ASSERT_EQ(frame.serial, before + 1);
    EXPECT_EQ(frame.width, W);
    EXPECT_EQ(frame.height, H);
    EXPECT_EQ(frame.format, GetParam() ? plat::PixelFormat::Rgb565 : plat::PixelFormat::Rgb555);
    EXPECT_EQ(frame.pixels, Pixels(*m_raster));
    EXPECT_FALSE(m_raster->IsInvalidated());

    // Not invalidated: nothing is presented; a frame with no primitives presents the unchanged buffer.
    m_raster->Present(false);
    EXPECT_EQ(plat::headless::LastFrame().serial, before + 1);
    m_raster->BeginFrame();
    Render(*m_raster);
    m_raster->Present(true);
    EXPECT_EQ(plat::headless::LastFrame().serial, before + 2);
    EXPECT_EQ(plat::headless::LastFrame().pixels[1 * W + 1], 0x0ABC);
    m_raster->BeginFrame();
    Render(*m_raster);
    EXPECT_EQ(PixelAt(*m_raster, 1, 1), 0) << "Present(true) clears before the next frame is drawn";
}

TEST_P(RasterFrameTest, InactiveRasterDrawsAndPresentsNothingButStillClears)
{
    m_raster->SetActive(false);
    m_raster->FillRect(0, 0, 8, 6, 1.0f, 7);
    m_raster->EndFrame();
    EXPECT_EQ(PixelAt(*m_raster, 0, 0), BACKGROUND);
    const std::uint64_t before = plat::headless::LastFrame().serial;
    m_raster->Present(true);
    EXPECT_EQ(plat::headless::LastFrame().serial, before);
    // The clear waits for the next pixel written or presented.
    m_raster->Present(false);
    EXPECT_EQ(PixelAt(*m_raster, 0, 0), BACKGROUND);
    m_raster->SetActive(true);
    m_raster->Present(false);
    EXPECT_EQ(plat::headless::LastFrame().serial, before + 1);
    EXPECT_EQ(plat::headless::LastFrame().pixels[0], 0);
}

// After a clearing present on a 6x4 client of an 8x6 buffer: the next frame starts from a cleared client (the
// buffer outside it untouched), unless its back-most primitive paints the whole client; immediate drawing clears
// it first too.
TEST(RasterPendingClear, TheNextFrameClearsOnlyTheClientUnlessItsBackMostPrimitivePaintsAllOfIt)
{
    constexpr int CW = 6;
    constexpr int CH = 4;
    constexpr std::uint16_t PAINT = 0x0007;
    enum class Back { None, Fill, FillShort, Copy, CopySmall, Keyed, Stretch, StretchFromSource, FillNow };
    struct Case {
        Back back;
        bool paintsClient;
        int x;  // a client pixel the back-most primitive leaves, when it does not paint them all
        int y;
    };
    const Case cases[] = {
        {Back::None, false, 4, 2},     {Back::Fill, true, 0, 0},     {Back::FillShort, false, 5, 0},
        {Back::Copy, true, 0, 0},      {Back::CopySmall, false, 4, 2}, {Back::Keyed, false, 1, 1},
        {Back::Stretch, true, 0, 0},   {Back::StretchFromSource, true, 0, 0}, {Back::FillNow, false, 4, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.back));
        auto raster = StartRaster(Mode565(W, H));
        plat::WindowDesc desc;
        desc.width = CW;
        desc.height = CH;
        plat::CreateMainWindow(desc);
        // An opaque 8x6 texture of one colour, and one with a transparent texel at (1, 1).
        std::vector<std::uint16_t> opaque(W * H, PAINT);
        std::vector<std::uint16_t> holed = opaque;
        holed[1 * W + 1] = 0;
        const int solid = raster->CreateTexture(W, H, opaque.data(), 16, TEXTURE_KIND_SURFACE);
        const int keyed = raster->CreateTexture(W, H, holed.data(), 16, TEXTURE_KIND_SURFACE);
        const int tiny = raster->CreateTexture(2, 2, opaque.data(), 16, TEXTURE_KIND_SURFACE);
        raster->ClearBackBuffer(BACKGROUND);
        raster->Invalidate();
        raster->Present(true);

        raster->BeginFrame();
        const RasterRect corner{0, 0, 1, 1};
        switch (c.back) {
        case Back::None:
            break;
        case Back::Fill:
            raster->FillRect(-2, -2, CW, CH, 100.0f, PAINT);
            break;
        case Back::FillShort:
            raster->FillRect(0, 0, CW - 1, CH, 100.0f, PAINT);
            break;
        case Back::Copy:
            raster->DrawTexture(solid, -1, 0, W, H, 100.0f, 0);
            break;
        case Back::CopySmall:
            raster->DrawTexture(tiny, 0, 0, CW, CH, 100.0f, 0);
            break;
        case Back::Keyed:
            raster->DrawTexture(keyed, 0, 0, CW, CH, 100.0f, PRIM_COLOR_KEY);
            break;
        case Back::Stretch:
            raster->DrawTextureEx(tiny, 0, 0, CW, CH, 100.0f, 0);
            break;
        case Back::StretchFromSource:
            raster->DrawTextureEx(solid, 0, 0, CW, CH, 100.0f, 0, &corner);
            break;
        case Back::FillNow:
            raster->FillRectNow(0, 0, 1, 1, PAINT);
            break;
        }
        // A fill in front, so that the back-most primitive is never the only one.
        raster->FillRect(0, CH - 1, 1, CH, 1.0f, PAINT);
        Render(*raster);
        EXPECT_EQ(PixelAt(*raster, W - 1, H - 1), BACKGROUND) << "outside the client";
        EXPECT_EQ(PixelAt(*raster, 0, CH - 1), PAINT);
        if (c.paintsClient) {
            for (int y = 0; y < CH; ++y)
                for (int x = 0; x < CW; ++x)
                    EXPECT_EQ(PixelAt(*raster, x, y), PAINT) << x << "," << y;
        } else {
            EXPECT_EQ(PixelAt(*raster, c.x, c.y), 0) << "the client shows the clear, not the frame before";
        }
    }
}

// A frame that no one primitive paints whole, on a 21x13 client of a 24x16 buffer after a clearing present: its
// opaque primitives' pixels are theirs and every other client pixel shows the clear, whatever the order, keyed
// and partial cells included; the buffer outside the client keeps what it held where nothing draws.
TEST(RasterPendingClear, PixelsNoOpaquePrimitivePaintsAreClearedWhenSeveralPaintTheRest)
{
    constexpr int BW = 24;
    constexpr int BH = 16;
    constexpr int CW = 21;
    constexpr int CH = 13;
    constexpr std::uint16_t LEFT = 0x0007;
    constexpr std::uint16_t RIGHT = 0x0700;
    struct Case {
        const char* what;
        int split;  // the right fill starts here; a gap of one column when it is one more than the left's end
        bool keyedOnGap;
    };
    const Case cases[] = {
        {"halves that meet", 9, false},
        {"halves with a gap", 10, false},
        {"a keyed copy over the gap", 10, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto raster = StartRaster(Mode565(BW, BH));
        plat::WindowDesc desc;
        desc.width = CW;
        desc.height = CH;
        plat::CreateMainWindow(desc);
        // A 1x13 column whose texels are transparent but for the top one.
        std::vector<std::uint16_t> column(CH, 0);
        column[0] = 0x0070;
        const int keyed = raster->CreateTexture(1, CH, column.data(), 16, TEXTURE_KIND_SURFACE);
        raster->ClearBackBuffer(BACKGROUND);
        raster->Invalidate();
        raster->Present(true);

        raster->BeginFrame();
        if (c.keyedOnGap) {
            raster->DrawTexture(keyed, 9, 0, 10, CH, 500.0f, PRIM_COLOR_KEY);
        }
        raster->FillRect(0, 0, 9, CH, 100.0f, LEFT);
        raster->FillRect(static_cast<float>(c.split), -3, CW + 5, CH + 1, 300.0f, RIGHT);
        Render(*raster);
        const std::uint16_t top = raster->GetTextureEntry(keyed).handle->pixels[0];
        for (int y = 0; y < BH; ++y) {
            for (int x = 0; x < BW; ++x) {
                std::uint16_t expected = BACKGROUND;
                if (x >= c.split && y < CH + 1) {
                    expected = RIGHT;
                } else if (x < CW && y < CH) {
                    expected = x < 9 ? LEFT : (c.keyedOnGap && y == 0) ? top : 0;
                }
                EXPECT_EQ(PixelAt(*raster, x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST(RasterShutdown, NothingIsDrawnOrPresentedAfterShutdown)
{
    auto raster = StartRaster(Mode565(8, 6));
    const std::vector<std::uint16_t> pixels(4, 1);
    const int tex = raster->CreateTexture(2, 2, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    EXPECT_EQ(raster->Shutdown(), 1);
    EXPECT_FALSE(raster->IsInitialised());
    const std::uint64_t before = plat::headless::LastFrame().serial;
    raster->SetActive(true);
    raster->BeginFrame();
    raster->FillRect(0, 0, 8, 6, 1.0f, 7);
    raster->DrawTexture(tex, 0, 0, 2, 2, 1.0f, 0);
    raster->DrawText(u"text", RasterRect{0, 0, 8, 6}, 0, 4, 0xFFFFFF, false);
    TriangleVertices triangle;
    triangle.x1 = 8;
    triangle.y2 = 6;
    triangle.z0 = triangle.z1 = triangle.z2 = 1.0f;
    raster->DrawTriangle(triangle);
    EXPECT_EQ(raster->GetQueuedCount(), 0);
    raster->EndFrame();
    raster->Present(true);
    raster->ClearBackBuffer(3);
    raster->FillRectNow(0, 0, 2, 2, 3);
    EXPECT_EQ(plat::headless::LastFrame().serial, before);
    EXPECT_EQ(raster->BackBuffer().pixels, nullptr);
    int w = -1;
    int h = -1;
    raster->GetSurfaceSize(w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);

    // A new Init starts drawing again.
    EXPECT_EQ(raster->Init(8, 6, 1024.0f, 768.0f, u"", 20000.0f, 0, false), 1);
    EXPECT_TRUE(raster->IsInitialised());
}

TEST(RasterInit, FailsWithoutDisplayDeviceAndSecondInitKeepsTheFirst)
{
    plat::headless::SetDisplayDeviceAvailable(false);
    Raster raster;
    EXPECT_EQ(raster.Init(8, 6, 1024.0f, 768.0f, u"", 20000.0f, 0, false), 0);
    plat::headless::SetDisplayDeviceAvailable(true);
    plat::headless::SetDesktopMode(Mode565(8, 6));
    EXPECT_EQ(raster.Init(8, 6, 1024.0f, 768.0f, u"", 20000.0f, 0, false), 1);
    plat::headless::SetDesktopMode(Mode565(16, 12));
    EXPECT_EQ(raster.Init(16, 12, 1024.0f, 768.0f, u"", 20000.0f, 0, false), 1);
    EXPECT_EQ(raster.GetWidth(), 8);
    EXPECT_EQ(raster.GetTextDepth(), TEXT_DEPTH_DEFAULT);
    EXPECT_TRUE(raster.IsReady());
}

TEST(RasterRenderStates, OnlyBlendAndColourKeyStatesHaveAnEffect)
{
    Raster raster;
    struct Case {
        int state;
        bool blend;
        bool key;
    };
    const Case cases[] = {{5, true, false}, {9, true, true},  {6, false, true},  {21, false, false},
                          {28, false, true}, {7, false, true}, {10, false, false}, {20, false, true},
                          {29, false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(raster.SetRenderState(c.state, 123), 1);
        EXPECT_EQ(raster.IsBlending(), c.blend) << c.state;
        EXPECT_EQ(raster.IsColorKeyed(), c.key) << c.state;
    }
}

TEST(RasterHostileInput, ExtremeCoordinatesDrawNothingOutsideTheBuffer)
{
    auto raster = StartRaster(Mode565(8, 6));
    const std::vector<std::uint16_t> pixels(4, 0x7FFF);
    const int tex = raster->CreateTexture(2, 2, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    const float huge = 1.0e30f;
    const float nan = std::nanf("");
    raster->DrawTexture(tex, -huge, -huge, huge, huge, 1.0f, 0);
    raster->DrawTextureEx(tex, -huge, -huge, huge, huge, 1.0f, PRIM_COLOR_KEY);
    raster->DrawTextureEx(tex, nan, 0, 4, nan, 1.0f, 0);
    raster->DrawTextureEx(tex, 3, 3, 3, 3, 1.0f, 0);
    const RasterRect outside{100, 100, 50, 50};
    raster->DrawTexture(tex, 0, 0, 8, 6, 1.0f, 0, &outside);
    raster->DrawTextureTiled(tex, -huge, 0, huge, 6, 1.0f, 0);
    raster->DrawTextureTiled(tex, nan, nan, 8, 6, 1.0f, 0);
    raster->FillRect(-huge, nan, huge, huge, huge, 3);
    raster->DrawText(u"far away", RasterRect{-2000000000, -2000000000, 2000000000, 2000000000}, 4, 4, 0xFFFFFF, true);
    raster->DrawText(u"inverted", RasterRect{8, 6, 0, 0}, 0, 4, 0xFFFFFF, false);
    TriangleVertices t;
    t.x0 = -huge;
    t.y0 = -huge;
    t.x1 = huge;
    t.y1 = 3;
    t.x2 = 2;
    t.y2 = huge;
    t.z0 = t.z1 = t.z2 = 1.0f;
    t.r0 = nan;
    raster->DrawTriangle(t);
    const int converted = raster->CreateTexture(2, 2, pixels.data(), 16, 0);
    t.texture = converted;
    t.u0 = nan;
    raster->DrawTriangle(t);
    t.u0 = huge;
    t.z1 = 1.0e-30f;
    raster->DrawTriangle(t);
    raster->DrawText(u"edge", RasterRect{INT32_MAX - 5, INT32_MIN, INT32_MAX, INT32_MAX}, 9, 4, 0xFFFFFF, true);
    Render(*raster);
    EXPECT_LE(raster->GetQueuedCount(), MAX_QUEUED_PRIMITIVES);
}

// ---- Keyed copies along opaque runs ------------------------------------------------------------------------

// A 64 x 20 texture as sprites are: transparent borders around an opaque shape with holes, and two rows of
// scattered key texels (those take the per-texel path). seed changes the values and the shape.
std::vector<std::uint16_t> SpriteLikePixels(int seed)
{
    constexpr int TW = 64;
    constexpr int TH = 20;
    std::vector<std::uint16_t> pixels(TW * TH, 0);
    for (int y = 2; y < TH - 2; ++y) {
        const int inset = 3 + std::abs(y - 10) / 2 + seed;
        for (int x = inset; x < TW - inset; ++x) {
            const bool hole = (y % 4 == seed % 4) && x > 28 && x < 36;
            const bool scattered = (y == 5 || y == 12) && (x * 7 + y + seed) % 3 == 0;
            pixels[y * TW + x] = hole || scattered ? 0 : static_cast<std::uint16_t>(1 + (y * TW + x + seed * 97) % 0x7FFE);
        }
    }
    return pixels;
}

bool SameRuns(const KeyRuns& a, const KeyRuns& b)
{
    if (a.rowFirst != b.rowFirst || a.spans.size() != b.spans.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.spans.size(); ++i) {
        if (a.spans[i].x != b.spans[i].x || a.spans[i].length != b.spans[i].length ||
            a.spans[i].masked != b.spans[i].masked) {
            return false;
        }
    }
    return true;
}

// The texels an entry draws, without their runs: every texel tested.
TexelSource PerTexel(const TextureEntry& entry)
{
    return TexelSource{entry.handle ? entry.handle->pixels.data() : entry.converted.get(), entry.width, entry.height,
                       nullptr};
}

class KeyedRunsTest : public ::testing::Test {
protected:
    static constexpr int TW = 48;
    static constexpr int TH = 32;

    void SetUp() override
    {
        m_raster = StartRaster(Mode565(TW, TH));
        m_tex = m_raster->CreateTexture(64, 20, m_pixels.data(), 16, TEXTURE_KIND_SURFACE);
        ASSERT_GE(m_tex, 0);
    }

    // Every case of the table drawn keyed through the raster (runs) and by the per-texel path, on the same
    // patterned background.
    void ExpectRunsMatchPerTexel(const char* when)
    {
        struct Case {
            const char* what;
            int x0, y0, x1, y1;
            bool stretch;
            RasterRect source;
        };
        const RasterRect none{0, 0, -1, -1};
        const Case cases[] = {
            {"inside", 2, 3, 46, 23, false, none},
            {"cut left and top", -9, -4, 40, 20, false, none},
            {"cut right and bottom", 20, 17, 84, 37, false, none},
            {"cut on every side", -5, -2, 70, 40, false, none},
            {"source rectangle", 1, 1, 40, 30, false, {10, 3, 50, 15}},
            {"source rectangle cut left", -6, 4, 40, 30, false, {2, 0, 40, 20}},
            {"source rectangle past the texture", 30, 2, 48, 32, false, {40, 10, 90, 40}},
            {"stretch up", 0, 0, 48, 32, true, none},
            {"stretch down", 3, 2, 27, 12, true, none},
            {"stretch past every edge", -13, -7, 61, 45, true, none},
            {"stretch odd ratio", 5, 1, 42, 30, true, none},
            {"stretch of a source rectangle", 2, 2, 47, 31, true, {7, 2, 45, 17}},
            {"stretch of a source rectangle cut", -20, -3, 40, 29, true, {20, 4, 63, 19}},
        };
        const TextureEntry& entry = m_raster->GetTextureEntry(m_tex);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << when << ": " << c.what);
            const RasterRect* source = c.source.IsValidSource() ? &c.source : nullptr;
            std::vector<std::uint16_t> background(TW * TH);
            std::iota(background.begin(), background.end(), std::uint16_t{0x4000});
            PixelTarget target = m_raster->BackBuffer();
            std::copy(background.begin(), background.end(), target.pixels);
            m_raster->DrawTextureNow(m_tex, c.x0, c.y0, c.x1, c.y1, PRIM_COLOR_KEY | (c.stretch ? PRIM_STRETCH : 0U),
                                     source);
            std::vector<std::uint16_t> expected = background;
            const PixelTarget reference{expected.data(), TW, TH, TW, true};
            BlitTexels(PerTexel(entry), reference, c.x0, c.y0, c.x1, c.y1, c.stretch, true, source);
            EXPECT_EQ(Pixels(*m_raster), expected);
            EXPECT_NE(expected, background) << "the case draws something";
        }
    }

    std::vector<std::uint16_t> m_pixels = SpriteLikePixels(0);
    std::unique_ptr<Raster> m_raster;
    int m_tex = -1;
};

TEST_F(KeyedRunsTest, RunsDrawWhatThePerTexelPathDrawsAlsoAfterThePixelsChange)
{
    ExpectRunsMatchPerTexel("made");

    const std::vector<std::uint16_t> other = SpriteLikePixels(2);
    ASSERT_EQ(m_raster->ReloadTexture(m_tex, other.data()), 1);
    ExpectRunsMatchPerTexel("reloaded");

    // Device loss empties the surface; the reload after it brings the shape back.
    plat::headless::LoseSurfaces();
    Render(*m_raster);
    EXPECT_TRUE(m_raster->GetTextureEntry(m_tex).runs.spans.empty());
    ASSERT_EQ(m_raster->ReloadTexture(m_tex, m_pixels.data()), 1);
    ExpectRunsMatchPerTexel("reloaded after loss");

    RasterBitmap bitmap;
    bitmap.width = 64;
    bitmap.height = 20;
    for (const std::uint16_t p : SpriteLikePixels(1)) {
        bitmap.pixels.push_back(p == 0 ? 0 : 0x808080 + p);
    }
    ASSERT_TRUE(m_raster->BitmapToTexture(m_tex, &bitmap, false, false));
    ExpectRunsMatchPerTexel("bitmap uploaded");
}

TEST_F(KeyedRunsTest, DrawingOntoATextureRebuildsItsRuns)
{
    RasterBitmap blank;
    blank.width = 64;
    blank.height = 20;
    blank.pixels.assign(64 * 20, 0);
    const int canvas = m_raster->CreateTextureFromBitmap(0, 0, &blank, 32, false, true);
    const int under = m_raster->CreateTextureFromBitmap(0, 0, &blank, 32, false, true);
    ASSERT_GE(under, 0);
    const auto expectCurrentRuns = [&](const char* when) {
        const TextureEntry& entry = m_raster->GetSecondTextureEntry(canvas);
        KeyRuns fresh;
        BuildKeyRuns(entry.handle->pixels.data(), entry.width, entry.height, fresh);
        EXPECT_TRUE(SameRuns(entry.runs, fresh)) << when;
    };
    expectCurrentRuns("made");
    m_raster->FillTexture(canvas, 0x1234);
    expectCurrentRuns("filled");
    m_raster->FillTexture(canvas, 0);
    ASSERT_TRUE(m_raster->BlitTexture(canvas, RasterRect{4, 2, 60, 18}, m_tex, true, false));
    expectCurrentRuns("blitted onto");
    ASSERT_TRUE(m_raster->DrawTextOnTexture(u"Run", canvas, RasterRect{0, 0, 64, 20}, 4, 0xFFFFFF, 0));
    expectCurrentRuns("text drawn onto");

    // The canvas, keyed, onto another second texture: the same pixels as the per-texel path.
    m_raster->FillTexture(under, 0x0F0F);
    std::vector<std::uint16_t> expected = m_raster->GetSecondTextureEntry(under).handle->pixels;
    const PixelTarget reference{expected.data(), 64, 20, 64, true};
    BlitTexels(PerTexel(m_raster->GetSecondTextureEntry(canvas)), reference, -3, 1, 70, 17, true, true, nullptr);
    ASSERT_TRUE(m_raster->BlitTexture(under, RasterRect{-3, 1, 70, 17}, canvas, true, true));
    EXPECT_EQ(m_raster->GetSecondTextureEntry(under).handle->pixels, expected);
}

// Runs of every length from 1 to 150 at shifting columns, a second short run after each, empty rows and rows dense
// with single texels (masked): the keyed copy with the wide moves, with the narrow ones and texel by texel give the
// same pixels, whole and cut at each edge.
TEST(KeyedMovesTest, WideAndNarrowMovesDrawWhatThePerTexelPathDraws)
{
    constexpr int TW = 200;
    constexpr int TH = 160;
    constexpr int W = 240;
    constexpr int H = 180;
    std::vector<std::uint16_t> texels(TW * TH, 0);
    for (int y = 0; y < TH; ++y) {
        std::uint16_t* row = texels.data() + y * TW;
        if (y % 11 == 10) {
            continue;
        }
        if (y % 9 == 4) {
            for (int x = y % 3; x < TW; x += 3) {
                row[x] = static_cast<std::uint16_t>(0x100 + x);
            }
            continue;
        }
        const int length = y < 150 ? y + 1 : TW - 2;
        const int start = (y * 5) % 37 % (TW - length + 1);
        for (int x = start; x < start + length; ++x) {
            row[x] = static_cast<std::uint16_t>(1 + (x * 31 + y * 7) % 0x7FFE);
        }
        for (int x = start + length + 2; x < std::min(TW, start + length + 2 + y % 5); ++x) {
            row[x] = 0x2222;
        }
    }
    KeyRuns runs;
    BuildKeyRuns(texels.data(), TW, TH, runs);
    const TexelSource withRuns{texels.data(), TW, TH, &runs};
    const TexelSource perTexel{texels.data(), TW, TH, nullptr};

    struct Case {
        const char* what;
        int x0, y0;
        RasterRect source;
    };
    const RasterRect none{0, 0, -1, -1};
    const Case cases[] = {
        {"whole", 3, 2, none},
        {"cut left and top", -17, -9, none},
        {"cut right and bottom", 61, 33, none},
        {"source rectangle", 5, 4, {13, 7, 151, 140}},
        {"source rectangle cut left", -3, 0, {1, 0, 199, 160}},
    };
    std::vector<std::uint16_t> background(W * H);
    std::iota(background.begin(), background.end(), std::uint16_t{0x4000});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RasterRect* source = c.source.IsValidSource() ? &c.source : nullptr;
        std::vector<std::uint16_t> expected = background;
        BlitTexels(perTexel, PixelTarget{expected.data(), W, H, W, true}, c.x0, c.y0, c.x0 + TW, c.y0 + TH, false, true,
                   source);
        for (const bool wide : {true, false}) {
            UseWideMoves(wide);
            std::vector<std::uint16_t> drawn = background;
            BlitTexels(withRuns, PixelTarget{drawn.data(), W, H, W, true}, c.x0, c.y0, c.x0 + TW, c.y0 + TH, false,
                       true, source);
            EXPECT_EQ(drawn, expected) << (wide ? "wide moves" : "narrow moves");
        }
        UseWideMoves(true);
        EXPECT_NE(expected, background);
    }
}

// ---- Surface loss ----------------------------------------------------------------------------------------------

int s_deviceLost = 0;
std::vector<int> s_texturesLost;

void OnDeviceLost()
{
    ++s_deviceLost;
}

void OnTextureLost(int index)
{
    s_texturesLost.push_back(index);
}

class RasterSurfaceLossTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_deviceLost = 0;
        s_texturesLost.clear();
        m_raster = StartRaster(Mode565(8, 6));
        m_raster->SetDeviceLostCallback(&OnDeviceLost);
        m_raster->SetTextureLostCallback(&OnTextureLost);
        m_tex = m_raster->CreateTexture(2, 2, m_pixels.data(), 16, TEXTURE_KIND_SURFACE);
    }

    std::unique_ptr<Raster> m_raster;
    std::vector<std::uint16_t> m_pixels = std::vector<std::uint16_t>(4, 0x7FFF);
    int m_tex = -1;
};

TEST_F(RasterSurfaceLossTest, LostSurfacesAreRestoredAndReloadedThroughTheCallbacks)
{
    plat::headless::LoseSurfaces();
    m_raster->DrawTexture(m_tex, 0, 0, 2, 2, 1.0f, 0);
    Render(*m_raster);
    EXPECT_EQ(s_deviceLost, 1);
    // The surface lost its pixels: nothing reloaded them, so the copy shows zeros.
    EXPECT_EQ(PixelAt(*m_raster, 0, 0), 0);

    // A reload (what the display's callback does) brings them back; no further loss, no further callback.
    EXPECT_EQ(m_raster->ReloadTexture(m_tex, m_pixels.data()), 1);
    m_raster->BeginFrame();
    m_raster->DrawTexture(m_tex, 0, 0, 2, 2, 1.0f, 0);
    Render(*m_raster);
    m_raster->Present(false);
    EXPECT_EQ(PixelAt(*m_raster, 0, 0), 0xFFDF);
    EXPECT_EQ(s_deviceLost, 1);
}

TEST_F(RasterSurfaceLossTest, OneTextureRestoredCallsTheTextureCallback)
{
    m_raster->RestoreTexture(m_tex);
    EXPECT_EQ(s_texturesLost, std::vector<int>{m_tex});
    EXPECT_EQ(s_deviceLost, 0);
}

TEST_F(RasterSurfaceLossTest, DesktopChangeRebuildsTheBackBufferAtTheNewSize)
{
    plat::headless::SetDesktopMode(Mode565(800, 600));
    plat::headless::LoseSurfaces();
    m_raster->Present(false);
    EXPECT_TRUE(m_raster->DesktopChanged());
    EXPECT_EQ(m_raster->GetWidth(), 800);
    EXPECT_EQ(m_raster->BackBuffer().height, 600);
    EXPECT_EQ(s_deviceLost, 1);
    // Texture surfaces stay at their size.
    EXPECT_EQ(m_raster->GetTextureWidth(m_tex), 2);
}

TEST_F(RasterSurfaceLossTest, UnusableDesktopIsFatalWithItsMessage)
{
    struct Case {
        plat::DisplayMode mode;
        std::u16string text;
    };
    const Case cases[] = {
        {plat::DisplayMode{1024, 768, 8, 60, 0, 0, 0},
         u"Error Re-initing DirectX after Desktop change (bitdepth too low)."},
        {Mode565(640, 480), u"Error Re-initing DirectX after Desktop change (resolution too low)."},
        {plat::DisplayMode{1024, 768, 16, 60, 0x0F00, 0x00F0, 0x000F},
         u"Error Re-initing DirectX after Desktop change (color channels with bit depth lower than 5)."},
    };
    for (const Case& c : cases) {
        ClearQuitRequest();
        m_raster = StartRaster(Mode565(8, 6));
        const std::size_t boxes = plat::headless::MessageBoxes().size();
        plat::headless::SetDesktopMode(c.mode);
        EXPECT_FALSE(m_raster->HandleDesktopChange());
        ASSERT_EQ(plat::headless::MessageBoxes().size(), boxes + 1);
        EXPECT_EQ(plat::headless::MessageBoxes().back().text, c.text);
        EXPECT_TRUE(IsQuitRequested());
        EXPECT_EQ(QuitExitCode(), 1);
        // The raster goes on without a back buffer: frames draw nothing and nothing crashes.
        m_raster->FillRect(0, 0, 8, 6, 1.0f, 1);
        Render(*m_raster);
        m_raster->Present(true);
    }
    ClearQuitRequest();
}

} // namespace

TEST(RasterFramePrimitives, ListsTheLastFrameInDrawOrderUntilTheNextFrameBegins)
{
    auto raster = StartRaster(Mode565(8, 6));
    raster->FillRect(0, 0, 1, 1, 10.0f, 1);
    raster->DrawText(u"ab", RasterRect{0, 0, 8, 6}, 0, 4, 0xFFFFFF, false);
    raster->FillRect(0, 0, 2, 2, 15000.0f, 2);
    raster->FillRect(0, 0, 3, 3, 10.0f, 3);
    EXPECT_TRUE(raster->GetFramePrimitives().empty()) << "nothing is linked before the frame ends";
    raster->EndFrame();

    const std::vector<DrawPrimitive> records = raster->GetFramePrimitives();
    ASSERT_EQ(records.size(), 4U);
    EXPECT_NE(records[0].flags & PRIM_TEXT, 0U) << "text sits at the deepest depth";
    EXPECT_EQ(raster->GetQueuedText().substr(static_cast<std::size_t>(records[0].item),
                                             static_cast<std::size_t>(records[0].textLength)),
              u"ab");
    EXPECT_EQ(records[1].item, 2);
    EXPECT_EQ(records[2].item, 1) << "same depth: submission order";
    EXPECT_EQ(records[3].item, 3);

    raster->BeginFrame();
    EXPECT_TRUE(raster->GetFramePrimitives().empty());
}

// A large stretch drawn frame after frame shows what stretching it afresh would, also after it moves or its
// texture's pixels change, and with a source rectangle.
TEST(RasterKeptStretch, FramesAfterFrameShowTheStretchOfTheCurrentPixels)
{
    constexpr int BW = 300;
    constexpr int BH = 200;
    auto raster = StartRaster(Mode565(BW, BH));
    std::vector<std::uint16_t> first = CountingPixels(7, 5);
    std::vector<std::uint16_t> second(first.rbegin(), first.rend());
    const int tex = raster->CreateTexture(7, 5, first.data(), 16, TEXTURE_KIND_SURFACE);
    const RasterRect part{1, 1, 6, 4};
    struct Step {
        RasterRect dest;
        const RasterRect* source;
        bool reload;
    };
    const Step steps[] = {
        {{3, 2, 253, 152}, nullptr, false}, {{3, 2, 253, 152}, nullptr, false}, {{3, 2, 253, 152}, nullptr, false},
        {{40, 30, 290, 180}, nullptr, false}, {{40, 30, 290, 180}, nullptr, true}, {{40, 30, 290, 180}, nullptr, false},
        {{0, 0, 250, 150}, &part, false},   {{0, 0, 250, 150}, &part, false},   {{0, 0, 250, 150}, &part, false},
    };
    bool showsSecond = false;
    for (const Step& step : steps) {
        if (step.reload) {
            showsSecond = !showsSecond;
            ASSERT_EQ(raster->ReloadTexture(tex, showsSecond ? second.data() : first.data()), 1);
        }
        raster->ClearBackBuffer(BACKGROUND);
        raster->BeginFrame();
        raster->DrawTextureEx(tex, static_cast<float>(step.dest.left), static_cast<float>(step.dest.top),
                              static_cast<float>(step.dest.right), static_cast<float>(step.dest.bottom), 10.0f, 0,
                              step.source);
        Render(*raster);

        std::vector<std::uint16_t> expected(static_cast<std::size_t>(BW) * BH, BACKGROUND);
        const TextureEntry& entry = raster->GetTextureEntry(tex);
        const TexelSource texels{entry.handle->pixels.data(), entry.width, entry.height, nullptr};
        BlitTexels(texels, PixelTarget{expected.data(), BW, BH, BW, true}, step.dest.left, step.dest.top,
                   step.dest.right, step.dest.bottom, true, false, step.source);
        ASSERT_EQ(Pixels(*raster), expected) << step.dest.left << " reload " << step.reload;
    }
}
