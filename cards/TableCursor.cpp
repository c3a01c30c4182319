// The mouse cursor chosen from the window under the mouse, and card windows moved out of a card's way.
#include "cards/CardActor.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"
#include "platform/Platform.h"

#include <array>

namespace {

// Buttons, text buttons, scroll-bar parts and edit fields take clicks.
constexpr std::array<std::uint32_t, 4> CLICKABLE_KINDS = {1, 4, 5, 15};

GUI_Window* WindowUnderCursor(int x, int y)
{
    GUI_Manager* const manager = GetGUIManager();
    if (manager == nullptr)
        return nullptr;
    if (GUI_Window* const captured = manager->GetCaptureWindow())
        return captured;
    if (GUI_Interface* const modal = manager->GetCaptureInterface()) {
        if (GUI_Window* const window = modal->FindWindowAt(x, y, true, nullptr))
            return window;
    }
    if (GUI_Interface* const active = manager->GetActiveInterface()) {
        if (GUI_Window* const window = active->FindWindowAt(x, y, true, nullptr))
            return window;
    }
    return manager->GetWindowAt(x, y);
}

bool RectsIntersect(const RasterRect& a, const RasterRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

bool GameDisplay::UpdateCursor(int x, int y, bool inside)
{
    if (!inside) {
        m_CurrentCursor = -1;
        return false;
    }
    plat::CursorShape shape = plat::CursorShape::Arrow;
    if (const GUI_Window* const window = WindowUnderCursor(x, y)) {
        for (const std::uint32_t kind : CLICKABLE_KINDS) {
            if (window->GetKind() == kind)
                shape = plat::CursorShape::Hand;
        }
    }
    if (m_CurrentCursor != static_cast<int>(shape)) {
        plat::SetCursorShape(shape);
        m_CurrentCursor = static_cast<int>(shape);
    }
    return true;
}

bool GameDisplay::UpdateCursorFromMouse()
{
    if (!plat::HasMainWindow())
        return false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    plat::GetCursorPos(x, y);
    plat::GetClientSize(width, height);
    return UpdateCursor(x, y, x >= 0 && y >= 0 && x < width && y < height);
}

void GameDisplay::MoveWindowOffCard(GUI_Window* window, const CardActor* card) const
{
    if (window == nullptr || card == nullptr)
        return;
    RasterRect cardRect;
    GetCardRect(card, cardRect, false);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const RasterRect current{window->GetLeft(), window->GetTop(), window->GetRight(), window->GetBottom()};
        if (!RectsIntersect(current, cardRect))
            return;
        const int width = current.Width();
        const int height = current.Height();
        switch (attempt) {
        case 0:  // above
            window->SetRect(current.left, cardRect.top - height, current.right, cardRect.top, true);
            break;
        case 1:  // below
            window->SetRect(current.left, cardRect.bottom, current.right, cardRect.bottom + height, true);
            break;
        case 2:  // left
            window->SetRect(cardRect.left - width, current.top, cardRect.left, current.bottom, true);
            break;
        default:  // right
            window->SetRect(cardRect.right, current.top, cardRect.right + width, current.bottom, true);
            break;
        }
    }
}
