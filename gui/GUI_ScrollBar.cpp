#include "gui/GUI_ScrollBar.h"

#include "gui/GUI_Button.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "platform/Platform.h"

#include <algorithm>

namespace {

struct DesignRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

DesignRect DesignOf(const GUI_Window* window)
{
    DesignRect out;
    window->GetDesignRect(out.left, out.top, out.right, out.bottom);
    return out;
}

} // namespace

GUI_ScrollBar::GUI_ScrollBar(GUI_Button* up, GUI_Button* down, GUI_Button* track, GUI_Button* thumb)
    : m_pUp(up), m_pDown(down), m_pTrack(track), m_pThumb(thumb)
{
}

void GUI_ScrollBar::SetPosition(int position)
{
    m_Position = position;
    UpdateThumb();
}

void GUI_ScrollBar::SetMaximum(int maximum)
{
    m_Maximum = maximum;
    if (m_Position > maximum)
        m_Position = maximum;
    UpdateThumb();
}

void GUI_ScrollBar::SetPageSize(float percent)
{
    m_PageSize = percent;
    UpdateThumb();
}

void GUI_ScrollBar::SetDisabled(bool disabled)
{
    for (GUI_Button* const part : {m_pUp, m_pDown, m_pTrack, m_pThumb}) {
        if (part != nullptr)
            part->SetDisabled(disabled);
    }
}

void GUI_ScrollBar::Layout()
{
    if (m_pTrack != nullptr) {
        const DesignRect track = DesignOf(m_pTrack);
        if (m_pUp != nullptr) {
            const DesignRect up = DesignOf(m_pUp);
            m_pUp->MoveTo(m_pTrack->GetLeft() + (up.left - track.left), m_pTrack->GetTop() + (up.top - track.top), true);
        }
        if (m_pDown != nullptr) {
            const DesignRect down = DesignOf(m_pDown);
            // The down arrow keeps its design distance from the track's bottom (above it, not below).
            m_pDown->MoveTo(m_pTrack->GetLeft() + (down.left - track.left),
                            m_pTrack->GetBottom() - (track.bottom - down.top), true);
        }
    }
    UpdateThumb();
}

int GUI_ScrollBar::ThumbHeight() const
{
    const int range = m_RangeBottom - m_RangeTop;
    return std::max(static_cast<int>(static_cast<float>(range) * m_PageSize / 100.0f), SCROLL_THUMB_MIN_HEIGHT);
}

void GUI_ScrollBar::UpdateThumb()
{
    m_RangeTop = 0;
    m_RangeBottom = 0;
    if (m_pTrack == nullptr)
        return;
    const DesignRect track = DesignOf(m_pTrack);
    int insetLeft = 0;
    int insetTop = 0;
    int insetRight = 0;
    int insetBottom = 0;
    m_pTrack->GetSkinInsets(insetLeft, insetTop, insetRight, insetBottom);
    m_RangeTop = m_pTrack->GetTop();
    m_RangeBottom = m_pTrack->GetBottom();
    if (m_pUp != nullptr) {
        const DesignRect up = DesignOf(m_pUp);
        m_RangeTop = m_pTrack->GetTop() + (up.top - track.top) + insetTop + (up.bottom - up.top);
    }
    if (m_pDown != nullptr) {
        const DesignRect down = DesignOf(m_pDown);
        m_RangeBottom = m_pTrack->GetBottom() - (track.bottom - down.top) - insetBottom;
    }
    if (m_pThumb == nullptr)
        return;
    const int range = m_RangeBottom - m_RangeTop;
    const int height = ThumbHeight();
    int offset = m_Maximum >= 1 ? static_cast<int>(static_cast<long long>(range - height) * m_Position / m_Maximum) : 0;
    if (offset + height > range)
        offset = range - height;
    if (offset < 0)
        offset = 0;
    const DesignRect thumb = DesignOf(m_pThumb);
    const int left = m_pTrack->GetLeft() + (thumb.left - track.left);
    m_pThumb->SetRect(left, m_RangeTop + offset, left + (thumb.right - thumb.left), m_RangeTop + offset + height, true);
}

