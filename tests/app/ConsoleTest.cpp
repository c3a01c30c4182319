// The debug console: editing, completion, history, output and the commands' effects.
#include "app/Console.h"

#include "app/MainLoop.h"
#include "engine/core/QuitRequest.h"
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/Intro.h"
#include "rules/PlayerState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitConsole();
        ClearQuitRequest();
        SetVoiceMuted(false);
        s_ScreenRect = {0, 0, 1024, 768};
        UpdateConsole();  // a new line: editing starts
    }

    void TearDown() override
    {
        ClearQuitRequest();
        SetVoiceMuted(false);
    }

    static void Type(std::string_view text)
    {
        for (const char c : text) {
            QueueConsoleChar(static_cast<std::uint8_t>(c));
        }
        UpdateConsole();
    }

    // A control character as typed, or an editing key.
    static void Key(std::uint8_t code)
    {
        if (code >= CONSOLE_END)
            QueueConsoleKey(static_cast<ConsoleCode>(code));
        else
            QueueConsoleChar(code);
        UpdateConsole();
    }

    // Types a line, enters it and runs it; the next frame starts a new line.
    static void Enter(std::string_view text)
    {
        Type(text);
        Key(CONSOLE_ENTER);
        UpdateConsole();
        UpdateConsole();
    }

    static std::u16string Input() { return std::u16string(ConsoleLineText(GetConsole().input)); }

    // The newest output lines, oldest first.
    static std::vector<std::u16string> Output(int count)
    {
        const Console& console = GetConsole();
        std::vector<std::u16string> lines;
        for (int i = count - 1; i >= 0; --i) {
            const int index = (console.lastOutput - i + CONSOLE_OUTPUT_LINES) % CONSOLE_OUTPUT_LINES;
            lines.emplace_back(ConsoleLineText(console.output[static_cast<std::size_t>(index)]));
        }
        return lines;
    }
};

TEST_F(ConsoleTest, TabCompletesTheFirstCommandThatBeginsWithTheLine)
{
    Type("nu");
    Key(CONSOLE_TAB);
    EXPECT_EQ(Input(), u"numactors");
    EXPECT_EQ(GetConsole().cursor, 9);
    Key(CONSOLE_ESCAPE);
    Type("SET");
    Key(CONSOLE_TAB);
    EXPECT_EQ(Input(), u"setlife");
    Key(CONSOLE_ESCAPE);
    Type("xyz");
    Key(CONSOLE_TAB);
    EXPECT_EQ(Input(), u"xyz");
    Key(CONSOLE_ESCAPE);
    Key(CONSOLE_TAB);
    EXPECT_EQ(Input(), u"");
}

TEST_F(ConsoleTest, EditingKeysMoveTheCursorAndRemoveCharacters)
{
    Type("abcd");
    Key(CONSOLE_LEFT);
    Key(CONSOLE_LEFT);
    Key(CONSOLE_BACKSPACE);
    EXPECT_EQ(Input(), u"acd");
    Type("X");
    EXPECT_EQ(Input(), u"aXcd");
    Key(CONSOLE_DELETE);
    EXPECT_EQ(Input(), u"aXd");
    Key(CONSOLE_HOME);
    Key(CONSOLE_BACKSPACE);
    EXPECT_EQ(Input(), u"aXd");
    Key(CONSOLE_END);
    Key(CONSOLE_RIGHT);
    EXPECT_EQ(GetConsole().cursor, 3);
    Key(CONSOLE_ESCAPE);
    EXPECT_EQ(Input(), u"");
    // Typed characters with the editing keys' numbers (End, Left, Delete) edit nothing; the font has no glyphs
    // for them either.
    Type("ab");
    Key(CONSOLE_HOME);
    Type("\xA3\xA5\xA9");
    EXPECT_EQ(Input(), u"ab");
    EXPECT_EQ(GetConsole().cursor, 0);
}

