#include "engine/core/BitmapFile.h"
#include "engine/scene/ChpFile.h"
#include "engine/scene/GameDisplay.h"

#include "tests/engine/scene/SceneFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using test::SceneFixture;

class TextureRegistryTest : public SceneFixture {
protected:
    static GameDisplay& Display() { return *GetGameDisplay(); }
    // The top-left texel of a raster texture, in the back buffer's 5-6-5 format.
    static std::uint16_t Texel(int id) { return GetRaster()->GetTextureEntry(id).handle->pixels[0]; }
};

TEST_F(TextureRegistryTest, TextureZeroIsTransparent)
{
    EXPECT_EQ(Display().GetTextureCount(), 1);
    EXPECT_EQ(Display().GetTextureRecord(0).width, 1);
    EXPECT_EQ(Texel(0), 0);
    // Every later scene makes it again after the release.
    Display().ReleaseAll();
    Display().InitDisplay(false);
    EXPECT_EQ(Display().GetTextureCount(), 1);
    EXPECT_EQ(GetRaster()->GetTextureCount(), 1);
}

TEST_F(TextureRegistryTest, TheSamePathSharesOneTextureByReference)
{
    Write("Pic.bmp", test::SolidBmp(3, 2, 0x0000FF));
    const int id = Display().LoadBitmapTexture(u"Pic.bmp");
    ASSERT_GT(id, 0);
    EXPECT_EQ(Display().LoadBitmapTexture(u"PIC.BMP"), id);
    EXPECT_EQ(Display().GetTextureRecord(id).references, 2);
    EXPECT_EQ(Display().GetTextureRecord(id).width, 3);
    EXPECT_EQ(Display().GetTextureRecord(id).bitsPerPixel, 24);
    EXPECT_EQ(Texel(id), 0x001F);

    Display().ReleaseTexture(id);
    EXPECT_EQ(Display().GetTextureRecord(id).references, 1);
    EXPECT_TRUE(GetRaster()->GetTextureEntry(id).handle);
    Display().ReleaseTexture(id);
    EXPECT_EQ(Display().GetTextureRecord(id).references, 0);
    EXPECT_FALSE(GetRaster()->GetTextureEntry(id).handle);
    EXPECT_FALSE(Display().GetTextureRecord(id).name);

    // Released rows stay; extra releases and bad ids are ignored.
    Display().ReleaseTexture(id);
    Display().ReleaseTexture(-1);
    Display().ReleaseTexture(MAXTEXTURES + 5);
    EXPECT_EQ(Display().GetTextureRecord(id).references, 0);
    const int again = Display().LoadBitmapTexture(u"pic.bmp");
    EXPECT_EQ(again, id + 1);
}

TEST_F(TextureRegistryTest, UnreadableImagesGiveMinusOneWithoutABoxAndAreNamedOnce)
{
    const test::ScopedLog log;
    Write("empty.bmp", test::SolidBmp(1, 0, 0));
    std::vector<std::uint8_t> cut = test::SolidBmp(8, 8, 0xFFFFFF);
    cut.resize(cut.size() - 1);
    Write("cut.bmp", cut);
    Write("notbmp.bmp", {'X', 'Y', 1, 2, 3});
    Write("short.chp", {0, 0, 0, 0, 1, 0, 4, 0});
    std::vector<std::uint8_t> chp = test::ChpFile(4, 4, 1);
    chp.pop_back();
    Write("cut.chp", chp);
    // Wider than any texture the raster makes: refused before decoding, never fatal.
    Write("wide.bmp", test::SolidBmp(MAX_TEXTURE_SIDE + 1, 1, 0xFFFFFF));
    Write("wide.chp", test::ChpFile(MAX_TEXTURE_SIDE + 1, 1, 1));
    for (const char16_t* path : {u"", u"missing.bmp", u"empty.bmp", u"cut.bmp", u"notbmp.bmp", u"wide.bmp"}) {
        EXPECT_EQ(Display().LoadBitmapTexture(path), -1);
        EXPECT_EQ(Display().LoadTempTexture(path), -1);
    }
    for (const char16_t* path : {u"missing.chp", u"short.chp", u"cut.chp", u"wide.chp"}) {
        EXPECT_EQ(Display().LoadChpTexture(path), -1);
    }
    EXPECT_EQ(Display().GetTextureCount(), 1);
    EXPECT_TRUE(plat::headless::MessageBoxes().empty());
    EXPECT_FALSE(IsQuitRequested());
    // A file that was read but holds no image is named once, however often it is asked for; a missing one is not.
    for (const char* name : {"cut.bmp", "notbmp.bmp", "short.chp", "cut.chp"}) {
        EXPECT_EQ(log.Count(std::string(" ") + name + " cannot be decoded"), 1) << name << log.Text();
    }
    EXPECT_EQ(log.Count("missing"), 0) << log.Text();
}

