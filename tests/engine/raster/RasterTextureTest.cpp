// The raster's texture tables: pixel conversion, colours, bitmaps with the quarter turn, saved bitmaps read back
// bit-exactly, release and reuse, size queries and the second table's composition.
#include "tests/TestSupport.h"
#include "tests/engine/raster/RasterTestSupport.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

using namespace rastertest;

namespace {

// A reader of uncompressed 24-bit bitmaps, bottom-up or top-down, with the bounds checks a loader needs.
std::optional<RasterBitmap> ReadBmp24(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto u16 = [&](std::size_t at) { return static_cast<std::uint32_t>(bytes[at] | (bytes[at + 1] << 8)); };
    const auto u32 = [&](std::size_t at) { return u16(at) | (u16(at + 2) << 16); };
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || u16(28) != 24 || u32(30) != 0) {
        return std::nullopt;
    }
    const int width = static_cast<int>(u32(18));
    const int rawHeight = static_cast<int>(u32(22));
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    const std::size_t offset = u32(10);
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    if (width <= 0 || height <= 0 || offset + rowBytes * height > bytes.size()) {
        return std::nullopt;
    }
    RasterBitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = offset + rowBytes * (rawHeight < 0 ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &bytes[row + x * 3];
            bitmap.pixels[static_cast<std::size_t>(y) * width + x] = (p[2] << 16) | (p[1] << 8) | p[0];
        }
    }
    return bitmap;
}

TEST(RasterConvert, EveryKindInBothFormats)
{
    struct Case {
        bool is565;
        int kind;
        std::uint16_t in;
        std::uint16_t out;
    };
    const Case cases[] = {
        {true, 0, 0x7FFF, 0xFFDF},  // white: green's low bit stays clear
        {true, 1, 0x7C00, 0xF800},
        {true, 2, 0x03E0, 0x07C0},
        {true, 0, 0x801F, 0x001F},  // bit 15 is not part of the colour
        {false, 0, 0x7FFF, 0x7FFF},
        {false, 2, 0x1234, 0x1234},
        {true, 3, 0x0FFF, 0x0000},  // alpha 0: the colour key
        {false, 3, 0x0ABC, 0x0000},
        {true, 3, 0xF123, (0x100 * 16) + (0x20 * 8) + (0x3 * 2)},
        {false, 3, 0x8F0F, (0xF00 * 8) + (0xF * 2)},
        {true, 4, 0x7FFF, 0x0000},  // unknown kinds give zeros
        {false, -1, 0x7FFF, 0x0000},
    };
    for (const Case& c : cases) {
        auto raster = StartRaster(c.is565 ? Mode565(4, 4) : Mode555(4, 4));
        const std::uint16_t pixels[2] = {c.in, c.in};
        const auto out = raster->ConvertPixels(pixels, 2, 1, c.kind);
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(out[0], c.out) << "kind " << c.kind << " in " << std::hex << c.in << (c.is565 ? " 565" : " 555");
        EXPECT_EQ(out[1], c.out);
    }
}

TEST(RasterConvert, KindThreeAlphaZeroIsTransparentInKeyedDrawing)
{
    auto raster = StartRaster(Mode565(4, 1));
    raster->ClearBackBuffer(0x1111);
    const std::uint16_t pixels[2] = {0x0FFF, 0xFFFF};
    const int tex = raster->CreateTexture(2, 1, pixels, 16, TEXTURE_KIND_ARGB4444);
    ASSERT_GE(tex, 0);
    EXPECT_EQ(raster->GetTextureEntry(tex).converted[0], 0);
    EXPECT_NE(raster->GetTextureEntry(tex).converted[1], 0);
}

TEST(RasterColor, MakeColorScalesEachChannelIntoItsMask)
{
    struct Case {
        bool is565;
        int r, g, b;
        std::uint16_t expected;
    };
    const Case cases[] = {
        {true, 255, 255, 255, 0xFFFF}, {true, 255, 0, 0, 0xF800}, {true, 0, 255, 0, 0x07E0},
        {true, 128, 128, 128, (15 << 11) | (31 << 5) | 15},       {false, 255, 255, 255, 0x7FFF},
        {false, 0, 0, 255, 0x001F},     {false, 300, -5, 0, 0x7C00},
    };
    for (const Case& c : cases) {
        auto raster = StartRaster(c.is565 ? Mode565(4, 4) : Mode555(4, 4));
        EXPECT_EQ(raster->MakeColor(c.r, c.g, c.b, 255), c.expected) << c.r << "," << c.g << "," << c.b;
    }
}

class RasterBitmapTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { m_raster = StartRaster(GetParam() ? Mode565(8, 8) : Mode555(8, 8)); }
    std::unique_ptr<Raster> m_raster;
};

