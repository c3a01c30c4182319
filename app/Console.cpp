#include "app/Console.h"

#include "app/MainLoop.h"
#include "cards/LifeToken.h"
#include "cards/TableScene.h"
#include "engine/core/QuitRequest.h"
#include "engine/core/TextHelpers.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gamestate/Intro.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <cstdio>
#include <memory>

bool s_bConsoleEnabled = false;
bool s_bConsoleOpen = false;

namespace {

// What freetexturespace reports: the texture memory of the device the console was written for.
constexpr int FREE_TEXTURE_SPACE = 2097152;
constexpr float TEXTURE_PAGE_SIZE = 131072.0f;
constexpr int GLYPH_FIRST_CODE = 32;
constexpr int GLYPH_COUNT = 64;
constexpr int EFFECT_FULL_VOLUME = 255;

std::unique_ptr<Console> s_pConsole = std::make_unique<Console>();
// Typed units as they are; editing keys with EDIT_KEY set, above every unit, so that no typed unit (such as
// the pound sign, 163) can pass for one.
constexpr std::uint32_t EDIT_KEY = 0x10000;
std::array<std::uint32_t, CONSOLE_QUEUE_CAPACITY> s_Queue{};
int s_QueueCount = 0;

void Queue(std::uint32_t entry)
{
    if (s_QueueCount < CONSOLE_QUEUE_CAPACITY)
        s_Queue[static_cast<std::size_t>(s_QueueCount++)] = entry;
}

std::uint32_t NextQueued()
{
    if (s_QueueCount == 0)
        return 0;
    const std::uint32_t entry = s_Queue[0];
    std::copy(s_Queue.begin() + 1, s_Queue.begin() + s_QueueCount, s_Queue.begin());
    --s_QueueCount;
    return entry;
}

bool s_bFrameRateDisplay = false;

void SetLine(ConsoleLine& line, std::u16string_view text)
{
    line.fill(0);
    const std::size_t n = std::min<std::size_t>(text.size(), CONSOLE_LINE_MAX);
    std::copy_n(text.begin(), n, line.begin());
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::u16string Ascii(const char* text)
{
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

void PrintFormatted(const char* format, double value)
{
    char buffer[CONSOLE_LINE_CAPACITY];
    std::snprintf(buffer, sizeof buffer, format, value);
    ConsolePrint(Ascii(buffer));
}

void PrintInt(const char* format, int value)
{
    char buffer[CONSOLE_LINE_CAPACITY];
    std::snprintf(buffer, sizeof buffer, format, value);
    ConsolePrint(Ascii(buffer));
}

// ---- Commands --------------------------------------------------------------------------------------------------

void CommandNothing()
{
}

void CommandQuit()
{
    PostQuitMessage(0);
}

void CommandNumActors()
{
    PrintInt("NumActors = %d\n", GetActorCount());
}

void CommandFps()
{
    PrintFormatted("Current Framerate = %f\n", static_cast<double>(s_FramesPerSecond));
}

void CommandFreeTextureSpace()
{
    PrintInt("Free texture space=%d\n", FREE_TEXTURE_SPACE);
    PrintFormatted("Free texture pages=%f\n", static_cast<double>(FREE_TEXTURE_SPACE / TEXTURE_PAGE_SIZE));
}

void CommandSfx()
{
    const int slot = ScriptReadInt();
    PlayEffect(slot, EFFECT_FULL_VOLUME, 0, 0, 0, nullptr);
}

void CommandSetLife()
{
    const int life = ScriptReadInt();
    const int previous = PlayerState::GetLife(PLAYER_HUMAN);
    PlayerState::SetLife(PLAYER_HUMAN, life, 0);
    if (!IsOnlineLesson() && IsLifeTokenReady())
        ChangeLifeTotal(GetLifeToken(PLAYER_HUMAN), 1, previous);
}

void CommandSetCpuLife()
{
    PlayerState::SetLife(PLAYER_CPU, ScriptReadInt(), 0);
}

void CommandMute()
{
    if (!IsVoiceMuted()) {
        StopVoiceQueue();
        SetVoiceMuted(true);
        ConsolePrint(u"Hear no evil");
    } else {
        SetVoiceMuted(false);
        ConsolePrint(u"I hear dead people");
    }
}

void CommandToggleFrameRate()
{
    s_bFrameRateDisplay = !s_bFrameRateDisplay;
}

void CommandSkipIntro()
{
    s_bSkipIntro = !s_bSkipIntro;
}

struct ConsoleCommand {
    std::u16string_view name;
    void (*run)();
};

// The order is also the order Tab completes in.
constexpr std::array<ConsoleCommand, 18> s_Commands = {{
    {u"quit", CommandQuit},
    {u"numactors", CommandNumActors},
    {u"level", CommandNothing},
    {u"fps", CommandFps},
    {u"freetexturespace", CommandFreeTextureSpace},
    {u"textureview", CommandNothing},
    {u"sfx", CommandSfx},
    {u"forcecard", CommandNothing},
    {u"forcecpucard", CommandNothing},
    {u"setlife", CommandSetLife},
    {u"setcpulife", CommandSetCpuLife},
    {u"nodelay", CommandNothing},
    {u"mute", CommandMute},
    {u"gamesettings", CommandNothing},
    {u"toggleframerate", CommandToggleFrameRate},
    {u"landcheat", CommandNothing},
    {u"skipintro", CommandSkipIntro},
    {u"library", CommandNothing},
}};

// ---- Editing ---------------------------------------------------------------------------------------------------

void ResetBrowsing(Console& console)
{
    console.historyBrowse = console.historyWrite;
}

void SetInput(Console& console, std::u16string_view text)
{
    SetLine(console.input, text);
    console.length = static_cast<int>(ConsoleLineText(console.input).size());
    console.cursor = console.length;
}

void RemoveAt(Console& console, int index)
{
    if (index < 0 || index >= console.length)
        return;
    std::copy(console.input.begin() + index + 1, console.input.begin() + console.length,
              console.input.begin() + index);
    --console.length;
    console.input[static_cast<std::size_t>(console.length)] = 0;
}

void Complete(Console& console)
{
    const std::u16string_view line = ConsoleLineText(console.input);
    if (line.empty())
        return;
    for (const ConsoleCommand& command : s_Commands) {
        if (StartsWithNoCase(command.name, line)) {
            SetInput(console, command.name);
            return;
        }
    }
}

// Steps through the history ring for a line that begins with the prefix. Positions run over the stored lines;
// meeting the write index again ends the search and puts back what was typed.
void BrowseHistory(Console& console, bool back)
{
    if (console.historyCount == 0)
        return;
    if (console.historyBrowse == console.historyWrite) {
        console.searchPrefix = console.input;
        console.searchLength = console.length;
    }
    // While the ring is not full the write index is one past the last stored line.
    const int last = console.historyCount < CONSOLE_HISTORY_LINES ? console.historyCount : CONSOLE_HISTORY_LINES - 1;
    const std::u16string_view prefix = ConsoleLineText(console.searchPrefix);
    int position = console.historyBrowse;
    for (int steps = 0; steps <= last + 1; ++steps) {
        position = back ? (position == 0 ? last : position - 1) : (position == last ? 0 : position + 1);
        if (position == console.historyWrite) {
            console.historyBrowse = position;
            SetInput(console, prefix);
            return;
        }
        const std::u16string_view candidate = ConsoleLineText(console.history[static_cast<std::size_t>(position)]);
        if (StartsWithNoCase(candidate, prefix)) {
            console.historyBrowse = position;
            SetInput(console, candidate);
            return;
        }
    }
}

int InsertionLimit(const Console& console)
{
    return std::min((console.right - console.left - 16) / CONSOLE_GLYPH_SIZE, CONSOLE_LINE_MAX);
}

void Insert(Console& console, char16_t ch)
{
    if (console.cursor > InsertionLimit(console) || console.length >= CONSOLE_LINE_MAX)
        return;
    std::copy_backward(console.input.begin() + console.cursor, console.input.begin() + console.length,
                       console.input.begin() + console.length + 1);
    console.input[static_cast<std::size_t>(console.cursor)] = ch;
    ++console.cursor;
    ++console.length;
    console.input[static_cast<std::size_t>(console.length)] = 0;
}

// Only what the glyph font can show goes into the line: a unit it has no glyph for (0 among them) would be
// invisible in the line, or cut the line short where its text is read.
bool IsDrawable(char16_t ch)
{
    const int glyph = static_cast<int>(UpperCaseChar(ch)) - GLYPH_FIRST_CODE;
    return ch != 0 && glyph >= 0 && glyph < GLYPH_COUNT;
}

void HandleChar(Console& console, std::uint32_t entry)
{
    const bool editKey = (entry & EDIT_KEY) != 0;
    const auto ch = static_cast<char16_t>(entry & 0xFFFF);
    if (!editKey) {
        switch (ch) {
        case CONSOLE_BACKSPACE:
        case CONSOLE_TAB:
        case CONSOLE_ENTER:
        case CONSOLE_ESCAPE:
            break;
        default:
            if (IsDrawable(ch)) {
                Insert(console, ch);
                ResetBrowsing(console);
            }
            return;
        }
    }
    switch (ch) {
    case CONSOLE_BACKSPACE:
        if (console.cursor > 0) {
            RemoveAt(console, console.cursor - 1);
            --console.cursor;
        }
        ResetBrowsing(console);
        break;
    case CONSOLE_TAB:
        Complete(console);
        ResetBrowsing(console);
        break;
    case CONSOLE_ENTER:
        console.state = CONSOLE_LINE_ENTERED;
        break;
    case CONSOLE_ESCAPE:
        SetInput(console, u"");
        ResetBrowsing(console);
        break;
    case CONSOLE_END:
        console.cursor = console.length;
        break;
    case CONSOLE_HOME:
        console.cursor = 0;
        break;
    case CONSOLE_LEFT:
        console.cursor = std::max(console.cursor - 1, 0);
        break;
    case CONSOLE_RIGHT:
        console.cursor = std::min(console.cursor + 1, console.length);
        break;
    case CONSOLE_DELETE:
        RemoveAt(console, console.cursor);
        ResetBrowsing(console);
        break;
    case CONSOLE_HISTORY_BACK:
        BrowseHistory(console, true);
        break;
    case CONSOLE_HISTORY_FORWARD:
        BrowseHistory(console, false);
        break;
    default:
        break;
    }
}

void EnterLine(Console& console)
{
    console.state = CONSOLE_NEW_LINE;
    const std::u16string line(ConsoleLineText(console.input));
    console.history[static_cast<std::size_t>(console.historyWrite)] = console.input;
    console.historyWrite = (console.historyWrite + 1) % CONSOLE_HISTORY_LINES;
    console.historyCount = std::min(console.historyCount + 1, CONSOLE_HISTORY_LINES);
    console.historyBrowse = console.historyWrite;
    if (line == u"history") {
        ConsolePrint(u"--- History ---\n");
        const int oldest = console.historyCount < CONSOLE_HISTORY_LINES ? 0 : console.historyWrite;
        for (int i = 0; i < console.historyCount; ++i) {
            const ConsoleLine& entry = console.history[static_cast<std::size_t>((oldest + i) % CONSOLE_HISTORY_LINES)];
            ConsolePrint(std::u16string(ConsoleLineText(entry)) + u"\n");
        }
        return;
    }
    ConsolePrint(line + u"\n");
    RunConsoleCommand(line);
}

// ---- Drawing ---------------------------------------------------------------------------------------------------

void DrawChar(int x, int y, char16_t ch)
{
    if (ch == 0 || ch == u'\n')
        return;
    const int glyph = static_cast<int>(UpperCaseChar(ch)) - GLYPH_FIRST_CODE;
    if (glyph < 0 || glyph >= GLYPH_COUNT)
        return;
    DrawConsoleGlyph(x, y, glyph);
}

// The cursor is the "_" glyph in grey (0.5, 0.5, 0.5). Texture draws take no tint, so the glyph's set texels
// are filled in grey, row by row.
void DrawCursor(int x, int y)
{
    const GameDisplay* const display = GetGameDisplay();
    Raster* const raster = GetRaster();
    const int texture = display->m_Font8 + (u'_' - GLYPH_FIRST_CODE);
    if (display->m_Font8 < 0 || texture >= raster->GetTextureCount())
        return;
    const TextureEntry& glyph = raster->GetTextureEntry(texture);
    const std::uint16_t* pixels = glyph.converted.get();
    const std::size_t texels = static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height);
    if (glyph.handle && !glyph.handle->lost && glyph.handle->pixels.size() >= texels)
        pixels = glyph.handle->pixels.data();
    if (pixels == nullptr)
        return;
    const std::uint16_t grey = raster->MakeColor(128, 128, 128, 255);
    for (int row = 0; row < glyph.height; ++row) {
        const std::uint16_t* const line = pixels + static_cast<std::ptrdiff_t>(row) * glyph.width;
        for (int column = 0; column < glyph.width;) {
            if (line[column] == 0) {
                ++column;
                continue;
            }
            const int start = column;
            while (column < glyph.width && line[column] != 0)
                ++column;
            raster->FillRect(static_cast<float>(x + start), static_cast<float>(y + row),
                             static_cast<float>(x + column), static_cast<float>(y + row + 1),
                             static_cast<float>(CONSOLE_GLYPH_DEPTH), grey);
        }
    }
}

void DrawText(const Console& console, std::u16string_view text, int y)
{
    for (std::size_t column = 0; column < text.size(); ++column) {
        DrawChar(console.left + CONSOLE_GLYPH_SIZE * static_cast<int>(column) + CONSOLE_GLYPH_SIZE, y, text[column]);
    }
}

void DrawOutput(const Console& console)
{
    const int rows = std::min((console.bottom - console.top - 16) / CONSOLE_GLYPH_SIZE, console.outputCount);
    for (int row = 0; row < rows; ++row) {
        const int index = (console.lastOutput - row + CONSOLE_OUTPUT_LINES) % CONSOLE_OUTPUT_LINES;
        DrawText(console, ConsoleLineText(console.output[static_cast<std::size_t>(index)]),
                 console.bottom - 16 - CONSOLE_GLYPH_SIZE * row);
    }
}

void DrawInput(const Console& console)
{
    Raster* const raster = GetRaster();
    if (!raster->IsInitialised())
        return;
    DrawFrameRect(static_cast<float>(console.left), static_cast<float>(console.top),
                  static_cast<float>(console.right), static_cast<float>(console.bottom), CONSOLE_RECT_DEPTH,
                  raster->MakeColor(32, 32, 32, 255), true, 1.0f);
    DrawChar(console.left, console.bottom - 8, u'-');
    // A window narrowed below the line shows its end; the first column and the cursor stay within the text.
    const std::u16string_view line = ConsoleLineText(console.input);
    const int shown = static_cast<int>(line.size());
    const int fit = std::max(console.right / CONSOLE_GLYPH_SIZE - 2, 0);
    const int first = std::clamp(shown - fit, 0, shown);
    DrawText(console, line.substr(static_cast<std::size_t>(first)), console.bottom - 9);
    const int cursor = std::clamp(console.cursor, first, shown);
    if (console.state != CONSOLE_LINE_ENTERED)
        DrawCursor(console.left + CONSOLE_GLYPH_SIZE * (cursor - first) + CONSOLE_GLYPH_SIZE, console.bottom - 8);
}

} // namespace

Console& GetConsole()
{
    return *s_pConsole;
}

void InitConsole()
{
    *s_pConsole = Console{};
    s_QueueCount = 0;
    s_bFrameRateDisplay = false;
}

void QueueConsoleChar(char16_t ch)
{
    Queue(ch);
}

void QueueConsoleKey(ConsoleCode code)
{
    Queue(EDIT_KEY | code);
}

char16_t NextConsoleChar()
{
    return static_cast<char16_t>(NextQueued() & 0xFFFF);
}

void ConsolePrint(std::u16string_view line)
{
    Console& console = *s_pConsole;
    SetLine(console.output[static_cast<std::size_t>(console.outputWrite)], line);
    console.lastOutput = console.outputWrite;
    console.outputWrite = (console.outputWrite + 1) % CONSOLE_OUTPUT_LINES;
    console.outputCount = std::min(console.outputCount + 1, CONSOLE_OUTPUT_LINES);
}

void RunConsoleCommand(std::u16string_view line)
{
    if (line.empty())
        return;
    const std::u16string text(line);
    ScriptSetCursor(text.c_str());
    const std::u16string name = ScriptNextToken();
    for (const ConsoleCommand& command : s_Commands) {
        if (command.name == name) {
            command.run();
            ScriptSetCursor(nullptr);
            return;
        }
    }
    ScriptSetCursor(nullptr);
    ConsolePrint(u"Unknown command\n");
}

void UpdateConsole()
{
    Console& console = *s_pConsole;
    const int half = static_cast<int>(static_cast<float>(s_ScreenRect.right) * 0.5f);
    console.left = s_ScreenRect.right - half;
    console.top = s_ScreenRect.bottom - CONSOLE_HEIGHT;
    console.right = console.left + half;
    console.bottom = console.top + CONSOLE_HEIGHT;

    DrawOutput(console);
    switch (console.state) {
    case CONSOLE_NEW_LINE:
        console.cursor = 0;
        console.length = 0;
        console.input.fill(0);
        console.state = CONSOLE_EDITING;
        DrawInput(console);
        break;
    case CONSOLE_EDITING:
        while (s_QueueCount > 0) {
            const std::uint32_t entry = NextQueued();
            if (entry == CONSOLE_TOGGLE)
                break;
            HandleChar(console, entry);
            if (console.state == CONSOLE_LINE_ENTERED)
                break;
        }
        DrawInput(console);
        break;
    default:
        EnterLine(console);
        break;
    }
}

void EraseConsole()
{
    const Console& console = *s_pConsole;
    Raster* const raster = GetRaster();
    if (raster->IsInitialised())
        raster->FillRectNow(console.left, console.top, console.right, console.bottom, 0);
}

void DrawConsoleGlyph(int x, int y, int glyph)
{
    GameDisplay* const display = GetGameDisplay();
    if (display->m_Font8 < 0)
        return;
    display->DrawTexture(display->m_Font8 + glyph, static_cast<float>(x), static_cast<float>(y),
                         static_cast<float>(CONSOLE_GLYPH_DEPTH), 1, 0);
}

std::u16string_view ConsoleLineText(const ConsoleLine& line)
{
    std::size_t n = 0;
    while (n < line.size() && line[n] != 0)
        ++n;
    return {line.data(), n};
}

std::u16string_view LastConsoleOutput()
{
    const Console& console = *s_pConsole;
    if (console.outputCount == 0)
        return {};
    return ConsoleLineText(console.output[static_cast<std::size_t>(console.lastOutput)]);
}

bool IsFrameRateDisplayOn()
{
    return s_bFrameRateDisplay;
}