TEST_F(TextureRegistryTest, ChpFramesShareOneTexture)
{
    const std::vector<std::uint8_t> chp = test::ChpFile(2, 3, 3, 0x7C00);
    Write("one.chp", chp);
    const int single = Display().LoadChpTexture(u"one.chp");
    ASSERT_EQ(single, 1);
    EXPECT_EQ(Display().GetTextureRecord(single).height, 3);
    EXPECT_EQ(Texel(single), 0xF800);

    const std::vector<std::uint8_t> copy = chp;
    EXPECT_EQ(Display().LoadChpFrames(copy.data(), copy.size(), u"ONE.chp"), single);
    EXPECT_EQ(Display().GetTextureRecord(single).references, 4);
    EXPECT_EQ(Display().LoadChpFrames(copy.data(), copy.size() - 1, u"other.chp"), -1);
    const std::vector<std::uint8_t> none = test::ChpFile(2, 3, 0);
    EXPECT_EQ(Display().LoadChpFrames(none.data(), none.size(), u"none.chp"), -1);
    EXPECT_EQ(Display().GetTextureCount(), 2);
}

TEST_F(TextureRegistryTest, KeyedBitmapsMatchNameAndTurn)
{
    RasterBitmap bitmap;
    bitmap.width = 3;
    bitmap.height = 2;
    bitmap.pixels.assign(6, 0xFF0000);
    const int flat = Display().LoadBitmapTextureKeyed(&bitmap, u"card", false);
    const int turned = Display().LoadBitmapTextureKeyed(&bitmap, u"CARD", true);
    EXPECT_NE(flat, turned);
    EXPECT_EQ(Display().LoadBitmapTextureKeyed(&bitmap, u"card", true), turned);
    EXPECT_EQ(Display().GetTextureRecord(turned).width, 3);
    EXPECT_TRUE(Display().GetTextureRecord(turned).rotated);
    EXPECT_EQ(GetRaster()->GetTextureWidth(turned), 2);
    EXPECT_EQ(Display().LoadBitmapTextureKeyed(nullptr, u"x", false), -1);
}

TEST_F(TextureRegistryTest, TheRegistryHoldsAtMost2048Textures)
{
    static const std::uint16_t s_pixel = 0x7FFF;
    for (int i = Display().GetTextureCount(); i < MAXTEXTURES; ++i) {
        ASSERT_EQ(Display().CreateTextureFromPixels(&s_pixel, 1, 1, TEXTURE_KIND_SURFACE), i);
    }
    EXPECT_EQ(Display().CreateTextureFromPixels(&s_pixel, 1, 1, TEXTURE_KIND_SURFACE), -1);
    Write("pic.bmp", test::SolidBmp(2, 2, 0));
    EXPECT_EQ(Display().LoadBitmapTexture(u"pic.bmp"), -1);
    EXPECT_TRUE(plat::headless::MessageBoxes().empty());
}

