#include "cards/CardOverLay.h"

#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/TableScene.h"
#include "engine/core/BitmapFile.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "tests/engine/scene/SceneFixture.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string s_log;

void Capture(std::string_view text)
{
    s_log += text;
}

std::vector<int> Kinds(const CardOverLay& overlay)
{
    std::vector<int> kinds;
    for (const CostSymbol& symbol : overlay.m_ManaSymbols) {
        if (symbol.kind == 0)
            break;
        kinds.push_back(symbol.kind);
    }
    return kinds;
}

TEST(CardOverLayTest, InitCostCases)
{
    struct Case {
        const char* name;
        ManaCost cost;
        bool xSpell;
        std::vector<int> kinds;
        bool error;
    };
    const Case cases[] = {
        {"2GG", ManaCost(2, 0, 2, 0, 0, 0), false, {7, 5, 5}, false},
        {"XR", ManaCost(0, 1, 0, 0, 0, 0), true, {14, 4}, false},
        {"two colours: only the first of white, blue, black, red, green", ManaCost(0, 1, 0, 1, 0, 0), false, {2},
         false},
        {"six symbols stop at five", ManaCost(1, 0, 0, 0, 5, 0), false, {6, 3, 3, 3, 3}, true},
        {"generic 9 clamped to the last generic symbol", ManaCost(9, 0, 0, 0, 0, 1), false, {13, 1}, false},
        {"no cost", ManaCost(), false, {}, false},
    };
    const plat::LogSink previous = plat::SetLogSink(&Capture);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s_log.clear();
        CARD card;
        card.m_CardType = CT_SORCERY;
        card.m_Cost = c.cost;
        card.m_IsXSpell = c.xSpell;
        CardOverLay overlay;
        overlay.Init(card);
        EXPECT_EQ(Kinds(overlay), c.kinds);
        const int n = static_cast<int>(c.kinds.size());
        EXPECT_EQ(overlay.m_CostArea.left, 184 - 12 * n);
        EXPECT_EQ(overlay.m_SmallNameWidth, GetGameDisplay()->GetCardWidth() - 7 * n - 3);
        // Reported once, however far the cost goes past the table.
        EXPECT_EQ(s_log.find("MAX_COST_SYMBOLS") != std::string::npos, c.error);
        EXPECT_EQ(s_log.find("MAX_COST_SYMBOLS"), s_log.rfind("MAX_COST_SYMBOLS"));
    }
    plat::SetLogSink(previous);
}

TEST(CardOverLayTest, FramesAndBordersByColourAndType)
{
    AddTextureName(u"crd_cr_g_lg", 11);
    AddTextureName(u"crd_bl_u_sm", 12);
    AddTextureName(u"fxborder_sart", 13);
    AddTextureName(u"cd_elf_art", 14);
    CARD elf;
    elf.m_Id = 30;
    CopyToField(elf.m_IdName, u"CD_ELF");
    CopyToField(elf.m_Name, u"Elf Scout");
    elf.m_CardType = CT_CREATURE;
    elf.m_Cost = ManaCost(0, 0, 1, 0, 0, 0);
    elf.m_Stats.power = 1;
    elf.m_Stats.toughness = 2;
    CardOverLay overlay;
    overlay.Init(elf);
    EXPECT_EQ(overlay.m_LargeFrameTexture, 11);
    EXPECT_EQ(overlay.m_ArtTexture, 14);
    EXPECT_EQ(std::u16string(overlay.m_UpperName.data()), u"ELF SCOUT");
    EXPECT_EQ(std::u16string(overlay.m_PowerToughness.data()), u"1/2");
    EXPECT_FALSE(overlay.m_DarkFrame);

    // A basic land takes the frame of its cost colour and a dark frame; a colourless card the artifact set.
    CARD island;
    island.m_CardType = CT_LAND;
    island.m_Cost = ManaCost(0, 0, 0, 1, 0, 0);
    CardOverLay land;
    land.Init(island);
    EXPECT_EQ(land.m_SmallFrameTexture, 12);
    EXPECT_TRUE(land.m_DarkFrame);
    EXPECT_TRUE(Kinds(land).empty());
    CARD rock;
    rock.m_CardType = CT_ARTIFACT;
    CardOverLay artifact;
    artifact.Init(rock);
    EXPECT_EQ(artifact.m_SmallBorderTexture, 13);
    for (const char16_t* name : {u"crd_cr_g_lg", u"crd_bl_u_sm", u"fxborder_sart", u"cd_elf_art"})
        RemoveTextureName(name);
}

