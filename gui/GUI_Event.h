// The toolkit's input event: a mouse event (type 0) with its code and point, or a command event (type 2) that a
// button posts when it is clicked, with the button as its sender.
#pragma once

#include <cstdint>

class GUI_Window;

constexpr int GUI_EVENT_MOUSE = 0;
constexpr int GUI_EVENT_COMMAND = 2;

// Mouse codes.
constexpr int GUI_MOUSE_LEFT_DOWN = 0;
constexpr int GUI_MOUSE_LEFT_UP = 1;
constexpr int GUI_MOUSE_LEFT_DBLCLK = 3;
constexpr int GUI_MOUSE_MIDDLE_DOWN = 4;
constexpr int GUI_MOUSE_MIDDLE_UP = 5;
constexpr int GUI_MOUSE_MIDDLE_DBLCLK = 7;
constexpr int GUI_MOUSE_RIGHT_DOWN = 8;
constexpr int GUI_MOUSE_RIGHT_UP = 9;
constexpr int GUI_MOUSE_RIGHT_DBLCLK = 11;
constexpr int GUI_MOUSE_MOVE = 12;

// Key-state bits.
constexpr std::uint32_t GUI_KEY_CTRL = 1;
constexpr std::uint32_t GUI_KEY_SHIFT = 2;
constexpr std::uint32_t GUI_KEY_LBUTTON = 4;
constexpr std::uint32_t GUI_KEY_MBUTTON = 8;
constexpr std::uint32_t GUI_KEY_RBUTTON = 16;

struct GUI_InputEvent {
    int type = GUI_EVENT_MOUSE;
    std::uint32_t keys = 0;
    int code = 0;                   // mouse events
    GUI_Window* sender = nullptr;   // command events
    int x = 0;
    int y = 0;

    bool IsMouse() const { return type == GUI_EVENT_MOUSE; }
    bool IsMove() const { return type == GUI_EVENT_MOUSE && code == GUI_MOUSE_MOVE; }
};
