// The game windows that are shown, front-most last, mirrored into the toolkit's registry.
#include "engine/scene/GameDisplay.h"
#include "gui/Dialog.h"
#include "gui/GUI_Manager.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<GUI_Window*> s_GameWindows;

} // namespace

void GameDisplay::RegisterWindow(GUI_Window* window)
{
    if (window == nullptr || IsWindowRegistered(window))
        return;
    s_GameWindows.push_back(window);
    if (Dialog* const dialog = WindowCast<Dialog>(window))
        dialog->RecalcLayout();
    GetGUIManager()->RegisterWindow(window, false);
}

void GameDisplay::UnregisterWindow(GUI_Window* window)
{
    const auto found = std::find(s_GameWindows.begin(), s_GameWindows.end(), window);
    if (found != s_GameWindows.end()) {
        if (Dialog* const dialog = WindowCast<Dialog>(window))
            dialog->OnUnregistered();
        s_GameWindows.erase(found);
    }
    GetGUIManager()->UnregisterWindow(window);
}

bool GameDisplay::IsWindowRegistered(const GUI_Window* window) const
{
    return std::find(s_GameWindows.begin(), s_GameWindows.end(), window) != s_GameWindows.end();
}

void GameDisplay::BringWindowToFront(GUI_Window* window)
{
    while (window != nullptr && !IsWindowRegistered(window))
        window = WindowCast<Dialog>(window->GetParent());
    if (window == nullptr)
        return;
    s_GameWindows.erase(std::find(s_GameWindows.begin(), s_GameWindows.end(), window));
    s_GameWindows.push_back(window);
    GetGUIManager()->UnregisterWindow(window);
    GetGUIManager()->RegisterWindow(window, false);
}
