// The triangle rasterizer: coverage against a reference, winding, degenerate and clipped triangles, the texture
// span routines (opaque, keyed, blended) and the colour tables.
#include "tests/engine/raster/RasterTestSupport.h"

#include "engine/raster/ColorTables.h"
#include "engine/raster/SpanRasterizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

using namespace rastertest;

namespace {

constexpr std::uint16_t BACKGROUND = 0x0421;

struct Point {
    double x;
    double y;
};

// The rasterizer's rounding: floor(t + 0.999).
int Ceil999(double t)
{
    return static_cast<int>(std::floor(t + 0.999));
}

// Reference coverage: rows from the top vertex's row to the bottom's, and in each row the pixels from the left
// boundary to the right one, both rounded as the rasterizer rounds them.
std::vector<bool> ReferenceCoverage(const Point (&p)[3], int width, int height)
{
    std::vector<bool> covered(static_cast<std::size_t>(width) * height, false);
    const double top = std::min({p[0].y, p[1].y, p[2].y});
    const double bottom = std::max({p[0].y, p[1].y, p[2].y});
    for (int r = std::max(Ceil999(top), 0); r < std::min(Ceil999(bottom), height); ++r) {
        double left = 1e9;
        double right = -1e9;
        for (int e = 0; e < 3; ++e) {
            const Point a = p[e];
            const Point b = p[(e + 1) % 3];
            const double y0 = std::min(a.y, b.y);
            const double y1 = std::max(a.y, b.y);
            if (y1 - y0 < 0.01 || r < y0 - 0.001 || r > y1 + 0.001) {
                continue;
            }
            const double x = a.x + (r - a.y) * (b.x - a.x) / (b.y - a.y);
            left = std::min(left, x);
            right = std::max(right, x);
        }
        for (int x = std::max(Ceil999(left), 0); x < std::min(Ceil999(right), width); ++x) {
            covered[static_cast<std::size_t>(r) * width + x] = true;
        }
    }
    return covered;
}

TriangleVertices Triangle(const Point (&p)[3], float z = 100.0f)
{
    TriangleVertices t;
    t.x0 = static_cast<float>(p[0].x);
    t.x1 = static_cast<float>(p[1].x);
    t.x2 = static_cast<float>(p[2].x);
    t.y0 = static_cast<float>(p[0].y);
    t.y1 = static_cast<float>(p[1].y);
    t.y2 = static_cast<float>(p[2].y);
    t.z0 = t.z1 = t.z2 = z;
    t.r0 = t.r1 = t.r2 = 1.0f;
    t.g0 = t.g1 = t.g2 = 1.0f;
    t.b0 = t.b1 = t.b2 = 1.0f;
    return t;
}

class TriangleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_raster = StartRaster(Mode565(m_width, m_height));
        m_raster->ClearBackBuffer(BACKGROUND);
    }

    void Draw(const TriangleVertices& t)
    {
        m_raster->ClearBackBuffer(BACKGROUND);
        m_raster->BeginFrame();
        EXPECT_EQ(m_raster->DrawTriangle(t), 1);
        Render(*m_raster);
    }

    int m_width = 40;
    int m_height = 30;
    std::unique_ptr<Raster> m_raster;
};

TEST_F(TriangleTest, FlatClockwiseTrianglesCoverWhatTheReferenceCovers)
{
    const Point cases[][3] = {
        {{3.25, 2.75}, {30.5, 6.25}, {12.75, 25.5}},
        {{20.25, 1.25}, {35.75, 27.5}, {2.5, 20.75}},
        {{5.5, 5.5}, {25.5, 5.5}, {5.5, 20.5}},       // flat top
        {{-10.25, -6.5}, {55.5, 3.25}, {8.75, 44.5}},  // crosses every edge
        {{30.25, 10.5}, {60.5, 12.25}, {38.5, 29.75}},  // past the right edge
    };
    for (const auto& points : cases) {
        Draw(Triangle(points));
        const std::vector<bool> expected = ReferenceCoverage(points, m_width, m_height);
        const std::vector<std::uint16_t> pixels = Pixels(*m_raster);
        int mismatches = 0;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            mismatches += (pixels[i] == 0xFFDF) != expected[i] ? 1 : 0;
            EXPECT_TRUE(pixels[i] == 0xFFDF || pixels[i] == BACKGROUND);
        }
        EXPECT_EQ(mismatches, 0) << points[0].x << "," << points[0].y;
        EXPECT_GT(std::count(expected.begin(), expected.end(), true), 10);
    }
}