TEST_F(ConsoleTest, UnknownLinesAreEchoedThenReported)
{
    Enter("Foo");
    EXPECT_EQ(Output(2), (std::vector<std::u16string>{u"Foo\n", u"Unknown command\n"}));
    // Names compare exactly.
    Enter("QUIT");
    EXPECT_FALSE(IsQuitRequested());
    EXPECT_EQ(Output(1), std::vector<std::u16string>{u"Unknown command\n"});
}

TEST_F(ConsoleTest, HistoryListsTheEnteredLinesOldestFirst)
{
    Enter("foo");
    Enter("level");
    Enter("history");
    EXPECT_EQ(Output(4), (std::vector<std::u16string>{u"--- History ---\n", u"foo\n", u"level\n", u"history\n"}));
}

TEST_F(ConsoleTest, HistoryBrowsingMatchesThePrefixAndComesBackToIt)
{
    Enter("numactors");
    Enter("fps");
    Enter("numactors 2");
    Type("nu");
    Key(CONSOLE_HISTORY_BACK);
    EXPECT_EQ(Input(), u"numactors 2");
    Key(CONSOLE_HISTORY_BACK);
    EXPECT_EQ(Input(), u"numactors");
    Key(CONSOLE_HISTORY_BACK);
    EXPECT_EQ(Input(), u"nu");
    Key(CONSOLE_HISTORY_FORWARD);
    EXPECT_EQ(Input(), u"numactors");
    // No line matches: the search ends and the typed text stays.
    Key(CONSOLE_ESCAPE);
    Type("zz");
    Key(CONSOLE_HISTORY_BACK);
    EXPECT_EQ(Input(), u"zz");
    Key(CONSOLE_HISTORY_FORWARD);
    EXPECT_EQ(Input(), u"zz");
}

TEST_F(ConsoleTest, HistoryRingWrapsAfter100Lines)
{
    for (int i = 0; i < 105; ++i) {
        Enter("level");
    }
    EXPECT_EQ(GetConsole().historyCount, CONSOLE_HISTORY_LINES);
    EXPECT_EQ(GetConsole().historyWrite, 5);
    Type("lev");
    Key(CONSOLE_HISTORY_BACK);
    EXPECT_EQ(Input(), u"level");
}

TEST_F(ConsoleTest, ASeventeenthQueuedCharacterIsDropped)
{
    for (int i = 0; i < 17; ++i) {
        QueueConsoleChar(static_cast<std::uint8_t>('a' + i));
    }
    UpdateConsole();
    EXPECT_EQ(Input(), u"abcdefghijklmnop");
    EXPECT_EQ(NextConsoleChar(), 0);
}

TEST_F(ConsoleTest, InsertionStopsAtTheConsoleWidthAndWithinTheLine)
{
    s_ScreenRect = {0, 0, 400, 300};  // 200 wide: (200 - 16) / 8 = 23
    for (int i = 0; i < 3; ++i) {
        Type("abcdefghij");
    }
    EXPECT_EQ(Input().size(), 24u);
    Key(CONSOLE_ESCAPE);
    s_ScreenRect = {0, 0, 4000, 300};  // far wider than the line
    for (int i = 0; i < 10; ++i) {
        Type("abcdefghij");
    }
    EXPECT_EQ(Input().size(), static_cast<std::size_t>(CONSOLE_LINE_MAX));
}

