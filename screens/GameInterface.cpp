#include "screens/GameInterface.h"

#include "engine/core/TextHelpers.h"
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/Wave.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Window.h"

#include <algorithm>
#include <climits>
#include <deque>

GameInterface::~GameInterface() = default;

template <typename Visit>
void GameInterface::ForEachWindow(Visit visit) const
{
    std::deque<GUI_Window*> queue(GetWindows().begin(), GetWindows().end());
    while (!queue.empty()) {
        GUI_Window* const window = queue.front();
        queue.pop_front();
        visit(*window);
        for (GUI_Window* const child : window->GetChildren())
            queue.push_back(child);
    }
}

void GetScreenSize(int& width, int& height)
{
    width = 0;
    height = 0;
    if (Raster* const raster = GetRaster()) {
        RasterRect screen;
        raster->GetScreenRect(screen);
        width = screen.right - screen.left;
        height = screen.bottom - screen.top;
    }
}

bool GameInterface::IsCommand(const GUI_InputEvent& event)
{
    return event.type == GUI_EVENT_COMMAND && event.sender != nullptr;
}

void GameInterface::PlayClickEffect(const GUI_InputEvent& event)
{
    if (!IsCommand(event))
        return;
    if (const auto* button = WindowCast<GUI_Button>(event.sender))
        PlayEffect(static_cast<int>(button->GetClickEffect()), 255, 0, 0, 0, nullptr);
}

bool GameInterface::SenderIs(const GUI_InputEvent& event, std::u16string_view name)
{
    return IsCommand(event) && CompareNoCase(event.sender->GetName(), name) == 0;
}

bool GameInterface::SenderStartsWith(const GUI_InputEvent& event, std::u16string_view prefix)
{
    if (!IsCommand(event))
        return false;
    const std::u16string& name = event.sender->GetName();
    return name.size() >= prefix.size() && CompareNoCase(std::u16string_view(name).substr(0, prefix.size()), prefix) == 0;
}

void GameInterface::GoBack()
{
    GameDisplay* const display = GetGameDisplay();
    display->SetScreen(display->GetReturnScreen(), false);
    display->SetReturnScreen(1);
}

bool GameInterface::HandleInput(const GUI_InputEvent& event)
{
    PlayClickEffect(event);
    return GUI_Interface::HandleInput(event);
}

void GameInterface::OnWindowAdded(GUI_Window* window)
{
    if (auto* button = WindowCast<GUI_Button>(window))
        button->SetClickEffect(MENU_CLICK_EFFECT);
    GUI_Interface::OnWindowAdded(window);
}

void GameInterface::OnLoaded()
{
    ForEachWindow([](GUI_Window& window) { window.SaveDesignRect(); });
    m_DesignLeft = INT_MAX;
    m_DesignTop = INT_MAX;
    m_DesignRight = -INT_MAX;
    m_DesignBottom = -INT_MAX;
    for (const GUI_Window* const window : GetWindows()) {
        m_DesignLeft = std::min(m_DesignLeft, window->GetLeft());
        m_DesignTop = std::min(m_DesignTop, window->GetTop());
        m_DesignRight = std::max(m_DesignRight, window->GetRight());
        m_DesignBottom = std::max(m_DesignBottom, window->GetBottom());
    }
    // A screen without windows has no extent (the start values would overflow the span).
    if (GetWindows().empty()) {
        m_DesignLeft = 0;
        m_DesignTop = 0;
        m_DesignRight = 0;
        m_DesignBottom = 0;
    }
    GUI_Interface::OnLoaded();
}

namespace {

// One axis: the new near and far edges of a window designed at dNear..dFar in a design span of size for a
// window size of actual.
void PlaceAxis(int anchor, bool stretch, int dNear, int dFar, int size, int actual, int& nearEdge, int& farEdge)
{
    // A zero design span cannot be scaled: the axis keeps its design.
    if (size == 0 || (anchor == 0 && !stretch)) {
        nearEdge = dNear;
        farEdge = dFar;
        return;
    }
    const long long a = actual;
    if (stretch && anchor != 0) {
        nearEdge = static_cast<int>(a * dNear / size);
        farEdge = static_cast<int>(a * dFar / size);
    } else if (stretch) {
        nearEdge = dNear;
        farEdge = static_cast<int>(static_cast<long long>(dFar - dNear) * a / size) + nearEdge;
    } else {
        const int scaledNear = static_cast<int>(a * dNear / size);
        const int scaledFar = static_cast<int>(a * dFar / size);
        const int spare = (scaledFar - scaledNear) - (dFar - dNear);
        int offset = 0;
        if (anchor == 1)
            offset = spare / 2;
        else if (anchor == 3)
            offset = spare;
        nearEdge = scaledNear + offset;
        farEdge = nearEdge + (dFar - dNear);
    }
}

} // namespace

void GameInterface::OnResize(int width, int height)
{
    const int designWidth = m_DesignRight - m_DesignLeft;
    const int designHeight = m_DesignBottom - m_DesignTop;
    ForEachWindow([&](GUI_Window& window) {
        if (window.m_HorizontalAnchor == 0 && window.m_VerticalAnchor == 0 && !window.m_bStretchHorizontally &&
            !window.m_bStretchVertically)
            return;
        int dl = 0;
        int dt = 0;
        int dr = 0;
        int db = 0;
        window.GetDesignRect(dl, dt, dr, db);
        int left = 0;
        int right = 0;
        int top = 0;
        int bottom = 0;
        PlaceAxis(window.m_HorizontalAnchor, window.m_bStretchHorizontally, dl, dr, designWidth, width, left, right);
        PlaceAxis(window.m_VerticalAnchor, window.m_bStretchVertically, dt, db, designHeight, height, top, bottom);
        window.SetRect(left, top, right, bottom, true);
    });
    GUI_Interface::OnResize(width, height);
}

void GameInterface::Refresh()
{
    int width = 0;
    int height = 0;
    GetScreenSize(width, height);
    OnResize(width, height);
    if (Raster* const raster = GetRaster())
        raster->Invalidate();
    GUI_Interface::Refresh();
}
