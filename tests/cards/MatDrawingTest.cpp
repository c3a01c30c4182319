#include "engine/raster/Raster.h"
#include "engine/raster/RasterTypes.h"
#include "rules/PlayerState.h"
#include "tests/cards/TableDrawFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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
        display.m_TableLaidOut = false;
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
    EXPECT_TRUE(display.m_TableLaidOut) << "the drivers wait for a table laid out once, not for the layout's frame";
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

// What the last frame drew of these textures, in drawing order (back to front).
std::vector<int> DrawnOf(const std::vector<int>& textures)
{
    Raster& raster = *GetRaster();
    raster.EndFrame();
    std::vector<int> drawn;
    for (const DrawPrimitive& record : raster.GetFramePrimitives()) {
        const bool texture = (record.flags & (PRIM_FILL | PRIM_TEXT | PRIM_TRIANGLE)) == 0;
        if (texture && std::find(textures.begin(), textures.end(), record.item) != textures.end())
            drawn.push_back(record.item);
    }
    raster.BeginFrame();
    return drawn;
}

// Online the portraits fill the panels and a life gain's heartbeat beats over the learner's; the physical panels
// lie over the CPU's hand backs and the learner's lands and show no portrait, and keep their size.
TEST_F(MatDrawingTest, PortraitsAndTheirHeartbeatShowOnlyOnline)
{
    struct Case {
        int mode;
        std::vector<int> drawn;
    };
    GameDisplay& display = *GetGameDisplay();
    const int portrait = Image(20, 20);
    const int heart = Image(20, 20);
    const int panel = Image(8, 8);
    // Online the panel's own image is the portrait too: the panel, the portrait in front, the heart over it.
    for (const Case& c : {Case{3, {portrait, portrait, heart}}, Case{1, {}}}) {
        s_GameMode = c.mode;
        display.m_SceneTag = 1;
        display.m_ScreenId = 11;
        display.SetZoneImage(3, panel);
        display.m_Zones[3] = MatZone{4, RasterRect{10, 10, 30, 30}};
        display.SetAvatarImage(portrait, PLAYER_HUMAN);
        display.SetAvatarOverlay(heart, PLAYER_HUMAN);
        EXPECT_EQ(display.GetZoneImage(3), c.mode == 3 ? portrait : panel) << "mode " << c.mode;
        GetRaster()->BeginFrame();
        display.DrawMatAndHud();
        EXPECT_EQ(DrawnOf({portrait, heart}), c.drawn) << "mode " << c.mode;
    }
    display.SetAvatarImage(-1, PLAYER_HUMAN);
}

} // namespace
