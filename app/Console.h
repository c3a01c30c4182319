// The developers' console: a strip at the bottom right of the screen with the last lines of its output and an
// input line. It takes typed characters, completes command names, keeps a history and runs a few commands.
// It is fed and drawn only while enabled (setting "consoleenabled") and open.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr int CONSOLE_LINE_CAPACITY = 80;
// A stored line keeps at most this many units (and the terminator).
constexpr int CONSOLE_LINE_MAX = CONSOLE_LINE_CAPACITY - 1;
constexpr int CONSOLE_HISTORY_LINES = 100;
constexpr int CONSOLE_OUTPUT_LINES = 200;
constexpr int CONSOLE_QUEUE_CAPACITY = 16;
constexpr int CONSOLE_HEIGHT = 60;
constexpr int CONSOLE_GLYPH_SIZE = 8;
constexpr int CONSOLE_RECT_DEPTH = 20;
constexpr int CONSOLE_GLYPH_DEPTH = 10;

enum ConsoleState { CONSOLE_NEW_LINE = 0, CONSOLE_EDITING = 1, CONSOLE_LINE_ENTERED = 2 };

// Editing codes of the character queue.
enum ConsoleCode : std::uint8_t {
    CONSOLE_BACKSPACE = 8,
    CONSOLE_TAB = 9,
    CONSOLE_ENTER = 13,
    CONSOLE_ESCAPE = 27,
    CONSOLE_TOGGLE = 96,
    CONSOLE_END = 163,
    CONSOLE_HOME = 164,
    CONSOLE_LEFT = 165,
    CONSOLE_HISTORY_BACK = 166,
    CONSOLE_RIGHT = 167,
    CONSOLE_HISTORY_FORWARD = 168,
    CONSOLE_DELETE = 169,
};

using ConsoleLine = std::array<char16_t, CONSOLE_LINE_CAPACITY>;

struct Console {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int state = CONSOLE_NEW_LINE;
    int cursor = 0;
    int length = 0;
    ConsoleLine input{};
    ConsoleLine searchPrefix{};
    int searchLength = 0;
    std::array<ConsoleLine, CONSOLE_HISTORY_LINES> history{};
    std::array<ConsoleLine, CONSOLE_OUTPUT_LINES> output{};
    int historyWrite = 0;
    int historyCount = 0;
    int historyBrowse = 0;
    int outputWrite = 0;
    int outputCount = 0;
    int lastOutput = 0;
};

extern bool s_bConsoleEnabled;
extern bool s_bConsoleOpen;

Console& GetConsole();
// Start-up: state 0, every line and index emptied, the character queue empty.
void InitConsole();
// A typed UTF-16 unit; dropped when the queue already holds 16. Backspace, Tab, Enter and Escape edit; a unit
// the glyph font can draw is inserted; any other is ignored when it is taken.
void QueueConsoleChar(char16_t ch);
// An editing key (CONSOLE_END to CONSOLE_DELETE); dropped like a character when the queue is full.
void QueueConsoleKey(ConsoleCode code);
// The oldest queued character or editing code, 0 when none.
char16_t NextConsoleChar();
// Appends one line to the output ring, cut to 79 units.
void ConsolePrint(std::u16string_view line);
void RunConsoleCommand(std::u16string_view line);
// The console's frame: rectangle, output, input handling and drawing.
void UpdateConsole();
// Blanks the strip the console last drew. A scene that keeps its frame between draws (the menus) never draws
// over it by itself, so a closed console would stay on screen.
void EraseConsole();
void DrawConsoleGlyph(int x, int y, int glyph);

// The text of a line up to its terminator.
std::u16string_view ConsoleLineText(const ConsoleLine& line);
// The newest output line (empty when there is none).
std::u16string_view LastConsoleOutput();
bool IsFrameRateDisplayOn();
