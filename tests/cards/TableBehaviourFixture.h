// A table scene for the card behaviours: an 800 x 600 client, a game mode, the stepped clock, and helpers that
// put registered card actors in the hand and card windows under the mouse.
#pragma once

#include "cards/CardActor.h"
#include "cards/CardWindow.h"
#include "cards/CardWindows.h"
#include "cards/TableInput.h"
#include "cards/TableScene.h"
#include "engine/core/Easing.h"
#include "engine/scene/FrameState.h"
#include "gamestate/Intro.h"
#include "gamestate/PlayerActors.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"
#include "lessons/TableFlow.h"
#include "tests/engine/scene/SceneFixture.h"

#include <memory>
#include <vector>

namespace tabletest {

class TableBehaviourTest : public test::SceneFixture {
protected:
    TableBehaviourTest()
    {
        m_DesktopWidth = 800;
        m_DesktopHeight = 600;
    }

    void SetUp() override
    {
        SceneFixture::SetUp();
        GetGUIManager()->SetHWnd(true);
        s_ClientWidth = 800;
        s_ClientHeight = 600;
        SetMode(1);
        plat::headless::SetTime(10000);
        ResetTableInput();
        GetTableFlow() = TableFlowState();
        MouseState = MouseRecord();
        MarkIntroEnded();
        // Overlays left by an earlier test may point into texts and definitions it has emptied.
        ReleaseCardOverlays();
        // No layout has run: an earlier test's preview rectangle would turn a hover into a fixed zoom.
        GetGameDisplay()->m_PreviewRect = RasterRect{};
    }

    void TearDown() override
    {
        DestroyAllCardWindows();
        SetPlayerActors(nullptr, nullptr);
        SetDraggedCard(nullptr);
        ResetTableInput();
        GetTableFlow() = TableFlowState();
        MouseState = MouseRecord();
        g_FrameMilliseconds = 0.0f;
        GetGUIManager()->SetHWnd(false);
        ReleaseCardOverlays();
        SceneFixture::TearDown();
    }

    static void SetMode(int mode)
    {
        s_GameMode = mode;
        s_RequestedGameMode = mode;
    }

    static CardActor* NewCard(int owner = 0)
    {
        CardActor* const card = AsCardActor(CreateActor(ACTOR_TYPE_CARD));
        card->SetOwner(owner);
        card->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
        RegisterActor(card);
        return card;
    }

    static CardActor* NewHandCard()
    {
        CardActor* const card = NewCard(0);
        card->SetHeld(true);
        card->SetInLibrary(false);
        return card;
    }

    // A registered card window over the rectangle, showing the card, as the table makes them.
    GUI_Window* ShowCardWindow(CardActor* card, int left, int top, int right, int bottom)
    {
        return CreateCardWindowAt(card, left, top, right - left, bottom - top);
    }

    static void MouseAt(int x, int y)
    {
        MouseState.x = x;
        MouseState.y = y;
    }

};

} // namespace tabletest
