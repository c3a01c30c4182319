// Card windows: what they draw, the frame's list of them, and the graveyard lists of both lesson flavours.
#include "cards/CardActor.h"
#include "cards/CardWindow.h"
#include "cards/CardWindows.h"
#include "engine/scene/FrameState.h"
#include "gamestate/Intro.h"
#include "gui/GUI_Manager.h"
#include "lessons/Advice.h"
#include "cards/GraveyardDialog.h"
#include "rules/BoardQueries.h"
#include "rules/PlayerState.h"
#include "tests/gui/GuiFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class CardWindowsTest : public guitest::GuiFixture {
protected:
    void SetUp() override
    {
        guitest::GuiFixture::SetUp();
        MarkIntroEnded();
    }

    void TearDown() override
    {
        // The test's cards are gone by now: empty the graveyards before closing the lists.
        for (int player = 0; player < 2; ++player) {
            GetPlayerState(player)->m_Graveyard.fill(nullptr);
            GetPlayerState(player)->m_GraveyardCount = 0;
            CloseGraveyardDialog(player);
        }
        DestroyAllCardWindows();
        GetCloseUpWindow()->SetCardActor(nullptr);
        SetMistimedCard(nullptr);
        s_GameMode = 0;
        guitest::GuiFixture::TearDown();
    }

    static CardWindow* WindowAt(int x, int y)
    {
        GUI_Window* const window = GetGUIManager()->GetWindowAt(x, y);
        return window != nullptr && window->GetKind() == GUI_KIND_CARD ? static_cast<CardWindow*>(window) : nullptr;
    }
};

TEST_F(CardWindowsTest, CardWindowDrawsTheFaceOnlyWhenTheActorHasOne)
{
    WriteImage("face.bmp", 8, 8, 0xFF0000);
    CardActor card;
    card.m_Texture = GetGameDisplay()->LoadBitmapTexture(u"face.bmp");
    ASSERT_GE(card.m_Texture, 0);
    CardWindow window;
    window.SetRect(10, 10, 40, 50, true);
    window.SetCardActor(&card);
    const auto redAt = [&](int x, int y) {
        Raster& raster = *GetRaster();
        raster.BeginFrame();
        raster.ClearBackBuffer(0);
        window.DrawBackground();
        raster.EndFrame();
        const PixelTarget target = raster.BackBuffer();
        return target.pixels[static_cast<std::size_t>(y) * target.pitch + x] == 0xF800;
    };
    EXPECT_TRUE(redAt(39, 49));
    EXPECT_FALSE(redAt(41, 49));
    card.m_Texture = -1;
    EXPECT_FALSE(redAt(20, 20));
    window.SetCardActor(nullptr);
    EXPECT_FALSE(redAt(20, 20));
    EXPECT_TRUE(window.HitTest(20, 20));
}

TEST_F(CardWindowsTest, WindowsFollowTheirActorsAndGoWithThem)
{
    CardActor elf;
    CardActor bear;
    elf.m_Position = Vector3{10.7f, 20.2f, 0.0f};
    EXPECT_EQ(CreateCardWindowForActor(nullptr, 30, 40), nullptr);
    CardWindow* const window = CreateCardWindowForActor(&elf, 30, 40);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetLeft(), 10);
    EXPECT_EQ(window->GetBottom(), 60);
    CreateCardWindowAt(&elf, 100, 100, 30, 40);
    CreateCardWindowAt(&bear, 200, 100, 30, 40);
    EXPECT_EQ(WindowAt(15, 25)->GetCardActor(), &elf);

    // A removed actor leaves no window behind, in the list or in the toolkit, the close-up window included.
    GetCloseUpWindow()->SetCardActor(&elf);
    Actor plain(ACTOR_TYPE_PLAIN);
    ReleaseActorCardWindow(&plain);
    EXPECT_EQ(GetCardWindowCount(), 3);
    ReleaseActorCardWindow(&elf);
    EXPECT_EQ(GetCardWindowCount(), 1);
    EXPECT_EQ(WindowAt(15, 25), nullptr);
    EXPECT_EQ(WindowAt(110, 110), nullptr);
    EXPECT_EQ(GetCloseUpWindow()->GetCardActor(), nullptr);
    EXPECT_EQ(WindowAt(210, 110)->GetCardActor(), &bear);

    RebuildCardWindows();
    EXPECT_EQ(GetCardWindowCount(), 0);
    EXPECT_EQ(WindowAt(210, 110), nullptr);
}