TEST(CardOverLayTest, OneOverlayPerIdentifierUntilReleased)
{
    CARD card;
    card.m_Id = 40;
    card.m_CardType = CT_INSTANT;
    CardActor actor;
    actor.SetCard(&card);
    CardOverLay* const first = GetCardOverlay(card);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetCardOverlay(actor), first);
    CARD outside;
    outside.m_Id = CD_NUMBER_OF_CARD_DEFS;
    EXPECT_EQ(GetCardOverlay(outside), nullptr);
    ReleaseCardOverlays();
}

// A scene of 320 by 300 with the small-card assets of a green creature.
class CardFaceTest : public test::SceneFixture {
protected:
    CardFaceTest()
    {
        m_DesktopWidth = 320;
        m_DesktopHeight = 300;
    }

    void SetUp() override
    {
        test::SceneFixture::SetUp();
        GetRaster()->SetActive(true);
        s_ClientWidth = m_DesktopWidth;
        s_ClientHeight = m_DesktopHeight;
        Write("data/frames/blackness_sm.bmp", test::SolidBmp(66, 98, 0));
        Write("data/frames/blackness_lg.bmp", test::SolidBmp(192, 280, 0));
        Write("data/frames/crd_cr_g_sm.bmp", test::SolidBmp(66, 98, 0x00A000));
        Write("data/symbols/mana_g_sm.bmp", test::SolidBmp(7, 7, 0xFF00FF));
        Write("art.bmp", test::SolidBmp(20, 20, 0x0000F8));
        LoadSmallCardSymbols();
        AddTextureName(u"cd_elf_art", GetGameDisplay()->LoadBitmapTexture(u"art.bmp"));
        m_Elf.m_Id = 30;
        CopyToField(m_Elf.m_IdName, u"CD_ELF");
        CopyToField(m_Elf.m_Name, u"Elf");
        m_Elf.m_CardType = CT_CREATURE;
        m_Elf.m_Cost = ManaCost(0, 0, 1, 0, 0, 0);
        m_Elf.m_Stats.power = 1;
        m_Elf.m_Stats.toughness = 1;
    }

    void TearDown() override
    {
        ReleaseSmallCardAssets();
        RemoveTextureName(u"cd_elf_art");
        test::SceneFixture::TearDown();
    }

    CARD m_Elf;
};

TEST_F(CardFaceTest, SmallCardComposesFrameArtAndCostSymbolsIntoTheSavedFile)
{
    CardOverLay overlay;
    overlay.Init(m_Elf);
    ASSERT_TRUE(overlay.RenderSmallCard(u"elf.bmp"));
    RasterBitmap saved;
    ASSERT_TRUE(LoadBitmapFile(u"elf.bmp", saved));
    ASSERT_EQ(saved.width, 66);
    ASSERT_EQ(saved.height, 98);
    const auto green = [](std::uint32_t p) { return (p & 0xFF00FF) < 0x100000 && (p & 0x00FF00) >= 0x009000; };
    EXPECT_TRUE(green(saved.At(1, 96)));                      // the frame
    EXPECT_EQ(saved.At(30, 30) & 0xF8F8F8, 0x0000F8u);        // the art, stretched into its box
    const int symbolX = overlay.m_SmallNameWidth + 3;         // one green symbol right of the name
    EXPECT_EQ(saved.At(symbolX, 7) & 0xF8F8F8, 0xF800F8u);
}

