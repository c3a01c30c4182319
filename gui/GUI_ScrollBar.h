// A vertical scroll-bar controller that is not itself a window: it drives four buttons its owner creates and
// places (up arrow, down arrow, track, thumb), keeps a position between 0 and a maximum, places the thumb from
// it, lets the thumb be dragged, steps by the arrows and by track clicks, and repeats a held arrow or track
// press after 500 ms every 100 ms.
#pragma once

#include "gui/GUI_Event.h"

#include <cstdint>

class GUI_Button;

constexpr int SCROLL_THUMB_MIN_HEIGHT = 24;
constexpr std::uint32_t SCROLL_FIRST_REPEAT_MS = 500;
constexpr std::uint32_t SCROLL_REPEAT_MS = 100;

class GUI_ScrollBar {
public:
    GUI_ScrollBar(GUI_Button* up, GUI_Button* down, GUI_Button* track, GUI_Button* thumb);
    virtual ~GUI_ScrollBar() = default;
    GUI_ScrollBar(const GUI_ScrollBar&) = delete;
    GUI_ScrollBar& operator=(const GUI_ScrollBar&) = delete;

    virtual void Layout();
    virtual bool HandleInput(const GUI_InputEvent& event);
    virtual void Refresh() { UpdateThumb(); }
    virtual void Update();

    void SetPosition(int position);
    void SetMaximum(int maximum);
    void SetPageSize(float percent);
    void SetLineStep(int step) { m_LineStep = step; }
    void SetPageStep(int step) { m_PageStep = step; }
    void SetDisabled(bool disabled);
    void UpdateThumb();
    bool OnButtonClick(GUI_Button* button, int x, int y);

    int GetPosition() const { return m_Position; }
    int GetMaximum() const { return m_Maximum; }
    int GetRangeTop() const { return m_RangeTop; }
    int GetRangeBottom() const { return m_RangeBottom; }
    GUI_Button* GetHeldButton() const { return m_pHeld; }

private:
    int ThumbHeight() const;

    int m_Position = 0;
    int m_Maximum = 10;
    float m_PageSize = 10.0f;
    int m_LineStep = 1;
    int m_PageStep = 1;
    int m_RangeTop = 0;
    int m_RangeBottom = 0;
    std::uint32_t m_PressTime = 0;
    std::uint32_t m_FirstRepeatDelay = SCROLL_FIRST_REPEAT_MS;
    std::uint32_t m_RepeatInterval = SCROLL_REPEAT_MS;
    std::uint32_t m_LastRepeatTime = 0;
    bool m_bRepeatedSincePress = false;
    GUI_Button* m_pHeld = nullptr;
    GUI_Button* m_pUp = nullptr;
    GUI_Button* m_pDown = nullptr;
    GUI_Button* m_pTrack = nullptr;
    GUI_Button* m_pThumb = nullptr;
};