TEST_F(TextureRegistryTest, RasterFailureIsFatal)
{
    static const std::uint16_t s_pixel = 0;
    EXPECT_EQ(Display().CreateTexture(100000, 1, u"huge.chp", &s_pixel, 16, TEXTURE_KIND_SURFACE), -1);
    ASSERT_EQ(plat::headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(plat::headless::MessageBoxes()[0].text, u"huge.chp");
    EXPECT_EQ(plat::headless::MessageBoxes()[0].caption, u"Error Loading Texture");
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_EQ(QuitExitCode(), 1);
    EXPECT_EQ(Display().GetTextureCount(), 1);
}

TEST_F(TextureRegistryTest, DeviceLossReloadsEveryTextureUnderItsId)
{
    Write("UPPER.BMP", test::SolidBmp(2, 2, 0x00FF00));
    Write("frames.chp", test::ChpFile(2, 2, 2, 0x001F));
    static const std::uint16_t s_pixels[2] = {0x03E0, 0x03E0};
    const int bmp = Display().LoadBitmapTexture(u"UPPER.BMP");
    const std::vector<std::uint8_t> chp = test::ChpFile(2, 2, 2, 0x001F);
    const int chpId = Display().LoadChpFrames(chp.data(), chp.size(), u"frames.chp");
    const int pixels = Display().CreateTextureFromPixels(s_pixels, 2, 1, TEXTURE_KIND_SURFACE);
    // A 4-4-4-4 texture: its alpha-0 texel must stay the colour key after the reload.
    static const std::uint16_t s_argb[2] = {0x0FFF, 0xF00F};
    const int argb = Display().CreateTextureFromPixels(s_argb, 2, 1, TEXTURE_KIND_ARGB4444);
    Write("gone.bmp", test::SolidBmp(2, 2, 0xFFFFFF));
    const int released = Display().LoadBitmapTexture(u"gone.bmp");
    Display().ReleaseTexture(released);
    const std::vector<std::uint16_t> before = {Texel(bmp), Texel(chpId), Texel(pixels)};
    ASSERT_EQ(before, (std::vector<std::uint16_t>{0x07E0, 0x001F, 0x07C0}));

    plat::headless::LoseSurfaces();
    GetRaster()->BeginFrame();
    GetRaster()->EndFrame();
    EXPECT_EQ((std::vector<std::uint16_t>{Texel(bmp), Texel(chpId), Texel(pixels)}), before);
    EXPECT_EQ(GetRaster()->GetTextureEntry(argb).converted[0], 0);
    EXPECT_EQ(GetRaster()->GetTextureEntry(argb).converted[1], 0x001E);
    EXPECT_EQ(Display().GetTextureCount(), 6);
    EXPECT_EQ(Texel(0), 0);
}

TEST_F(TextureRegistryTest, ReleaseAllForgetsTheScene)
{
    Write("pic.bmp", test::SolidBmp(2, 2, 0));
    const int id = Display().LoadBitmapTexture(u"pic.bmp");
    static const std::uint8_t s_font[CHP_HEADER_SIZE + 16 * 16 * 2] = {};
    Display().LoadGameFont(s_font, sizeof s_font, 1);
    Display().LoadBigGameFont2(s_font, sizeof s_font, 1);
    Display().LoadFont8(s_font, sizeof s_font, 1);
    Display().m_BackgroundTextures = {id, id};
    ASSERT_GT(Display().m_GameFont, 0);
    Display().ReleaseAll();
    Display().InitDisplay(false);
    // A scene that loads no font or background must not draw the last scene's textures.
    for (const int slot : {Display().m_Font8, Display().m_GameFont, Display().m_GameFont2, Display().m_BigGameFont,
                           Display().m_BigGameFont2, Display().m_SpareFont, Display().m_BackgroundTextures[0],
                           Display().m_BackgroundTextures[1]}) {
        EXPECT_EQ(slot, -1);
    }
    EXPECT_EQ(Display().LoadBitmapTexture(u"pic.bmp"), id);
    EXPECT_EQ(Display().GetTextureRecord(id).references, 1);
}

TEST(BitmapFileTest, DecodesTheSupportedFormats)
{
    // 2 by 2 pictures, rows from the bottom, each padded to 4 bytes.
    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
        std::vector<std::uint32_t> expected;  // rows from the top
    };
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    const Case cases[] = {
        {"1 bit", test::BmpFile(2, 2, 1, {0x000000, 0xFFFFFF}, {0x40, 0, 0, 0, 0x80, 0, 0, 0}),
         {0xFFFFFF, 0, 0, 0xFFFFFF}},
        {"4 bits", test::BmpFile(2, 2, 4, palette, {0x12, 0, 0, 0, 0x30, 0, 0, 0}), {0x0000FF, 0, 0xFF0000, 0x00FF00}},
        {"8 bits", test::BmpFile(2, 2, 8, palette, {3, 9, 0, 0, 1, 2, 0, 0}), {0xFF0000, 0x00FF00, 0x0000FF, 0}},
        {"16 bits", test::BmpFile(2, 2, 16, {}, {0x00, 0x7C, 0x1F, 0x00, 0xE0, 0x03, 0xFF, 0x7F}),
         {0x00FF00, 0xFFFFFF, 0xFF0000, 0x0000FF}},
        {"16 bits 5-6-5", test::BmpFile(2, 2, 16, {}, {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0}, 3, {0xF800, 0x07E0, 0x1F}),
         {0x00FF00, 0, 0xFF0000, 0}},
        {"24 bits", test::BmpFile(2, 2, 24, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}),
         {0x090807, 0x0C0B0A, 0x030201, 0x060504}},
        {"32 bits", test::BmpFile(2, 2, 32, {}, {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0}),
         {0x090807, 0x0C0B0A, 0x030201, 0x060504}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RasterBitmap bitmap;
        ASSERT_TRUE(DecodeBitmap(c.file.data(), c.file.size(), bitmap));
        EXPECT_EQ(bitmap.width, 2);
        EXPECT_EQ(bitmap.height, 2);
        EXPECT_EQ(bitmap.pixels, c.expected);
    }
}

