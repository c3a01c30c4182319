#include "launcher/LauncherButton.h"

void LauncherButton::SetBitmap(int index, LauncherBitmap bitmap)
{
    if (index < 0 || index > 2)
        return;
    m_Bitmaps[index] = std::move(bitmap);
    if (index == 0 && m_Bitmaps[0]) {
        m_Width = m_Bitmaps[0]->width;
        m_Height = m_Bitmaps[0]->height < 0 ? -m_Bitmaps[0]->height : m_Bitmaps[0]->height;
    }
}

void LauncherButton::SetPosition(int left, int top)
{
    m_Left = left;
    m_Top = top;
}

void LauncherButton::SetRightAligned(int right, int top)
{
    m_Left = right - m_Width;
    m_Top = top;
}

void LauncherButton::SetState(int state)
{
    m_PreviousState = m_State;
    m_State = state;
}

void LauncherButton::SetDisabled(bool disabled)
{
    m_bDisabled = disabled;
    m_State = BUTTON_NORMAL;
    m_PreviousState = -1;
}

void LauncherButton::SetInstalled(bool installed)
{
    m_bInstalled = installed;
    m_PreviousState = m_State;
    m_State = BUTTON_INSTALLED;
}

LauncherRect LauncherButton::GetRect() const
{
    return {m_Left, m_Top, m_Left + m_Width, m_Top + m_Height};
}

bool LauncherButton::NeedsRedraw() const
{
    return IsEnabled() && !IsEmpty() && m_State != m_PreviousState;
}

bool LauncherButton::HitTest(int x, int y) const
{
    return IsEnabled() && !IsEmpty() && x >= m_Left && x <= m_Left + m_Width && y >= m_Top && y <= m_Top + m_Height;
}

bool LauncherButton::IntersectsRect(const LauncherRect& rect) const
{
    if (!IsEnabled() || IsEmpty())
        return false;
    const LauncherRect own = GetRect();
    return own.left < rect.right && rect.left < own.right && own.top < rect.bottom && rect.top < own.bottom;
}

const RasterBitmap* LauncherButton::CurrentBitmap() const
{
    if (m_State < 0 || m_State > 2)
        return nullptr;
    return m_Bitmaps[m_State].get();
}

void LauncherButton::ReleaseBitmaps()
{
    for (LauncherBitmap& bitmap : m_Bitmaps)
        bitmap.reset();
    m_Left = m_Top = m_Width = m_Height = 0;
    m_State = BUTTON_NORMAL;
    m_PreviousState = -1;
    m_bDisabled = false;
    m_bInstalled = false;
}
