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

void GameDisplay::CardsOverlap(GUI_Window* box, const CardActor* card) const
{
    if (box == nullptr || card == nullptr)
        return;
    RasterRect cardRect;
    GetCardRect(card, cardRect, false);
    const RasterRect original{box->GetLeft(), box->GetTop(), box->GetRight(), box->GetBottom()};
    if (!RectsIntersect(original, cardRect))
        return;
    const int width = original.Width();
    const int height = original.Height();
    // Above, below, left, right: each keeps the box's other coordinate. A dialog's setter keeps it on the screen,
    // so a place may still overlap once set.
    const RasterRect places[] = {
        {original.left, cardRect.top - height, original.right, cardRect.top},
        {original.left, cardRect.bottom, original.right, cardRect.bottom + height},
        {cardRect.left - width, original.top, cardRect.left, original.bottom},
        {cardRect.right, original.top, cardRect.right + width, original.bottom},
    };
    for (const RasterRect& place : places) {
        box->SetRect(place.left, place.top, place.right, place.bottom, true);
        const RasterRect now{box->GetLeft(), box->GetTop(), box->GetRight(), box->GetBottom()};
        if (!RectsIntersect(now, cardRect))
            return;
    }
    box->SetRect(original.left, original.top, original.right, original.bottom, true);
}