TEST_F(CardWindowsTest, CloseUpWindowLiesOverTheCloseUpRectangleWhilePickingIsReady)
{
    CardActor preview;
    GetGameDisplay()->m_PreviewRect = RasterRect{50, 60, 150, 200};
    UpdateCloseUpWindow(&preview, false);
    EXPECT_EQ(WindowAt(100, 100), nullptr);
    UpdateCloseUpWindow(&preview, true);
    ASSERT_NE(WindowAt(100, 100), nullptr);
    EXPECT_EQ(WindowAt(100, 100)->GetCardActor(), &preview);
    RebuildCardWindows();
    EXPECT_EQ(WindowAt(100, 100), nullptr);
}

TEST_F(CardWindowsTest, PhysicalGraveyardDialogs)
{
    s_GameMode = 1;
    OpenGraveyardDialog(0);
    EXPECT_TRUE(IsGraveyardDialogOpen(0));
    OpenGraveyardDialog(1);
    EXPECT_FALSE(IsGraveyardDialogOpen(0));
    EXPECT_TRUE(IsGraveyardDialogOpen(1));
    ToggleGraveyardDialog(1);
    EXPECT_FALSE(IsGraveyardDialogOpen(1));

    // While advice blocks, a list does not open, but an open one still closes.
    CardActor parked;
    SetMistimedCard(&parked);
    ToggleGraveyardDialog(0);
    EXPECT_FALSE(IsGraveyardDialogOpen(0));
    SetMistimedCard(nullptr);
    ToggleGraveyardDialog(0);
    SetMistimedCard(&parked);
    ToggleGraveyardDialog(0);
    EXPECT_FALSE(IsGraveyardDialogOpen(0));
    SetMistimedCard(nullptr);
}

// An open list shows the graveyard as it is now: a card put in appears, a card raised out goes.
TEST_F(CardWindowsTest, AnOpenPhysicalGraveyardListFollowsItsGraveyard)
{
    s_GameMode = 1;
    CardActor first;
    CardActor second;
    OpenGraveyardDialog(PLAYER_HUMAN);
    ASSERT_NE(GetOpenGraveyardDialog(PLAYER_HUMAN), nullptr);
    struct Step {
        const char* name;
        std::function<void()> change;
        int shown;
    };
    const Step steps[] = {
        {"first put in", [&] { PutCardIntoGraveyard(&first); }, 1},
        {"second put in", [&] { PutCardIntoGraveyard(&second); }, 2},
        {"first raised out", [&] { EXPECT_TRUE(RemoveFromGraveyard(&first)); }, 1},
        {"a card not there", [&] { EXPECT_FALSE(RemoveFromGraveyard(&first)); }, 1},
    };
    for (const Step& step : steps) {
        step.change();
        EXPECT_EQ(GetOpenGraveyardDialog(PLAYER_HUMAN)->GetCardCount(), step.shown) << step.name;
    }
    ASSERT_EQ(GetOpenGraveyardDialog(PLAYER_HUMAN)->GetCardCount(), 1);
    EXPECT_EQ(GetOpenGraveyardDialog(PLAYER_HUMAN)->GetCardWindow(0)->GetCardActor(), &second);
    EXPECT_EQ(GetOpenGraveyardDialog(PLAYER_CPU), nullptr);
}

TEST_F(CardWindowsTest, OnlineGraveyardCascadesAndSnapsBack)
{
    s_GameMode = 3;
    GameDisplay& display = *GetGameDisplay();
    display.m_Zones[27].rect = RasterRect{100, 20, 200, 200};
    display.m_PilePoints[2] = MatPoint{5, 6};
    CardActor first;
    CardActor second;
    PlayerState& human = *GetPlayerState(0);
    human.m_Graveyard[0] = &first;
    human.m_Graveyard[1] = &second;
    human.m_GraveyardCount = 2;

    CardActor parked;
    SetMistimedCard(&parked);  // the online lesson does not wait on the physical lesson's advice
    ToggleGraveyardDialog(0);
    EXPECT_TRUE(display.m_GraveyardOpen[0]);
    LayOutOnlineGraveyards();
    EXPECT_EQ(first.m_Position.x, 120.0f);
    EXPECT_EQ(first.m_Position.y, 44.0f);
    EXPECT_EQ(second.m_Position.y, 56.0f);
    EXPECT_EQ(GetCardWindowCount(), 2);
    // The later card lies in front where they overlap.
    EXPECT_EQ(WindowAt(125, 60)->GetCardActor(), &second);

    ToggleGraveyardDialog(0);
    EXPECT_FALSE(display.m_GraveyardOpen[0]);
    EXPECT_EQ(first.m_Position.x, 5.0f);
    EXPECT_EQ(second.m_Position.y, 6.0f);
    SetMistimedCard(nullptr);
}

} // namespace
