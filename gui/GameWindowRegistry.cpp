// The game windows that are shown, front-most last, mirrored into the toolkit's registry.
#include "gui/GameWindowRegistry.h"

#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gui/Dialog.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"

#include <algorithm>

namespace {

GameWindowActions s_Game;

void CloseGraveyardLists()
{
    if (s_Game.IsGraveyardDialogOpen == nullptr || s_Game.CloseGraveyardDialog == nullptr)
        return;
    for (int player = 0; player < 2; ++player) {
        if (s_Game.IsGraveyardDialogOpen(player))
            s_Game.CloseGraveyardDialog(player);
    }
}

} // namespace

void SetGameWindowActions(const GameWindowActions& actions)
{
    s_Game = actions;
}

bool IsQuitPromptOpen()
{
    return GetGameDisplay()->m_bQuitPromptOpen;
}

bool IsQuitConfirmed()
{
    return GetGameDisplay()->m_bQuitConfirmed;
}

void GameDisplay::RegisterWindow(GUI_Window* window)
{
    if (window == nullptr || IsWindowRegistered(window))
        return;
    m_GameWindows.push_back(window);
    m_GameWindowSet.insert(window);
    if (Dialog* const dialog = WindowCast<Dialog>(window))
        dialog->RecalcLayout();
    GetGUIManager()->RegisterWindow(window, false);
    m_RelayoutRequested = true;
}

void GameDisplay::UnregisterWindow(GUI_Window* window)
{
    if (window == nullptr)
        return;
    if (window->GetKind() == DIALOG_KIND_MESSAGEBOX && s_Game.IsIntroFinished != nullptr && s_Game.IsIntroFinished()) {
        m_LastLessonBoxX = window->GetLeft();
        m_LastLessonBoxY = window->GetTop();
    }
    m_GameWindowSet.erase(window);
    const auto found = std::find(m_GameWindows.begin(), m_GameWindows.end(), window);
    if (found != m_GameWindows.end()) {
        if (Dialog* const dialog = WindowCast<Dialog>(window))
            dialog->OnUnregistered();
        m_GameWindows.erase(found);
    }
    GetGUIManager()->UnregisterWindow(window);
    m_RelayoutRequested = true;
    if (IsPhysicalLesson())
        CloseGraveyardLists();
}

bool GameDisplay::IsWindowRegistered(const GUI_Window* window) const
{
    return m_GameWindowSet.count(window) != 0;
}

void GameDisplay::BringWindowToFront(GUI_Window* window)
{
    // A window inside a dialog (a card in a card list) brings its dialog forward.
    while (window != nullptr && !IsWindowRegistered(window))
        window = WindowCast<Dialog>(window->GetParent());
    if (window == nullptr)
        return;
    m_GameWindows.erase(std::find(m_GameWindows.begin(), m_GameWindows.end(), window));
    m_GameWindows.push_back(window);
    GUI_Manager* const manager = GetGUIManager();
    manager->UnregisterWindow(window);
    manager->RegisterWindow(window, false);
}

void GameDisplay::ClearWindows()
{
    m_GameWindows.clear();
    m_GameWindowSet.clear();
    m_RegisteredMessageDialogs.clear();
    m_MessageRecords.clear();
    m_MessageDialogs.clear();
    m_LastLessonBoxX = -1;
    m_LastLessonBoxY = -1;
}