INSTANTIATE_TEST_SUITE_P(Formats, RasterBitmapTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Rgb565" : "Rgb555"; });

TEST_P(RasterBitmapTest, SavedBitmapReadsBackBitExactly)
{
    // Every value of each channel appears somewhere.
    std::vector<std::uint16_t> pixels(67 * 5);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint16_t>((i * 2654435761U) >> 7) & 0x7FFF;
    }
    pixels[0] = 0x7FFF;
    pixels[1] = 0;
    const int tex = m_raster->CreateTexture(67, 5, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    ASSERT_GE(tex, 0);
    const test::TempDir dir;
    ASSERT_TRUE(m_raster->SaveTextureBitmap(tex, plat::FromUtf8(dir.File("saved.bmp"))));

    const std::optional<RasterBitmap> bitmap = ReadBmp24(dir.File("saved.bmp"));
    ASSERT_TRUE(bitmap.has_value());
    EXPECT_EQ(bitmap->width, 67);
    EXPECT_EQ(bitmap->height, 5);
    const int back = m_raster->CreateTextureFromBitmap(0, 0, &*bitmap, 24, false, false);
    ASSERT_GE(back, 0);
    EXPECT_EQ(m_raster->GetTextureEntry(back).handle->pixels, m_raster->GetTextureEntry(tex).handle->pixels);

    // The same through the second table.
    const int second = m_raster->CreateTextureFromBitmap(0, 0, &*bitmap, 24, false, true);
    ASSERT_EQ(second, 0);
    ASSERT_TRUE(m_raster->SaveSecondTextureBitmap(second, plat::FromUtf8(dir.File("second.bmp"))));
    const std::optional<RasterBitmap> again = ReadBmp24(dir.File("second.bmp"));
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->pixels, bitmap->pixels);
}

TEST_P(RasterBitmapTest, RotatedBitmapIsTurnedAQuarter)
{
    RasterBitmap bitmap;
    bitmap.width = 3;
    bitmap.height = 2;
    // Distinct blues 8, 16, ... so each survives the cut to 5 bits.
    for (int i = 0; i < 6; ++i) {
        bitmap.pixels.push_back(static_cast<std::uint32_t>((i + 1) * 8));
    }
    const int tex = m_raster->CreateTextureFromBitmap(0, 0, &bitmap, 24, true, false);
    ASSERT_GE(tex, 0);
    int w = 0;
    int h = 0;
    ASSERT_TRUE(m_raster->GetTextureSize(tex, w, h));
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 3);
    const std::vector<std::uint16_t>& out = m_raster->GetTextureEntry(tex).handle->pixels;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 2; ++c) {
            const std::uint32_t source = bitmap.At(r, 2 - 1 - c);
            EXPECT_EQ(out[static_cast<std::size_t>(r) * 2 + c], source >> 3) << c << "," << r;
        }
    }
    // Drawn into the existing texture again (a reload) it gives the same pixels.
    const std::vector<std::uint16_t> before = out;
    EXPECT_TRUE(m_raster->BitmapToTexture(tex, &bitmap, true, false));
    EXPECT_EQ(m_raster->GetTextureEntry(tex).handle->pixels, before);
    EXPECT_FALSE(m_raster->BitmapToTexture(tex + 1, &bitmap, true, false));
}

TEST(RasterTextures, ReleaseAndReuse)
{
    auto raster = StartRaster(Mode565(8, 8));
    const std::vector<std::uint16_t> pixels(16, 0x7FFF);
    EXPECT_EQ(raster->CreateTexture(4, 4, pixels.data(), 16, 1), 0);
    EXPECT_EQ(raster->CreateTexture(4, 4, pixels.data(), 16, 0), 1);
    EXPECT_EQ(raster->CreateTexture(4, 4, pixels.data(), 16, 1), 2);
    EXPECT_EQ(raster->CreateTexture(0, 4, pixels.data(), 16, 1), -1);

    raster->ReleaseTexturesFrom(1);
    EXPECT_EQ(raster->GetTextureCount(), 1);
    EXPECT_EQ(raster->CreateTexture(2, 2, pixels.data(), 16, 1), 1);

    // A released entry keeps its index but draws nothing and reports no size.
    raster->ReleaseTexture(0);
    raster->ClearBackBuffer(0x1111);
    raster->BeginFrame();
    EXPECT_TRUE(raster->DrawTexture(0, 0, 0, 4, 4, 1.0f, 0));
    Render(*raster);
    EXPECT_EQ(PixelAt(*raster, 0, 0), 0x1111);
    EXPECT_EQ(raster->GetTextureWidth(0), 0);

    // Queued, then the whole table is released before the frame is drawn: nothing is drawn.
    raster->BeginFrame();
    EXPECT_TRUE(raster->DrawTexture(1, 0, 0, 4, 4, 1.0f, 0));
    raster->ReleaseTexturesFrom(0);
    EXPECT_EQ(raster->GetTextureCount(), 0);
    Render(*raster);
    EXPECT_EQ(PixelAt(*raster, 0, 0), 0x1111);
    EXPECT_FALSE(raster->DrawTexture(0, 0, 0, 4, 4, 1.0f, 0));
}

