#include "engine/raster/Raster.h"
#include "rules/PlayerState.h"
#include "tests/cards/TableDrawFixture.h"

#include <gtest/gtest.h>

namespace {

class MatDrawingTest : public tabletest::TableDrawFixture {
protected:
    void SetUp() override
    {
        TableDrawFixture::SetUp();
        ResetPlayerStates();
        GameDisplay& display = *GetGameDisplay();
        display.m_RelayoutRequested = false;
        display.m_LayoutDone = false;
    }
};

TEST_F(MatDrawingTest, ARelayoutRunsOnOneFrameAndIsDroppedOnTheNext)
{
    GameDisplay& display = *GetGameDisplay();
    display.m_RelayoutRequested = true;
    display.DrawMatAndHud();
    EXPECT_TRUE(display.m_RelayoutRequested);
    EXPECT_TRUE(display.m_LayoutDone);
    display.DrawMatAndHud();
    EXPECT_FALSE(display.m_RelayoutRequested);
    EXPECT_FALSE(display.m_LayoutDone);
    display.DrawMatAndHud();
    EXPECT_FALSE(display.m_LayoutDone);
}

TEST_F(MatDrawingTest, FirstMenuScreensDrawNoMat)
{
    GameDisplay& display = *GetGameDisplay();
    display.m_ScreenId = 2;
    display.m_SceneTag = 0;
    display.m_ZoneImages.fill(Image(8, 8));
    for (MatZone& zone : display.m_Zones) {
        zone.kind = 2;
        zone.rect = RasterRect{0, 0, 16, 16};
    }
    Raster& raster = *GetRaster();
    const int before = raster.GetQueuedCount();
    display.DrawMatAndHud();
    EXPECT_EQ(raster.GetQueuedCount(), before);
    display.m_ScreenId = 6;
    display.DrawMatAndHud();
    EXPECT_GT(raster.GetQueuedCount(), before) << "later menu screens draw their frame";
    display.m_Zones = {};
}

// Online, the CPU's graveyard pile point at (100, 100): its hot rectangle runs to (140, 150).
TEST_F(MatDrawingTest, OnlineGraveyardClicksOpenAndCloseTheList)
{
    GameDisplay& display = *GetGameDisplay();
    s_GameMode = 3;
    display.m_SceneTag = 1;
    display.m_ScreenId = 11;
    display.m_MatScale = 1.0f;
    display.m_PilePoints[5] = MatPoint{100, 100};
    display.m_PilePoints[2] = MatPoint{100, 400};
    display.m_Zones[18].rect = RasterRect{200, 50, 500, 250};
    display.m_GraveyardOpen = {false, false};

    Click(140, 150);
    display.DrawMatAndHud();
    EXPECT_TRUE(display.m_GraveyardOpen[PLAYER_CPU]);
    EXPECT_FALSE(display.m_GraveyardOpen[PLAYER_HUMAN]);
    EXPECT_EQ(MouseState.leftClicked, 0);
    EXPECT_NE(MouseState.clickConsumed, 0);

    Click(141, 150);
    display.DrawMatAndHud();
    EXPECT_TRUE(display.m_GraveyardOpen[PLAYER_CPU]) << "outside the hot rectangle";
    EXPECT_NE(MouseState.leftClicked, 0);

    Click(470, 60);  // the list's close box: (457, 50)-(477, 70)
    display.DrawMatAndHud();
    EXPECT_FALSE(display.m_GraveyardOpen[PLAYER_CPU]);
    EXPECT_EQ(MouseState.leftClicked, 0);

    Click(110, 410);
    display.DrawMatAndHud();
    EXPECT_TRUE(display.m_GraveyardOpen[PLAYER_HUMAN]);
    Click(110, 410);
    display.DrawMatAndHud();
    EXPECT_FALSE(display.m_GraveyardOpen[PLAYER_HUMAN]) << "a second click closes it";
}

} // namespace