bool GUI_ScrollBar::OnButtonClick(GUI_Button* button, int /*x*/, int y)
{
    TESSEL_ASSERT(button != NULL);
    if (button == nullptr)
        return false;
    const int before = m_Position;
    if (button == m_pUp) {
        m_Position = std::max(m_Position - m_LineStep, 0);
    } else if (button == m_pDown) {
        m_Position = std::min(m_Position + m_LineStep, m_Maximum);
    } else if (button == m_pTrack) {
        if (m_pThumb != nullptr && y >= m_pThumb->GetBottom())
            m_Position = std::min(m_Position + m_PageStep, m_Maximum);
        else if (m_pThumb != nullptr && y < m_pThumb->GetTop())
            m_Position = std::max(m_Position - m_PageStep, 0);
    } else {
        return false;
    }
    if (m_Position != before)
        UpdateThumb();
    return true;
}

bool GUI_ScrollBar::HandleInput(const GUI_InputEvent& event)
{
    GUI_Manager* const manager = GUI_System::GetManager();
    if (event.IsMove() && manager != nullptr && m_pThumb != nullptr && manager->GetCaptureWindow() == m_pThumb) {
        if (!m_pThumb->IsCaptured())
            return false;
        m_pThumb->OnMouseEnter();
        int pressX = 0;
        int pressY = 0;
        m_pThumb->GetPressOffset(pressX, pressY);
        const int height = m_pThumb->GetHeight();
        const int top = std::clamp(event.y - pressY, m_RangeTop, std::max(m_RangeTop, m_RangeBottom - height));
        const int free = (m_RangeBottom - m_RangeTop) - height;
        if (free < 1)
            return true;
        m_Position = static_cast<int>(static_cast<long long>(top - m_RangeTop) * m_Maximum / free);
        m_pThumb->MoveTo(m_pThumb->GetLeft(), top, true);
        return true;
    }
    if (event.IsMouse() && event.code == GUI_MOUSE_LEFT_UP) {
        if (m_pHeld != nullptr) {
            GUI_Button* const held = m_pHeld;
            m_pHeld = nullptr;
            held->HandleInput(event);
        }
        return false;
    }
    if (event.IsMouse() && (event.code == GUI_MOUSE_LEFT_DOWN || event.code == GUI_MOUSE_LEFT_DBLCLK)) {
        GUI_Window* const found = manager != nullptr ? manager->GetWindowAt(event.x, event.y) : nullptr;
        GUI_Button* button = nullptr;
        for (GUI_Button* const part : {m_pUp, m_pDown, m_pTrack}) {
            if (part != nullptr && found == part)
                button = part;
        }
        if (button == nullptr)
            return false;
        m_pHeld = button;
        m_PressTime = plat::TimeGetTime();
        m_LastRepeatTime = 0;
        m_bRepeatedSincePress = false;
        button->HandleInput(event);
        OnButtonClick(button, event.x, event.y);
        return true;
    }
    if (event.type == GUI_EVENT_COMMAND) {
        for (GUI_Button* const part : {m_pUp, m_pDown, m_pTrack, m_pThumb}) {
            if (part != nullptr && event.sender == part)
                return true;
        }
    }
    return false;
}

void GUI_ScrollBar::Update()
{
    GUI_Manager* const manager = GUI_System::GetManager();
    if (manager == nullptr || manager->GetCaptureWindow() == nullptr) {
        m_pHeld = nullptr;
        return;
    }
    if (m_pHeld == nullptr || !m_pHeld->IsPressed())
        return;
    const std::uint32_t now = plat::TimeGetTime();
    if (now - m_PressTime < m_FirstRepeatDelay)
        return;
    if (m_bRepeatedSincePress && now - m_LastRepeatTime < m_RepeatInterval)
        return;
    int x = 0;
    int y = 0;
    GUI_System::GetCursorPos(x, y);
    OnButtonClick(m_pHeld, x, y);
    m_LastRepeatTime = now;
    m_bRepeatedSincePress = true;
}
