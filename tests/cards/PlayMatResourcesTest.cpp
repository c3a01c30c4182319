#include "cards/PhysQuitButton.h"
#include "cards/TableScene.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "gui/OldDialog.h"
#include "gui/QuitButton.h"
#include "tests/engine/scene/SceneFixture.h"

#include <gtest/gtest.h>

namespace {

// The toolkit loads the physical quit button's images through the display.
class PlayMatResourcesTest : public test::SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
        GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
    }

    void TearDown() override
    {
        DestroyPhysQuitButton();
        GUI_System::ClearCallbacks();
        SceneFixture::TearDown();
    }
};

TEST_F(PlayMatResourcesTest, SymbolsAndBordersLoadAndMissingFilesHaveNoSize)
{
    Write("data/symbols/mana_g_lg.bmp", test::SolidBmp(12, 12, 0x00FF00));
    Write("data/frames/CardBack_sm.bmp", test::SolidBmp(40, 56, 0x804020));
    Write("data/borders/TopBrdr.chp", test::ChpFile(800, 10, 1));
    LoadLargeCardSymbols();
    GameDisplay& display = *GetGameDisplay();
    EXPECT_EQ(display.GetTextureRecord(display.m_LargeSymbols[5]).width, 12);
    EXPECT_EQ(display.m_LargeSymbols[1], -1);
    EXPECT_EQ(display.GetZoneImageHeight(38), 10);
    EXPECT_EQ(display.GetZoneImageHeight(41), 0);
    EXPECT_EQ(display.GetTextureRecord(display.m_SmallCardBack).height, 56);
}

TEST_F(PlayMatResourcesTest, SmallCardAssetsLiveOnlyAroundTheLevelScript)
{
    Write("data/frames/blackness_sm.bmp", test::SolidBmp(66, 98, 0));
    Write("data/frames/crd_cr_g_sm.bmp", test::SolidBmp(66, 98, 0x00A000));
    Write("data/symbols/mana_3_sm.bmp", test::SolidBmp(7, 7, 0x808080));
    LoadSmallCardSymbols();
    EXPECT_GE(GetTextureByName(u"SmallCardTemp"), 0);
    EXPECT_GE(GetTextureByName(u"crd_cr_g_sm"), 0);
    EXPECT_GE(GetGameDisplay()->m_SmallSymbols[8], 0);
    EXPECT_GT(GetRaster()->GetSecondTextureCount(), 0);
    ReleaseSmallCardAssets();
    EXPECT_EQ(GetTextureByName(u"smallcardtemp"), 0);
    EXPECT_EQ(GetTextureByName(u"crd_cr_g_sm"), 0);
    EXPECT_EQ(GetGameDisplay()->m_SmallSymbols[8], 0);
}

TEST_F(PlayMatResourcesTest, TableGraphicsTakeTheScriptsNamesInThePhysicalLesson)
{
    AddTextureName(u"bg_silver", 5);
    AddTextureName(u"cardglow", 7);
    s_RequestedGameMode = 1;
    LoadTableGraphics();
    GameDisplay& display = *GetGameDisplay();
    EXPECT_EQ(display.GetZoneImage(12), 5);
    EXPECT_EQ(display.GetZoneImage(13), 0);
    EXPECT_EQ(display.m_CardGlow, 7);
    EXPECT_EQ(display.m_FirstDieFrame, -1);
    s_RequestedGameMode = 0;
}

TEST_F(PlayMatResourcesTest, PhysicalLessonGetsItsQuitButtonInTheBottomStrip)
{
    GameDisplay& display = *GetGameDisplay();
    std::vector<std::uint16_t> pixels(60 * 20, 0x1234);
    AddTextureName(u"physquit", display.CreateTextureFromPixels(pixels.data(), 60, 20, 0));
    display.m_Zones[37].rect = RasterRect{0, 560, 800, 600};
    GetGUIManager()->SetHWnd(true);
    s_RequestedGameMode = 1;
    LoadTableGraphics();
    QuitButton* const button = GetPhysQuitButton();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(display.m_QuitButton, button);
    EXPECT_EQ(button->GetName(), u"btnPhysQuit");
    EXPECT_EQ(button->GetLeft(), 5);
    EXPECT_EQ(button->GetTop(), 570);
    EXPECT_EQ(button->GetWidth(), 60);
    EXPECT_EQ(button->GetHeight(), 20);
    EXPECT_TRUE(GetGUIManager()->IsRegistered(button));
    EXPECT_EQ(button->GetClickEffect(), 30u) << "the click sound";
    EXPECT_TRUE(button->HasShadow()) << "the label's shadow";

    // A re-layout moves it with the strip.
    display.m_Zones[37].rect = RasterRect{0, 700, 1024, 740};
    PlacePhysQuitButton();
    EXPECT_EQ(button->GetTop(), 710);

    s_RequestedGameMode = 3;
    LoadTableGraphics();
    EXPECT_EQ(GetPhysQuitButton(), nullptr) << "the online lesson has none";
    EXPECT_EQ(display.m_QuitButton, nullptr);
    s_RequestedGameMode = 0;
    GetGUIManager()->SetHWnd(false);
}

TEST_F(PlayMatResourcesTest, MessageWindowsTakeTheSceneFramePieces)
{
    GameDisplay& display = *GetGameDisplay();
    OldDialog* const before = display.GetMessageDialog(2);
    const std::array<int, FRAME_TEXTURE_COUNT> frame{11, 12, 13, 14, 15, 16, 17, 18, 19};
    display.SetMessageFrameTextures(frame);
    OldDialog* const after = display.GetMessageDialog(7);
    for (int piece = 0; piece < FRAME_TEXTURE_COUNT; ++piece) {
        EXPECT_EQ(before->GetFrameTexture(piece), frame[static_cast<std::size_t>(piece)]);
        EXPECT_EQ(after->GetFrameTexture(piece), frame[static_cast<std::size_t>(piece)]);
    }
}

} // namespace