TEST_F(TriangleTest, CounterClockwiseAndDegenerateTrianglesDrawNothing)
{
    const Point cases[][3] = {
        {{3.25, 2.75}, {12.75, 25.5}, {30.5, 6.25}},  // counter-clockwise on screen
        {{1.5, 7.25}, {20.5, 7.25}, {35.5, 7.25}},    // one row
        {{4.5, 4.5}, {4.5, 4.5}, {4.5, 4.5}},
        {{2.5, 2.5}, {12.5, 12.5}, {22.5, 22.5}},     // one line
    };
    for (const auto& points : cases) {
        Draw(Triangle(points));
        const std::vector<std::uint16_t> pixels = Pixels(*m_raster);
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), BACKGROUND), static_cast<long>(pixels.size()))
            << points[0].x;
    }
}

TEST_F(TriangleTest, RowOnlyOneSideReachesTakesNothingFromAnEarlierTriangle)
{
    // The top edge is under 0.01 high (skipped) yet its ends round to different rows: row 4 has a left side only.
    // An earlier triangle in the frame left its own right side in row 4.
    const Point earlier[3] = {{30.0, 2.0}, {38.0, 2.0}, {30.0, 10.0}};
    const Point flatTop[3] = {{5.0, 4.0005}, {20.0, 4.0015}, {5.0, 20.0}};
    m_raster->ClearBackBuffer(BACKGROUND);
    m_raster->BeginFrame();
    m_raster->DrawTriangle(Triangle(earlier));
    m_raster->DrawTriangle(Triangle(flatTop));
    Render(*m_raster);
    for (int x = 0; x < 30; ++x) {
        EXPECT_EQ(PixelAt(*m_raster, x, 4), BACKGROUND) << x;
    }
    EXPECT_EQ(PixelAt(*m_raster, 6, 5), 0xFFDF);
}

TEST_F(TriangleTest, VertexDepthAtOrBehindTheEyeRefusesTheTriangle)
{
    const Point points[3] = {{3.25, 2.75}, {30.5, 6.25}, {12.75, 25.5}};
    for (const float z : {0.0f, -5.0f, NAN}) {
        TriangleVertices t = Triangle(points);
        t.z1 = z;
        EXPECT_EQ(m_raster->DrawTriangle(t), 0);
    }
    EXPECT_EQ(m_raster->GetQueuedCount(), 0);
}

TEST_F(TriangleTest, FlatColourIsTheMeanOfTheVertexColours)
{
    const Point points[3] = {{0.5, 0.5}, {39.5, 0.5}, {0.5, 29.5}};
    TriangleVertices t = Triangle(points);
    t.r0 = 1.0f;
    t.r1 = 0.0f;
    t.r2 = 0.5f;
    t.g0 = t.g1 = t.g2 = 0.0f;
    t.b0 = t.b1 = t.b2 = 1.0f;
    Draw(t);
    EXPECT_EQ(PixelAt(*m_raster, 2, 2), (15 << 11) | 31);
}

// A texture whose texel values are 1 + their index, so each pixel tells where it was sampled.
class TexturedTriangleTest : public TriangleTest {
protected:
    void SetUp() override
    {
        TriangleTest::SetUp();
        m_texels.resize(TEX * TEX);
        std::iota(m_texels.begin(), m_texels.end(), std::uint16_t{1});
        m_tex = m_raster->CreateTexture(TEX, TEX, m_texels.data(), 16, 0);
    }

    TriangleVertices Textured(const Point (&p)[3], const float (&u)[3], const float (&v)[3])
    {
        TriangleVertices t = Triangle(p);
        t.texture = m_tex;
        t.u0 = u[0];
        t.u1 = u[1];
        t.u2 = u[2];
        t.v0 = v[0];
        t.v1 = v[1];
        t.v2 = v[2];
        return t;
    }

    static constexpr int TEX = 32;
    std::vector<std::uint16_t> m_texels;
    int m_tex = -1;
};

TEST_F(TexturedTriangleTest, AffineTextureSamplesWithinATexelOfTheReference)
{
    // Screen (x, y) maps to texel (x - 2, y - 1) at equal depths: u = (x - 2) / 32, v = (y - 1) / 32.
    const Point points[3] = {{2.0, 1.0}, {34.0, 1.0}, {2.0, 29.0}};
    const float u[3] = {0.0f, 1.0f, 0.0f};
    const float v[3] = {0.0f, 0.0f, 28.0f / 32.0f};
    Draw(Textured(points, u, v));
    int drawn = 0;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const std::uint16_t p = PixelAt(*m_raster, x, y);
            if (p == BACKGROUND) {
                continue;
            }
            ++drawn;
            const int index = ((p & 0x1F) | ((p >> 1) & 0x7FE0)) - 1;
            EXPECT_NEAR(index % TEX, x - 2, 1) << x << "," << y;
            EXPECT_NEAR(index / TEX, y - 1, 1) << x << "," << y;
        }
    }
    EXPECT_GT(drawn, 300);
}

