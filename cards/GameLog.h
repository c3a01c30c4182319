// The online lesson's running log of what happened: 200 entries in a ring, four lines shown in a box along the
// bottom of the table, scrolled with two small buttons and the wheel.
#pragma once

#include "engine/raster/RasterTypes.h"

#include <array>
#include <initializer_list>
#include <string_view>

constexpr int GAME_LOG_ENTRIES = 200;
constexpr int GAME_LOG_LINE_LENGTH = 127;
constexpr int GAME_LOG_VISIBLE_LINES = 4;

class GameLog {
public:
    static void Clear();
    // Formats with %0, %1 ...; the time prefix puts "hh:mm:ss  " before the text. Online lesson only.
    static void Add(bool timePrefix, std::u16string_view format, std::initializer_list<std::u16string_view> args = {});
    // Scrolls with the buttons and the wheel, then queues the scroll bar and the visible lines.
    static void Draw();
    static int GetScrollTexture();
    static RasterRect GetRects();
    static RasterRect GetLogRect();

    // The visible line number 0-3 in age order (oldest entry 0); empty past the newest entry.
    static std::u16string_view GetVisibleLine(int line);
    static int GetCount();
    static int GetFirstVisible();
};