TEST(RasterTextures, TableIsFullAt2048)
{
    auto raster = StartRaster(Mode565(8, 8));
    const std::uint16_t pixel = 1;
    for (int i = 0; i < MAXTEXTURES; ++i) {
        ASSERT_EQ(raster->CreateTexture(1, 1, &pixel, 16, 0), i);
    }
    EXPECT_EQ(raster->CreateTexture(1, 1, &pixel, 16, 0), -1);
    RasterBitmap bitmap{1, 1, {0xFFFFFF}};
    EXPECT_EQ(raster->CreateTextureFromBitmap(0, 0, &bitmap, 24, false, false), -1);
    for (int i = 0; i < MAX_SECOND_TEXTURES; ++i) {
        ASSERT_EQ(raster->CreateTextureFromBitmap(0, 0, &bitmap, 24, false, true), i);
    }
    EXPECT_EQ(raster->CreateTextureFromBitmap(0, 0, &bitmap, 24, false, true), -1);
    raster->ReleaseSecondTextures();
    EXPECT_EQ(raster->GetSecondTextureCount(), 0);
}

TEST(RasterTextures, SizeQueriesOnEveryKindOfEntry)
{
    auto raster = StartRaster(Mode565(8, 8));
    const std::vector<std::uint16_t> pixels(6 * 5, 1);
    RasterBitmap bitmap{3, 7, std::vector<std::uint32_t>(21, 0xFFFFFF)};
    struct Case {
        int index;
        int width;
        int height;
    };
    const Case cases[] = {
        {raster->CreateTexture(6, 5, pixels.data(), 16, 1), 6, 5},
        {raster->CreateTexture(5, 6, pixels.data(), 16, 0), 5, 6},  // converted only, as loadsprite makes them
        {raster->CreateTexture(3, 2, pixels.data(), 16, 2), 3, 2},
        {raster->CreateTexture(2, 3, pixels.data(), 16, 3), 2, 3},
        {raster->CreateTextureFromBitmap(0, 0, &bitmap, 24, false, false), 3, 7},
        {raster->CreateTextureFromBitmap(0, 0, &bitmap, 24, true, false), 7, 3},
    };
    for (const Case& c : cases) {
        int w = 0;
        int h = 0;
        EXPECT_TRUE(raster->GetTextureSize(c.index, w, h)) << c.index;
        EXPECT_EQ(w, c.width) << c.index;
        EXPECT_EQ(h, c.height) << c.index;
        EXPECT_EQ(raster->GetTextureWidth(c.index), c.width);
        EXPECT_EQ(raster->GetTextureHeight(c.index), c.height);
        raster->ReleaseTexture(c.index);
        EXPECT_EQ(raster->GetTextureWidth(c.index), 0);
    }
    EXPECT_NONFATAL_FAILURE(GetRaster()->GetTextureWidth(MAXTEXTURES), "MAXTEXTURES");
}

TEST(RasterSecondTable, FillBlitAndTextCompose)
{
    auto raster = StartRaster(Mode565(8, 8));
    RasterBitmap blank{4, 4, std::vector<std::uint32_t>(16, 0)};
    const int target = raster->CreateTextureFromBitmap(0, 0, &blank, 24, false, true);
    raster->FillTexture(target, 0x0001);
    const std::vector<std::uint16_t> pixels = {0, 0x7FFF, 0x001F, 0x7C00};
    const int source = raster->CreateTexture(2, 2, pixels.data(), 16, 1);

    // Scaled 2x into the whole target, keyed: texel 0 keeps the fill.
    EXPECT_TRUE(raster->BlitTexture(target, RasterRect{0, 0, 4, 4}, source, true, false));
    const std::vector<std::uint16_t>& out = raster->GetSecondTextureEntry(target).handle->pixels;
    const std::vector<std::uint16_t> expected = {1,      1,      0xFFDF, 0xFFDF, 1,      1,      0xFFDF, 0xFFDF,
                                                 0x001F, 0x001F, 0xF800, 0xF800, 0x001F, 0x001F, 0xF800, 0xF800};
    EXPECT_EQ(out, expected);
    EXPECT_FALSE(raster->BlitTexture(target + 1, RasterRect{0, 0, 4, 4}, source, true, false));
    EXPECT_FALSE(raster->BlitTexture(target, RasterRect{0, 0, 4, 4}, source + 1, true, false));

    RasterBitmap wide{40, 20, std::vector<std::uint32_t>(800, 0)};
    const int label = raster->CreateTextureFromBitmap(0, 0, &wide, 24, false, true);
    EXPECT_TRUE(raster->DrawTextOnTexture(u"Hi", label, RasterRect{0, 0, 40, 20}, 4, 0xFFFFFF, 4));
    const std::vector<std::uint16_t>& text = raster->GetSecondTextureEntry(label).handle->pixels;
    EXPECT_GT(std::count(text.begin(), text.end(), 0xFFFF), 3);
}

} // namespace