TEST_F(TexturedTriangleTest, UnequalDepthsSamplePerspectiveCorrectly)
{
    // The right vertex is four times as far: texels bunch up toward it. Texture coordinates interpolate as
    // u / z and 1 / z over the screen; each run of 16 pixels steps linearly toward the sample 15 pixels ahead,
    // so a run's pixels may lag the exact value by about a pixel's step (under 2.5 texels here).
    const Point points[3] = {{2.0, 1.0}, {38.0, 1.0}, {2.0, 29.0}};
    const float u[3] = {0.0f, 1.0f, 0.0f};
    const float v[3] = {0.0f, 0.0f, 28.0f / 32.0f};
    const double z[3] = {50.0, 200.0, 50.0};
    TriangleVertices t = Textured(points, u, v);
    t.z0 = static_cast<float>(z[0]);
    t.z1 = static_cast<float>(z[1]);
    t.z2 = static_cast<float>(z[2]);
    Draw(t);
    const double area = (points[1].x - points[0].x) * (points[2].y - points[0].y) -
                        (points[2].x - points[0].x) * (points[1].y - points[0].y);
    int drawn = 0;
    int farFromAffine = 0;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const std::uint16_t p = PixelAt(*m_raster, x, y);
            if (p == BACKGROUND) {
                continue;
            }
            ++drawn;
            // Screen-space weights of the three vertices at (x, y).
            const double l1 = ((x - points[0].x) * (points[2].y - points[0].y) -
                               (points[2].x - points[0].x) * (y - points[0].y)) / area;
            const double l2 = ((points[1].x - points[0].x) * (y - points[0].y) -
                               (x - points[0].x) * (points[1].y - points[0].y)) / area;
            const double l[3] = {1.0 - l1 - l2, l1, l2};
            double uw = 0, vw = 0, w = 0, uAffine = 0;
            for (int i = 0; i < 3; ++i) {
                uw += l[i] * u[i] * TEX / z[i];
                vw += l[i] * v[i] * TEX / z[i];
                w += l[i] / z[i];
                uAffine += l[i] * u[i] * TEX;
            }
            const int index = ((p & 0x1F) | ((p >> 1) & 0x7FE0)) - 1;
            EXPECT_NEAR(index % TEX, uw / w, 2.5) << x << "," << y;
            EXPECT_NEAR(index / TEX, vw / w, 2.5) << x << "," << y;
            farFromAffine += std::abs(index % TEX - uAffine) > 4.0 ? 1 : 0;
        }
    }
    EXPECT_GT(drawn, 300);
    EXPECT_GT(farFromAffine, 100) << "the depths must make a difference";
}

TEST(TriangleRows, TrianglesReachTheBottomOfATallBackBuffer)
{
    auto raster = StartRaster(Mode565(32, 2400));
    raster->ClearBackBuffer(BACKGROUND);
    const Point points[3] = {{0.0, 1000.0}, {64.0, 1000.0}, {0.0, 2400.0}};
    raster->DrawTriangle(Triangle(points));
    Render(*raster);
    for (const int row : {1000, 2047, 2048, 2300, 2398}) {
        EXPECT_EQ(PixelAt(*raster, 0, row), 0xFFDF) << row;
    }
    EXPECT_EQ(PixelAt(*raster, 31, 2300), BACKGROUND);
}

TEST_F(TexturedTriangleTest, RowsAboveTheTopAreClippedKeepingTheTexturePosition)
{
    const Point whole[3] = {{2.0, 1.0}, {34.0, 1.0}, {2.0, 29.0}};
    const Point shifted[3] = {{2.0, -9.0}, {34.0, -9.0}, {2.0, 19.0}};
    const float u[3] = {0.0f, 1.0f, 0.0f};
    const float v[3] = {0.0f, 0.0f, 28.0f / 32.0f};
    Draw(Textured(whole, u, v));
    const std::vector<std::uint16_t> unclipped = Pixels(*m_raster);
    Draw(Textured(shifted, u, v));
    const std::vector<std::uint16_t> clipped = Pixels(*m_raster);
    for (int y = 0; y < 19; ++y) {
        for (int x = 0; x < m_width; ++x) {
            EXPECT_EQ(clipped[y * m_width + x], unclipped[(y + 10) * m_width + x]) << x << "," << y;
        }
    }
}

