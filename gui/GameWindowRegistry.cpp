// Placeholder until the game's window registry is built: the windows mirror into the toolkit's registry, and
// there are no message dialogs yet.
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"

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
    GetGUIManager()->RegisterWindow(window, false);
}

void GameDisplay::UnregisterWindow(GUI_Window* window)
{
    std::erase(s_GameWindows, window);
    GetGUIManager()->UnregisterWindow(window);
}

bool GameDisplay::IsWindowRegistered(const GUI_Window* window) const
{
    return std::find(s_GameWindows.begin(), s_GameWindows.end(), window) != s_GameWindows.end();
}

void GameDisplay::UnregisterMessageDialogs()
{
}

void GameDisplay::RegisterMessageDialogs()
{
}