TEST_F(ConsoleTest, TypedUnitsTheFontCannotDrawAreIgnored)
{
    struct Case {
        char16_t unit;
        std::u16string line;
    };
    // Units whose low byte is 0, a letter or an editing code (backspace, completion, Enter, Escape) must not act
    // as their low byte.
    const std::vector<Case> cases = {
        {u'\u0100', u"xy"}, {u'\u4E00', u"xy"}, {u'\u0141', u"xy"}, {u'\u00A3', u"xy"},
        {u'a', u"xay"},      {u'_', u"x_y"},      {0, u"xy"},          {u'\u0108', u"xy"},
        {u'\u0109', u"xy"}, {u'\u010D', u"xy"}, {u'\u011B', u"xy"},
    };
    for (const Case& c : cases) {
        Key(CONSOLE_ESCAPE);
        QueueConsoleChar(u'x');
        QueueConsoleChar(c.unit);
        QueueConsoleChar(u'y');
        UpdateConsole();
        const Console& console = GetConsole();
        EXPECT_EQ(Input(), c.line) << static_cast<int>(c.unit);
        EXPECT_EQ(console.length, static_cast<int>(Input().size())) << static_cast<int>(c.unit);
        EXPECT_EQ(console.cursor, console.length) << static_cast<int>(c.unit);
        EXPECT_EQ(console.state, CONSOLE_EDITING) << static_cast<int>(c.unit) << " entered the line";
    }
    // What follows an ignored unit is still run.
    Key(CONSOLE_ESCAPE);
    QueueConsoleChar(u'\u0100');
    Type("numactors");
    Key(CONSOLE_ENTER);
    UpdateConsole();
    EXPECT_EQ(LastConsoleOutput(), u"NumActors = 0\n");
}

TEST_F(ConsoleTest, PrintCutsLinesTo79Units)
{
    ConsolePrint(std::u16string(200, u'x'));
    EXPECT_EQ(LastConsoleOutput().size(), 79u);
}

TEST_F(ConsoleTest, CommandsHaveTheirEffects)
{
    Enter("numactors");
    EXPECT_EQ(LastConsoleOutput(), u"NumActors = 0\n");
    s_FramesPerSecond = 30.0f;
    Enter("fps");
    EXPECT_EQ(LastConsoleOutput(), u"Current Framerate = 30.000000\n");
    Enter("freetexturespace");
    EXPECT_EQ(Output(2), (std::vector<std::u16string>{u"Free texture space=2097152\n",
                                                      u"Free texture pages=16.000000\n"}));
    Enter("setlife 7");
    EXPECT_EQ(PlayerState::GetLife(PLAYER_HUMAN), 7);
    Enter("setcpulife -3");
    EXPECT_EQ(PlayerState::GetLife(PLAYER_CPU), -3);
    Enter("mute");
    EXPECT_TRUE(IsVoiceMuted());
    EXPECT_EQ(LastConsoleOutput(), u"Hear no evil");
    Enter("mute");
    EXPECT_FALSE(IsVoiceMuted());
    EXPECT_EQ(LastConsoleOutput(), u"I hear dead people");
    const bool skip = s_bSkipIntro;
    Enter("skipintro");
    EXPECT_NE(s_bSkipIntro, skip);
    Enter("skipintro");
    const bool display = IsFrameRateDisplayOn();
    Enter("toggleframerate");
    EXPECT_NE(IsFrameRateDisplayOn(), display);
    Enter("sfx 3");  // an empty slot plays nothing and reports nothing
    EXPECT_EQ(LastConsoleOutput(), u"sfx 3\n");
    EXPECT_FALSE(IsQuitRequested());
    Enter("quit");
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_EQ(QuitExitCode(), 0);
    PlayerState::SetLife(PLAYER_HUMAN, STARTING_LIFE, 0);
    PlayerState::SetLife(PLAYER_CPU, STARTING_LIFE, 0);
}

TEST_F(ConsoleTest, EnterClosesTheLineAndLaterCharactersWaitForTheNext)
{
    Type("level");
    QueueConsoleChar(CONSOLE_ENTER);
    QueueConsoleChar('f');
    UpdateConsole();
    EXPECT_EQ(GetConsole().state, CONSOLE_LINE_ENTERED);
    UpdateConsole();  // runs the line
    EXPECT_EQ(LastConsoleOutput(), u"level\n");
    UpdateConsole();  // a new line
    UpdateConsole();
    EXPECT_EQ(Input(), u"f");
}

} // namespace

