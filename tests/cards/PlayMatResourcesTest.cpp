#include "cards/TableScene.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "tests/engine/scene/SceneFixture.h"

#include <gtest/gtest.h>

namespace {

using PlayMatResourcesTest = test::SceneFixture;

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

} // namespace
