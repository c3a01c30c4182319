#include "cards/CardWindows.h"

#include "cards/CardActor.h"
#include "cards/CardWindow.h"
#include "cards/GraveyardDialog.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/AdviceState.h"
#include "gamestate/Intro.h"
#include "gui/GUI_Manager.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

constexpr int PLAYER_COUNT = 2;
// Zones of the mat: the players' panels (the physical lists' rectangles) and the online lists' origins.
constexpr std::array<int, PLAYER_COUNT> PANEL_ZONES = {3, 2};
constexpr std::array<int, PLAYER_COUNT> ONLINE_LIST_ZONES = {27, 18};
// The graveyard pile points among the mat's pile points.
constexpr std::array<int, PLAYER_COUNT> GRAVEYARD_POINTS = {2, 5};
constexpr int GATE_ZOOM = 15;
constexpr int GATE_ZOOM_EARLY = 9;
constexpr float ONLINE_LIST_DEPTH = 350.0f;
constexpr int ONLINE_LIST_STEP = 12;

std::vector<std::unique_ptr<CardWindow>> s_CardWindows;
std::array<std::unique_ptr<GraveyardDialog>, PLAYER_COUNT> s_GraveyardDialogs;

bool IsPlayer(int player)
{
    return player >= 0 && player < PLAYER_COUNT;
}

std::size_t Index(int player)
{
    return static_cast<std::size_t>(player);
}

} // namespace

CardWindow* CreateCardWindowAt(CardActor* actor, int x, int y, int width, int height)
{
    if (actor == nullptr)
        return nullptr;
    s_CardWindows.push_back(std::make_unique<CardWindow>(GUI_KIND_CARD));
    CardWindow* const window = s_CardWindows.back().get();
    window->SetRect(x, y, x + width, y + height, true);
    window->SetCardActor(actor);
    GetGUIManager()->RegisterWindow(window, true);
    return window;
}

CardWindow* CreateCardWindowForActor(CardActor* actor, int width, int height)
{
    if (actor == nullptr)
        return nullptr;
    return CreateCardWindowAt(actor, static_cast<int>(actor->m_Position.x), static_cast<int>(actor->m_Position.y),
                              width, height);
}

void DestroyAllCardWindows()
{
    GetGUIManager()->Clear();
    s_CardWindows.clear();
}

void RebuildCardWindows()
{
    GetGUIManager()->UnregisterMarkedWindows();
    s_CardWindows.clear();
    GetGameDisplay()->UnregisterMessageDialogs();
}

void RemoveCardWindowForActor(Actor* actor)
{
    const CardActor* const card = AsCardActor(actor);
    if (card == nullptr)
        return;
    std::erase_if(s_CardWindows, [card](const std::unique_ptr<CardWindow>& window) {
        if (window->GetCardActor() != card)
            return false;
        GetGUIManager()->UnregisterWindow(window.get());
        return true;
    });
    // The close-up window lives on; it only forgets the actor.
    CardWindow* const closeUp = GetCloseUpWindow();
    if (closeUp->GetCardActor() == card) {
        GetGUIManager()->UnregisterWindow(closeUp);
        closeUp->SetCardActor(nullptr);
    }
}

void ReleaseActorCardWindow(Actor* actor)
{
    RemoveCardWindowForActor(actor);
}

int GetCardWindowCount()
{
    return static_cast<int>(s_CardWindows.size());
}

CardWindow* GetCloseUpWindow()
{
    static CardWindow s_CloseUpWindow(GUI_KIND_CARD);
    return &s_CloseUpWindow;
}

void UpdateCloseUpWindow(CardActor* previewCopy, bool pickingReady)
{
    if (!(IntroGate(GATE_ZOOM) || IntroGate(GATE_ZOOM_EARLY)) || !pickingReady)
        return;
    const RasterRect& rect = GetGameDisplay()->m_PreviewRect;
    CardWindow* const window = GetCloseUpWindow();
    window->SetRect(rect.left, rect.top, rect.right, rect.bottom, true);
    window->SetCardActor(previewCopy);
    GetGUIManager()->RegisterWindow(window, true);
}

void UpdateWindowBindings()
{
    GetGameDisplay()->RegisterMessageDialogs();
}

void OpenGraveyardDialog(int player)
{
    if (!IsPlayer(player))
        return;
    if (IsOnlineLesson()) {
        GetGameDisplay()->m_GraveyardOpen[Index(player)] = true;
        return;
    }
    const int other = 1 - player;
    if (IsGraveyardDialogOpen(other))
        CloseGraveyardDialog(other);
    std::unique_ptr<GraveyardDialog>& dialog = s_GraveyardDialogs[Index(player)];
    GameDisplay& display = *GetGameDisplay();
    if (dialog && display.IsWindowRegistered(dialog.get()))
        return;
    if (!dialog)
        dialog = std::make_unique<GraveyardDialog>(player);
    // The list needs room for a card with its box and buttons; a panel smaller than that (no portrait, or one
    // of portrait size) gives way to the player's play area, which leaves the piles on the mat free.
    RasterRect panel = display.GetZoneRectByIndex(PANEL_ZONES[Index(player)]);
    if (panel.Width() < 2 * display.GetCardWidth() || panel.Height() < 2 * display.GetCardHeight()) {
        if (player == PLAYER_HUMAN)
            display.GetPlayAreaRect(panel);
        else
            display.GetOpponentPlayArea(panel);
    }
    dialog->SetRect(panel.left, panel.top, panel.right, panel.bottom, true);
    dialog->FillCards();
    display.RegisterWindow(dialog.get());
}