TEST(BitmapFileTest, RefusesShortOrHostileFiles)
{
    const std::vector<std::uint8_t> good = test::SolidBmp(4, 4, 0x123456);
    RasterBitmap bitmap;
    ASSERT_TRUE(DecodeBitmap(good.data(), good.size(), bitmap));
    for (std::size_t size = 0; size < good.size(); ++size) {
        EXPECT_FALSE(DecodeBitmap(good.data(), size, bitmap)) << size;
    }
    struct Patch {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
    };
    const Patch patches[] = {
        {"data offset past the end", 10, 0xFFFFFFF0},
        {"huge width", 18, 0x7FFFFFFF},
        {"negative width", 18, 0xFFFFFFFF},
        {"huge height", 22, 0x40000000},
        {"most negative height", 22, 0x80000000},
        {"header size past the end", 14, 0x10000},
        {"RLE compression", 30, 1},
        {"bit count 3", 28, 3},
    };
    for (const Patch& patch : patches) {
        std::vector<std::uint8_t> bad = good;
        for (int i = 0; i < 4; ++i) {
            if (patch.offset + i < bad.size()) {
                bad[patch.offset + i] = static_cast<std::uint8_t>(patch.value >> (8 * i));
            }
        }
        if (patch.offset == 28) {
            bad[30] = 0;
            bad[31] = 0;
        }
        EXPECT_FALSE(DecodeBitmap(bad.data(), bad.size(), bitmap)) << patch.what;
    }
    // A palette that claims more colours than the file holds.
    std::vector<std::uint8_t> paletted = test::BmpFile(1, 1, 8, {0xFFFFFF}, {0, 0, 0, 0});
    paletted[46] = 0;
    paletted[47] = 1;
    EXPECT_FALSE(DecodeBitmap(paletted.data(), paletted.size(), bitmap));
}

TEST(ChpFileTest, ChecksSizesAgainstTheData)
{
    const std::vector<std::uint8_t> chp = test::ChpFile(3, 2, 2);
    ChpImage image;
    ASSERT_TRUE(ParseChp(chp.data(), chp.size(), true, image));
    EXPECT_EQ(image.frameCount, 2);
    EXPECT_EQ(image.Frame(1) - image.pixels, 6);
    EXPECT_FALSE(ParseChp(chp.data(), chp.size() - 1, true, image));
    EXPECT_TRUE(ParseChp(chp.data(), 10 + 12, false, image));
    EXPECT_FALSE(ParseChp(chp.data(), 10 + 11, false, image));
    EXPECT_FALSE(ParseChp(nullptr, 100, false, image));
    const std::vector<std::uint8_t> zero = test::ChpFile(0, 5, 1);
    EXPECT_FALSE(ParseChp(zero.data(), zero.size(), false, image));
}

} // namespace