// The rules and flavour text of a small card lie in its text box, below the type strip (row 65) and down to the
// box's end (row 92): five lines show whole, as on the large face.
TEST_F(CardFaceTest, SmallCardTextFillsItsBoxBelowTheTypeStrip)
{
    AddFormattedText(u"COText_CD_ELF", u"One line|Two lines|Three lines|Four lines|Five lines");
    CardOverLay overlay;
    overlay.Init(m_Elf);
    overlay.SetCloseUpText(u"COText_CD_ELF");
    ASSERT_TRUE(overlay.RenderSmallCard(u"elf.bmp"));
    RasterBitmap saved;
    ASSERT_TRUE(LoadBitmapFile(u"elf.bmp", saved));
    const std::uint32_t frame = saved.At(1, 90);
    // Rows with text left of the power/toughness, in the frame's solid green below the art.
    const auto textIn = [&](int top, int bottom) {
        int rows = 0;
        for (int y = top; y < bottom; ++y) {
            bool text = false;
            for (int x = 4; x < 40; ++x)
                text = text || saved.At(x, y) != frame;
            rows += text ? 1 : 0;
        }
        return rows;
    };
    EXPECT_EQ(textIn(56, 65), 0) << "text over the type strip";
    EXPECT_GT(textIn(86, 93), 1) << "the fifth line is cut";
    EXPECT_EQ(textIn(93, 97), 0);
}

TEST_F(CardFaceTest, SmallCardIsNotComposedWithoutItsTemplate)
{
    ReleaseSmallCardAssets();
    CardOverLay overlay;
    overlay.Init(m_Elf);
    EXPECT_FALSE(overlay.RenderSmallCard(u"elf.bmp"));
    EXPECT_FALSE(plat::IsReadable(u"elf.bmp"));
}

TEST_F(CardFaceTest, PopupMeasuresOnItsFirstFrameAndStaysOnScreen)
{
    AddFormattedText(u"POP_CD_ELF", u"~Elf~ |Creature |A small elf that taps for nothing at all.");
    CardOverLay overlay;
    overlay.Init(m_Elf);
    overlay.SetPopupText(u"POP_CD_ELF");
    RasterRect window{10, 20, 76, 118};
    RasterRect popup;
    overlay.DrawPopup(popup, &window);
    EXPECT_EQ(popup.Height(), 0);  // the first frame only measures
    const int height = overlay.m_PopupHeight;
    ASSERT_GT(height, 2);

    struct Case {
        const char* name;
        RasterRect window;
        RasterRect expected;
    };
    const Case cases[] = {
        {"below the window", {10, 20, 76, 118}, {14, 120, 188, 120 + height}},
        {"above it near the bottom edge", {10, 280 - height, 76, 298}, {14, 278 - 2 * height, 188, 280 - height - 2}},
        {"shifted left near the right edge", {200, 20, 266, 118}, {142, 120, 316, 120 + height}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        overlay.DrawPopup(popup, &c.window);
        EXPECT_EQ(popup.left, c.expected.left);
        EXPECT_EQ(popup.top, c.expected.top);
        EXPECT_EQ(popup.right, c.expected.right);
        EXPECT_EQ(popup.bottom, c.expected.bottom);
    }
    RasterRect free{5, 6, 0, 0};
    overlay.DrawPopup(free, nullptr);
    EXPECT_EQ(free.left, 5);
    EXPECT_EQ(free.bottom, 6 + height);
}

TEST_F(CardFaceTest, LargeFaceShowsChangedPowerAndToughnessInRed)
{
    CardOverLay overlay;
    overlay.Init(m_Elf);
    CardActor elf;
    elf.SetCard(&m_Elf);
    const auto redPixels = [&](int power) {
        elf.GetStats().power = power;
        Raster& raster = *GetRaster();
        raster.BeginFrame();
        raster.ClearBackBuffer(0xFFFF);
        overlay.Draw(RasterRect{0, 0, 192, 280}, &elf, OVERLAY_LARGE_FACE, 100.0f);
        raster.EndFrame();
        const PixelTarget target = raster.BackBuffer();
        int count = 0;
        for (int y = 253; y < 273; ++y) {
            for (int x = 142; x < 189; ++x) {
                if (target.pixels[static_cast<std::size_t>(y) * target.pitch + x] == 0xF800)
                    ++count;
            }
        }
        return count;
    };
    EXPECT_EQ(redPixels(1), 0);
    EXPECT_GT(redPixels(3), 0);
}

} // namespace