namespace {

// The console drawn with the display's 8 by 8 glyph font: the strip, the prompt, the line and the cursor.
class ConsoleDrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitConsole();
        GameDisplay* const display = GetGameDisplay();
        display->m_Width = 1024;
        display->m_Height = 768;
        display->InitDisplay(false);
        ASSERT_TRUE(display->IsInitialised());
        // A .chp file of 64 glyphs: a 10-byte header, then the pixels.
        m_Font.assign(5, 0);
        m_Font.resize(5 + 64 * 64, 0x7FFF);
        // "_" sets its bottom row only.
        const std::size_t underscore = 5 + static_cast<std::size_t>(u'_' - 32) * 64;
        std::fill_n(m_Font.begin() + static_cast<std::ptrdiff_t>(underscore), 56, 0);
        display->LoadFont8(m_Font.data(), m_Font.size() * 2, 64);
        s_ScreenRect = {0, 0, 1024, 768};
        GetRaster()->BeginFrame();
    }

    void TearDown() override { GetGameDisplay()->Shutdown(); }

    std::vector<std::uint16_t> m_Font;
};

TEST_F(ConsoleDrawingTest, DrawsTheStripPromptLineAndCursor)
{
    ASSERT_GE(GetGameDisplay()->m_Font8, 0);
    UpdateConsole();
    // Fill, prompt and cursor (the "_" glyph's one row).
    EXPECT_EQ(GetRaster()->GetQueuedCount(), 3);
    GetRaster()->BeginFrame();
    QueueConsoleChar('a');
    QueueConsoleChar('\n');  // never drawn
    UpdateConsole();
    EXPECT_EQ(GetRaster()->GetQueuedCount(), 4);
    GetRaster()->BeginFrame();
    ConsolePrint(u"ab c");  // the blank is glyph 0
    UpdateConsole();
    EXPECT_EQ(GetRaster()->GetQueuedCount(), 8);
}

TEST_F(ConsoleDrawingTest, TheCursorIsGrey)
{
    GetRaster()->SetActive(true);
    UpdateConsole();
    GetRaster()->EndFrame();
    // The console's left edge is the screen's middle; the cursor stands in the first column after the prompt,
    // its glyph's bottom row on the screen's last one.
    const PixelTarget frame = GetRaster()->BackBuffer();
    const std::uint16_t grey = GetRaster()->MakeColor(128, 128, 128, 255);
    for (int x = 520; x < 528; ++x) {
        EXPECT_EQ(frame.pixels[767 * frame.pitch + x], grey) << x;
    }
    EXPECT_EQ(frame.pixels[766 * frame.pitch + 520], GetRaster()->MakeColor(32, 32, 32, 255));
}

} // namespace

namespace {

TEST_F(ConsoleDrawingTest, ANarrowedConsoleDrawsTheCursorWithinTheShownText)
{
    GetRaster()->SetActive(true);
    UpdateConsole();  // a new line: editing starts
    for (const char c : std::string_view("abcdefghij"))
        QueueConsoleChar(static_cast<char16_t>(c));
    QueueConsoleKey(CONSOLE_HOME);
    UpdateConsole();
    ASSERT_EQ(GetConsole().length, 10);
    GetRaster()->EndFrame();
    GetRaster()->BeginFrame();
    // 64 wide: the strip runs from x 32, and shows the last 6 characters of the 10.
    s_ScreenRect = {0, 0, 64, 768};
    UpdateConsole();
    GetRaster()->EndFrame();
    const PixelTarget frame = GetRaster()->BackBuffer();
    const std::uint16_t grey = GetRaster()->MakeColor(128, 128, 128, 255);
    // The cursor stands in the first shown column, not four columns left of it outside the strip.
    for (int x = 40; x < 48; ++x) {
        EXPECT_EQ(frame.pixels[767 * frame.pitch + x], grey) << x;
    }
    EXPECT_NE(frame.pixels[767 * frame.pitch + 8], grey);
}

} // namespace
