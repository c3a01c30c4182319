#include "gui/Dialog.h"

#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"

namespace {

constexpr std::uint32_t DRAW_WHOLE_TEXTURE = 0x80000000u;

bool PointIn(const RasterRect& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

} // namespace

Dialog::Dialog(std::uint32_t kind) : GUI_Window(kind)
{
    m_Frame.fill(-1);
}

Dialog::~Dialog()
{
    GameDisplay* const display = GetGameDisplay();
    if (display->IsWindowRegistered(this))
        display->UnregisterWindow(this);
}

void Dialog::SetFrameTextures(int lt, int rt, int lb, int rb, int top, int bottom, int left, int right, int centre)
{
    m_Frame = {lt, rt, lb, rb, top, bottom, left, right, centre};
    SetRect(m_Left, m_Top, m_Right, m_Bottom, true);
}

void Dialog::SetDragArea(const RasterRect* area)
{
    m_DragArea = area != nullptr ? *area : RasterRect{0, 0, -1, -1};
}

void Dialog::CenterOnScreen()
{
    const RasterRect& screen = s_ScreenRect;
    MoveTo((screen.right - screen.left - GetWidth()) / 2, (screen.bottom - screen.top - GetHeight()) / 2, true);
}

int Dialog::FramePieceWidth(int piece) const
{
    return m_Frame[piece] < 0 ? 0 : GetGameDisplay()->GetTextureRecord(m_Frame[piece]).width;
}

int Dialog::FramePieceHeight(int piece) const
{
    return m_Frame[piece] < 0 ? 0 : GetGameDisplay()->GetTextureRecord(m_Frame[piece]).height;
}

// The window is cut to the screen's size, then moved back inside it.
void Dialog::SetRect(int left, int top, int right, int bottom, bool layout)
{
    const RasterRect& screen = s_ScreenRect;
    if (right - left > screen.Width())
        right = left + screen.Width();
    if (bottom - top > screen.Height())
        bottom = top + screen.Height();
    GUI_Window::SetRect(left, top, right, bottom, layout);

    int dx = m_Right > screen.right ? screen.right - m_Right : 0;
    int dy = m_Bottom > screen.bottom ? screen.bottom - m_Bottom : 0;
    if (m_Left < 0)
        dx -= m_Left;
    if (m_Top < 0)
        dy -= m_Top;
    if (dx == 0 && dy == 0)
        return;
    // Children move on their own; this window's rectangle is set here so a subclass's SetRect is not re-entered.
    if (layout) {
        for (GUI_Window* const child : std::vector<GUI_Window*>(m_Children)) {
            child->MoveBy(dx, dy, true);
        }
    }
    GUI_Window::SetRect(m_Left + dx, m_Top + dy, m_Right + dx, m_Bottom + dy, layout);
}

bool Dialog::PrepareDraw()
{
    if (m_bHidden)
        return false;
    if (m_bNeedsLayout) {
        Refresh();
        m_bNeedsLayout = false;
    }
    return true;
}

void Dialog::Draw()
{
    if (!PrepareDraw())
        return;
    DrawBackground();
    DrawBorder();
    DrawFrame();
    DrawChildren();
    m_bDirty = false;
}

void Dialog::DrawFrame()
{
    Raster* const raster = GetRaster();
    const float z = m_Depth;
    const auto L = static_cast<float>(m_Left);
    const auto T = static_cast<float>(m_Top);
    const auto R = static_cast<float>(m_Right);
    const auto B = static_cast<float>(m_Bottom);
    const auto w = [this](int piece) { return static_cast<float>(FramePieceWidth(piece)); };
    const auto h = [this](int piece) { return static_cast<float>(FramePieceHeight(piece)); };

    if (m_Frame[FRAME_CENTRE] >= 0)
        raster->DrawTextureTiled(m_Frame[FRAME_CENTRE], L + w(FRAME_LEFT), T + h(FRAME_TOP), R - w(FRAME_RIGHT),
                                 B - h(FRAME_BOTTOM), z, 0);
    if (m_Frame[FRAME_TOP] >= 0)
        raster->DrawTextureTiled(m_Frame[FRAME_TOP], L, T, R, T + h(FRAME_TOP), z, 0);
    if (m_Frame[FRAME_BOTTOM] >= 0)
        raster->DrawTextureTiled(m_Frame[FRAME_BOTTOM], L, B - h(FRAME_BOTTOM), R, B, z, 0);
    if (m_Frame[FRAME_LEFT] >= 0)
        raster->DrawTextureTiled(m_Frame[FRAME_LEFT], L, T, L + w(FRAME_LEFT), B, z, 0);
    if (m_Frame[FRAME_RIGHT] >= 0)
        raster->DrawTextureTiled(m_Frame[FRAME_RIGHT], R - w(FRAME_RIGHT), T, R, B, z, 0);

    if (m_Frame[FRAME_LT] >= 0)
        raster->DrawTexture(m_Frame[FRAME_LT], L, T, L + w(FRAME_LT), T + h(FRAME_LT), z, DRAW_WHOLE_TEXTURE);
    if (m_Frame[FRAME_RT] >= 0)
        raster->DrawTexture(m_Frame[FRAME_RT], R - w(FRAME_RT), T, R, T + h(FRAME_RT), z, DRAW_WHOLE_TEXTURE);
    if (m_Frame[FRAME_LB] >= 0)
        raster->DrawTexture(m_Frame[FRAME_LB], L, B - h(FRAME_LB), L + w(FRAME_LB), B, z, DRAW_WHOLE_TEXTURE);
    if (m_Frame[FRAME_RB] >= 0)
        raster->DrawTexture(m_Frame[FRAME_RB], R - w(FRAME_RB), B - h(FRAME_RB), R, B, z, DRAW_WHOLE_TEXTURE);
}

bool Dialog::HandleInput(const GUI_InputEvent& event)
{
    if (event.type == GUI_EVENT_MOUSE && event.code >= 0 && event.code < 13) {
        const RasterRect& screen = s_ScreenRect;
        switch (event.code) {
        case GUI_MOUSE_LEFT_DOWN:
        case GUI_MOUSE_LEFT_DBLCLK:
            if (HitTest(event.x, event.y))
                GetGameDisplay()->BringWindowToFront(this);
            if (m_DragArea.Width() > 0 && m_DragArea.Height() > 0 &&
                PointIn(m_DragArea, event.x - m_Left, event.y - m_Top)) {
                m_bDragging = true;
                m_DragOffsetX = event.x - m_Left;
                m_DragOffsetY = event.y - m_Top;
                GetGUIManager()->SetCapture(this);
            }
            break;
        case GUI_MOUSE_LEFT_UP:
            if (m_bDragging) {
                m_bDragging = false;
                GetGUIManager()->ReleaseCapture();
            }
            break;
        case GUI_MOUSE_MOVE:
            if (!m_bDragging)
                break;
            if ((event.keys & GUI_KEY_LBUTTON) == 0) {
                m_bDragging = false;
                break;
            }
            {
                int left = event.x - m_DragOffsetX;
                int top = event.y - m_DragOffsetY;
                if (left < screen.left)
                    left = screen.left;
                else if (left + GetWidth() >= screen.right)
                    left = screen.right - GetWidth();
                if (top < screen.top)
                    top = screen.top;
                else if (top + GetHeight() >= screen.bottom)
                    top = screen.bottom - GetHeight();
                MoveTo(left, top, true);
            }
            break;
        default:
            break;
        }
    }
    return GUI_Window::HandleInput(event);
}
