#include "cards/GameLog.h"

#include "engine/core/TextHelpers.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/Intro.h"
#include "platform/Platform.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int LOG_LEFT = 200;
constexpr int LOG_BOTTOM_MARGIN = 68;
constexpr int LOG_HEIGHT = 53;
constexpr int BUTTON_SIZE = 14;
constexpr int LINE_STEP = 12;
constexpr float SCROLL_DEPTH = 200.0f;
constexpr int INTRO_LOG_GATE = 24;

struct LogRecord {
    std::array<std::u16string, GAME_LOG_ENTRIES> lines;
    int writeIndex = 0;
    int count = 0;
    // In age order: 0 is the oldest entry kept.
    int firstVisible = 0;
    int scrollTexture = 0;
};

LogRecord s_Log;

// The slot of the entry at an age-order index.
int SlotOf(int index)
{
    const int oldest = s_Log.count < GAME_LOG_ENTRIES ? 0 : s_Log.writeIndex;
    return (oldest + index) % GAME_LOG_ENTRIES;
}

int LastFirstVisible()
{
    return std::max(s_Log.count - GAME_LOG_VISIBLE_LINES, 0);
}

bool Inside(const RasterRect& rect, int x, int y)
{
    return x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
}

RasterRect Rect(int left, int top, int right, int bottom)
{
    RasterRect rect;
    rect.left = left;
    rect.top = top;
    rect.right = right;
    rect.bottom = bottom;
    return rect;
}

// +1 up, -1 down, 0 none; a button press consumes the click.
int ScrollButton(const RasterRect& log)
{
    if (MouseState.leftClicked == 0)
        return 0;
    const int x = MouseState.x;
    const int y = MouseState.y;
    if (Inside(Rect(log.right, log.top, log.right + BUTTON_SIZE, log.top + BUTTON_SIZE), x, y)) {
        MouseState.leftClicked = 0;
        return 1;
    }
    if (Inside(Rect(log.right, log.bottom - BUTTON_SIZE, log.right + BUTTON_SIZE, log.bottom), x, y)) {
        MouseState.leftClicked = 0;
        return -1;
    }
    return 0;
}

std::u16string TwoDigits(int value)
{
    return std::u16string{static_cast<char16_t>(u'0' + value / 10 % 10), static_cast<char16_t>(u'0' + value % 10)};
}

} // namespace

void GameLog::Clear()
{
    for (std::u16string& line : s_Log.lines)
        line.clear();
    s_Log.writeIndex = 0;
    s_Log.count = 0;
    s_Log.firstVisible = 0;
    s_Log.scrollTexture = GetTextureByName(u"GameLogScroll");
}

void GameLog::Add(bool timePrefix, std::u16string_view format, std::initializer_list<std::u16string_view> args)
{
    if (s_GameMode <= 2)
        return;
    std::u16string entry = FormatStringV(format, std::span<const std::u16string_view>(args.begin(), args.size()));
    if (timePrefix) {
        int hours = 0;
        int minutes = 0;
        int seconds = 0;
        plat::GetLocalClock(hours, minutes, seconds);
        entry = TwoDigits(hours) + u":" + TwoDigits(minutes) + u":" + TwoDigits(seconds) + u"  " + entry;
    }
    if (entry.size() > GAME_LOG_LINE_LENGTH)
        entry.resize(GAME_LOG_LINE_LENGTH);
    // Only an empty entry is refused: comparing with the slot it replaces would drop a line that reads like the
    // oldest one once the ring has wrapped, and store an empty line there.
    if (entry.empty())
        return;
    s_Log.lines[static_cast<std::size_t>(s_Log.writeIndex)] = std::move(entry);
    s_Log.writeIndex = (s_Log.writeIndex + 1) % GAME_LOG_ENTRIES;
    s_Log.count = std::min(s_Log.count + 1, GAME_LOG_ENTRIES);
    s_Log.firstVisible = LastFirstVisible();
}

RasterRect GameLog::GetLogRect()
{
    RasterRect screen;
    if (Raster* const raster = GetRaster())
        raster->GetScreenRect(screen);
    const int width = screen.Width();
    const int height = screen.Height();
    const int top = height - LOG_BOTTOM_MARGIN;
    return Rect(LOG_LEFT, top, width - static_cast<int>(static_cast<float>(width) * 0.215f), top + LOG_HEIGHT);
}

RasterRect GameLog::GetRects()
{
    const RasterRect log = GetLogRect();
    return Rect(log.right, log.top, log.right + BUTTON_SIZE, log.bottom);
}

int GameLog::GetScrollTexture()
{
    return s_Log.scrollTexture;
}

void GameLog::Draw()
{
    const RasterRect log = GetLogRect();
    int direction = ScrollButton(log);
    int step = 1;
    if (direction == 0 && Inside(log, MouseState.x, MouseState.y)) {
        if (MouseState.wheel >= 1)
            direction = 1;
        else if (MouseState.wheel < 0)
            direction = -1;
        step = MouseState.wheel * MouseState.wheel;
    }
    if (direction < 0 && s_Log.firstVisible < LastFirstVisible())
        s_Log.firstVisible = std::min(s_Log.firstVisible + step, LastFirstVisible());
    else if (direction > 0 && s_Log.firstVisible >= 1)
        s_Log.firstVisible = std::max(s_Log.firstVisible - step, 0);

    Raster* const raster = GetRaster();
    if (raster == nullptr)
        return;
    if (IsIntroFinished() || IntroGate(INTRO_LOG_GATE)) {
        const RasterRect bar = GetRects();
        raster->DrawTextureEx(s_Log.scrollTexture, static_cast<float>(bar.left), static_cast<float>(bar.top),
                              static_cast<float>(bar.right), static_cast<float>(bar.bottom), SCROLL_DEPTH, 0);
    }
    RasterRect line = log;
    for (int i = 0; i < GAME_LOG_VISIBLE_LINES; ++i) {
        const std::u16string_view text = GetVisibleLine(i);
        if (!text.empty())
            raster->DrawText(text, line, 0, 0, 0, true);
        line.top += LINE_STEP;
        line.bottom += LINE_STEP;
    }
}

std::u16string_view GameLog::GetVisibleLine(int line)
{
    const int index = s_Log.firstVisible + line;
    if (line < 0 || line >= GAME_LOG_VISIBLE_LINES || index >= s_Log.count)
        return {};
    return s_Log.lines[static_cast<std::size_t>(SlotOf(index))];
}

int GameLog::GetCount()
{
    return s_Log.count;
}

int GameLog::GetFirstVisible()
{
    return s_Log.firstVisible;
}