void CloseGraveyardDialog(int player)
{
    if (!IsPlayer(player))
        return;
    GameDisplay& display = *GetGameDisplay();
    if (IsOnlineLesson()) {
        const PlayerState* const state = GetPlayerState(player);
        const MatPoint& pile = display.m_PilePoints[static_cast<std::size_t>(GRAVEYARD_POINTS[Index(player)])];
        const int count = state != nullptr ? std::clamp(state->m_GraveyardCount, 0, GRAVEYARD_CAPACITY) : 0;
        for (int i = 0; i < count; ++i) {
            if (CardActor* const card = state->m_Graveyard[static_cast<std::size_t>(i)]) {
                card->m_Position.x = static_cast<float>(pile.x);
                card->m_Position.y = static_cast<float>(pile.y);
            }
        }
        display.m_GraveyardOpen[Index(player)] = false;
        return;
    }
    std::unique_ptr<GraveyardDialog>& dialog = s_GraveyardDialogs[Index(player)];
    if (!dialog)
        return;
    display.UnregisterWindow(dialog.get());
    // The list may be closing itself from its own Close button.
    GUI_Manager* const manager = GetGUIManager();
    if (manager->IsDispatching())
        manager->DeleteWindowLater(dialog.release());
    else
        dialog.reset();
}

void DeleteGraveyardDialogs()
{
    for (std::unique_ptr<GraveyardDialog>& dialog : s_GraveyardDialogs) {
        if (!dialog)
            continue;
        GameDisplay* const display = GetGameDisplay();
        if (display != nullptr && display->IsWindowRegistered(dialog.get()))
            display->UnregisterWindow(dialog.get());
        dialog.reset();
    }
}

bool IsGraveyardDialogOpen(int player)
{
    if (!IsPlayer(player))
        return false;
    const std::unique_ptr<GraveyardDialog>& dialog = s_GraveyardDialogs[Index(player)];
    return dialog && GetGameDisplay()->IsWindowRegistered(dialog.get());
}

const GraveyardDialog* GetOpenGraveyardDialog(int player)
{
    return IsGraveyardDialogOpen(player) ? s_GraveyardDialogs[Index(player)].get() : nullptr;
}

void RefillGraveyardDialog(int player)
{
    if (IsGraveyardDialogOpen(player))
        s_GraveyardDialogs[Index(player)]->FillCards();
}

void ToggleGraveyardDialog(int player)
{
    if (!IsPlayer(player))
        return;
    const bool open = IsOnlineLesson() ? GetGameDisplay()->m_GraveyardOpen[Index(player)] : IsGraveyardDialogOpen(player);
    if (open) {
        CloseGraveyardDialog(player);
        return;
    }
    if (!IsOnlineLesson() && IsAdviceBlocked())
        return;
    OpenGraveyardDialog(player);
}

void LayOutOnlineGraveyards()
{
    GameDisplay& display = *GetGameDisplay();
    if (!IsOnlineLesson())
        return;
    for (int player = 0; player < PLAYER_COUNT; ++player) {
        const PlayerState* const state = GetPlayerState(player);
        if (!display.m_GraveyardOpen[Index(player)] || state == nullptr)
            continue;
        const RasterRect& origin = display.GetZoneRectByIndex(ONLINE_LIST_ZONES[Index(player)]);
        const int count = std::clamp(state->m_GraveyardCount, 0, GRAVEYARD_CAPACITY);
        for (int i = 0; i < count; ++i) {
            CardActor* const card = state->m_Graveyard[static_cast<std::size_t>(i)];
            if (card == nullptr)
                continue;
            const int x = origin.left + 20;
            const int y = origin.top + 24 + ONLINE_LIST_STEP * i;
            display.DrawTexture(card->m_Texture, static_cast<float>(x), static_cast<float>(y), ONLINE_LIST_DEPTH, 0, 0);
            CreateCardWindowAt(card, x, y, display.GetCardWidth(), display.GetCardHeight());
            card->m_Position.x = static_cast<float>(x);
            card->m_Position.y = static_cast<float>(y);
        }
    }
}

CardActor* GetCardWindowActor(const GUI_Window* window)
{
    const CardWindow* const cardWindow = dynamic_cast<const CardWindow*>(window);
    return cardWindow != nullptr ? cardWindow->GetCardActor() : nullptr;
}