TEST_F(TexturedTriangleTest, KeyedAndBlendedSpansSkipTexelZero)
{
    m_texels.assign(TEX * TEX, 0);
    for (int i = 0; i < TEX * TEX; ++i) {
        // Columns 0-3 white, 4-7 the colour key, and so on.
        m_texels[i] = ((i % TEX) / 4) % 2 == 0 ? 0x7FFF : 0;
    }
    ASSERT_EQ(m_raster->ReloadTexture(m_tex, m_texels.data()), 1);
    const Point points[3] = {{0.0, 0.0}, {32.0, 0.0}, {0.0, 30.0}};
    const float u[3] = {0.0f, 1.0f, 0.0f};
    const float v[3] = {0.0f, 0.0f, 30.0f / 32.0f};
    const ColorTables& tables = [] {
        static ColorTables t;
        t.Build(true);
        return std::cref(t);
    }();
    struct Case {
        int state;
        std::uint16_t onWhite;
        std::uint16_t onKey;
    };
    const Case cases[] = {
        {10, 0xFFDF, 0},  // opaque: the key texel is written as black
        {9, 0xFFDF, BACKGROUND},
        {5, tables.Blend(0xFFDF, BACKGROUND), BACKGROUND},
    };
    for (const Case& c : cases) {
        m_raster->SetRenderState(6, 0);
        m_raster->SetRenderState(10, 0);
        m_raster->SetRenderState(c.state, 0);
        Draw(Textured(points, u, v));
        // At equal depths pixel (x, 1) samples about texel (x, 1): column 2 is white, column 6 the key.
        EXPECT_EQ(PixelAt(*m_raster, 2, 1), c.onWhite) << c.state;
        EXPECT_EQ(PixelAt(*m_raster, 6, 1), c.onKey) << c.state;
    }
}

TEST_F(TexturedTriangleTest, ReleasedTextureDrawsNothing)
{
    const Point points[3] = {{2.0, 1.0}, {34.0, 1.0}, {2.0, 29.0}};
    const float u[3] = {0.0f, 1.0f, 0.0f};
    const float v[3] = {0.0f, 0.0f, 1.0f};
    m_raster->ClearBackBuffer(BACKGROUND);
    m_raster->BeginFrame();
    m_raster->DrawTriangle(Textured(points, u, v));
    m_raster->ReleaseTexture(m_tex);
    Render(*m_raster);
    const std::vector<std::uint16_t> pixels = Pixels(*m_raster);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), BACKGROUND), static_cast<long>(pixels.size()));
}

TEST(SpanRoutines, TwentyPixelsAreOneRunAndARestOfFour)
{
    std::vector<std::uint16_t> texture(64);
    std::iota(texture.begin(), texture.end(), std::uint16_t{1});
    std::vector<std::uint16_t> row(24, 0xEEEE);
    SpanRun run;
    run.destination = row.data();
    run.count = 20;
    run.w = run.wEnd = 1.0f;
    run.uw = 0.0f;
    run.uwEnd = 20.0f;
    run.duw = 1.0f;
    SpanOpaque(run, SpanTexture{texture.data(), 64, 63});
    for (int i = 0; i < 20; ++i) {
        EXPECT_NEAR(row[i], i + 1, 1) << i;
    }
    EXPECT_EQ(row[20], 0xEEEE);
    SpanFill(row.data() + 21, 3, 7);
    EXPECT_EQ(row[23], 7);
}

TEST(ColorTables, BlendsAreTheMeanOfTheTopThreeBits)
{
    ColorTables tables;
    tables.Build(false);
    // White and black in 5-5-5: 14 in every channel.
    const std::uint16_t grey = tables.Blend(0x7FFF, 0x0000);
    EXPECT_EQ((grey >> 10) & 31, 14);
    EXPECT_EQ((grey >> 5) & 31, 14);
    EXPECT_EQ(grey & 31, 14);
    EXPECT_EQ(tables.Index333(0x7FFF), 511);

    tables.Build(true);
    for (std::uint32_t a = 0; a < 65536; a += 997) {
        for (std::uint32_t b = 0; b < 65536; b += 1009) {
            const auto top3 = [](std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 7); };
            const int r = 2 * (top3(a, 13) + top3(b, 13));
            const int g = 2 * (top3(a, 8) + top3(b, 8));
            const int bl = 2 * (top3(a, 2) + top3(b, 2));
            EXPECT_EQ(tables.Blend(static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b)),
                      (r << 11) | (g << 6) | bl);
        }
    }
}

} // namespace
