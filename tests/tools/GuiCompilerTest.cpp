// The data tool's GUI layouts and skins: sources compiled to the bytes the program reads, errors by file and line.
#include "gui/GUI_Button.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Label.h"
#include "gui/GUI_Picture.h"
#include "gui/GUI_Skin.h"
#include "gui/GUI_System.h"
#include "gui/GUI_TextButton.h"
#include "gui/LayoutRecords.h"
#include "tools/GuiLayoutCompiler.h"
#include "tools/SkinCompiler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int NoBitmap(std::u16string_view)
{
    return -1;
}

void NoRelease(int) {}

class GuiCompilerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GUI_System::SetLoadBitmapFunction(NoBitmap);
        GUI_System::SetReleaseTextureFunction(NoRelease);
    }
    void TearDown() override { GUI_System::ClearCallbacks(); }
};

TEST_F(GuiCompilerTest, ALayoutSourceCompilesToTheRecordsTheProgramLoads)
{
    const std::string source =
        "# a test screen\n"
        "screen\n"
        "window name=frame rect=100,80,500,400 skin=GUI\\Skins\\Physical.skn border=2 anchor=2,3\n"
        "  label name=title rect=110,90,490,120 text=STR_TITLE font=8 align=2,0 shadow=1 colour=1,2,3,255\n"
        "  textbutton name=ok rect=300,350,390,380 text=STR_OK up.image=buttons\\ok.bmp down.frame=255,255,0,255 "
        "pressedcolour=9,9,9,255\n"
        "    window name=inside rect=301,351,302,352\n"
        "  button name=plain rect=10,10,20,20 over.mode=1,2 mask=\"masks\\a b.bmp\" usemask=1\n"
        "picture name=art rect=0,0,800,600 image=art\\back.bmp imagestretch=0,1 imagealign=2,0\n";
    datac::Diagnostics diagnostics;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(datac::CompileGuiLayout(source, "test.gui.txt", bytes, diagnostics)) << diagnostics.Messages()[0];
    GUI_Interface screen;
    ASSERT_TRUE(screen.ParseLayoutStream(bytes.data(), bytes.size()));
    ASSERT_EQ(screen.GetWindows().size(), 2u);
    GUI_Window* const frame = screen.FindWindow(u"frame", GUI_KIND_ANY);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetSkinName(), u"GUI\\Skins\\Physical.skn");
    EXPECT_EQ(frame->GetBorderMode(), BORDER_FRAME);
    EXPECT_EQ(frame->m_VerticalAnchor, 3);
    EXPECT_EQ(frame->GetRight(), 500);
    auto* title = WindowCast<GUI_Label>(screen.FindWindow(u"title", GUI_KIND_ANY));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->GetFont(), 8);
    EXPECT_EQ(title->GetTextID(), u"STR_TITLE");
    EXPECT_EQ(title->GetTextColour(), (GUI_Colour{1, 2, 3, 255}));
    auto* ok = WindowCast<GUI_TextButton>(screen.FindWindow(u"ok", GUI_KIND_ANY));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetLook(LOOK_UP).file, u"buttons\\ok.bmp");
    EXPECT_EQ(ok->GetLook(LOOK_DOWN).frame, (GUI_Colour{255, 255, 0, 255}));
    EXPECT_EQ(ok->m_PressedTextColour, (GUI_Colour{9, 9, 9, 255}));
    EXPECT_EQ(ok->GetChildren().size(), 1u);
    auto* plain = WindowCast<GUI_Button>(screen.FindWindow(u"plain", GUI_KIND_ANY));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->m_HitMaskFile, u"masks\\a b.bmp");
    EXPECT_EQ(plain->GetLook(LOOK_MOUSEOVER).modeV, 2);
    auto* art = WindowCast<GUI_Picture>(screen.FindWindow(u"art", GUI_KIND_ANY));
    ASSERT_NE(art, nullptr);
    EXPECT_EQ(art->GetImage(), u"art\\back.bmp");
    EXPECT_FALSE(art->m_bImageStretchH);
    EXPECT_EQ(art->m_HorizontalAlignment, 2);
}

TEST_F(GuiCompilerTest, AMinimalWindowMatchesTheProgramsOwnBytes)
{
    datac::Diagnostics diagnostics;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(datac::CompileGuiLayout("screen\nwindow\n", "min.gui.txt", bytes, diagnostics));
    RecordWriter expected;
    GUI_Window(GUI_KIND_WINDOW).Save(expected);
    // GINT header (12) and its count (4), then the window record.
    ASSERT_EQ(bytes.size(), 16 + expected.Bytes().size());
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 16, bytes.end()), expected.Bytes());
    EXPECT_EQ(bytes[4], 'V');
    EXPECT_EQ(bytes[7], '1');
}

TEST_F(GuiCompilerTest, LayoutErrorsNameFileAndLine)
{
    struct Case {
        std::string source;
        std::string message;
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {"\xEF\xBB\xBFscreen\nwindow\n",
         "bad.gui.txt:1: starts with a byte-order mark; save the source as UTF-8 without one"},
        {"\xFF\xFEs\0c\0r\0e\0e\0n\0\n\0"s, "bad.gui.txt:1: is UTF-16; sources are UTF-8"},
        {"screen\nwindow\nl\0a\0b\0e\0l\0\n\0"s, "bad.gui.txt:3: holds a NUL byte (UTF-16?); sources are UTF-8"},
        {"screen\nwindow\nlabel text=" + std::string(RECORD_STRING_MAX + 1, 'a') + "\n",
         "bad.gui.txt:3: text: a text holds at most 32767 units"},
        {"screen\nwindow skin=..\\..\\home\\x.skn\n",
         "bad.gui.txt:2: skin: the path ..\\..\\home\\x.skn leaves the data folder"},
        {"screen\npicture image=/etc/x.bmp\n", "bad.gui.txt:2: image: the path /etc/x.bmp leaves the data folder"},
        {"screen\nbutton up.image=C:\\x.bmp\n", "bad.gui.txt:2: up.image: the path C:\\x.bmp leaves the data folder"},
        {"screen\nwindow bgimage=art/../../x.bmp\n",
         "bad.gui.txt:2: bgimage: the path art/../../x.bmp leaves the data folder"},
        {"window\n", "bad.gui.txt:1: a layout begins with the line \"screen\""},
        {"# only a remark\n\n", "bad.gui.txt:2: ends without a \"screen\" line"},
        {"screen\nwidget name=a\n", "bad.gui.txt:2: unknown window kind widget"},
        {"screen\n\nwindow rect=1,2,3\n", "bad.gui.txt:3: rect: expects 4 numbers separated by commas"},
        {"screen\nlabel image=x.bmp\n", "bad.gui.txt:2: image: unknown field image"},
        {"screen\nwindow name=\"open\n", "bad.gui.txt:2: a quoted value of name has no closing quote"},
        {"screen\nbutton down.frame=1,2,3,300\n", "bad.gui.txt:2: down.frame: colour components lie in 0..255"},
        {"screen\nwindow hidden=yes\n", "bad.gui.txt:2: hidden: expects 0 or 1"},
    };
    for (const Case& c : cases) {
        datac::Diagnostics diagnostics;
        std::vector<std::uint8_t> bytes;
        EXPECT_FALSE(datac::CompileGuiLayout(c.source, "bad.gui.txt", bytes, diagnostics)) << c.message;
        ASSERT_FALSE(diagnostics.Messages().empty()) << c.message;
        EXPECT_EQ(diagnostics.Messages()[0], c.message);
    }
}

// A chain of windows as deep as the loader keeps compiles and loads whole; one level more is refused on its line.
TEST_F(GuiCompilerTest, LayoutsNestNoDeeperThanTheLoaderKeeps)
{
    const auto chain = [](int levels) {
        std::string source = "screen\n";
        for (int level = 0; level < levels; ++level)
            source += std::string(static_cast<std::size_t>(level), ' ') + "window name=w" + std::to_string(level) + "\n";
        return source;
    };
    datac::Diagnostics diagnostics;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(datac::CompileGuiLayout(chain(MAX_RECORD_NESTING + 1), "deep.gui.txt", bytes, diagnostics));
    GUI_Interface screen;
    ASSERT_TRUE(screen.ParseLayoutStream(bytes.data(), bytes.size()));
    EXPECT_NE(screen.FindWindow(u"w0", GUI_KIND_ANY), nullptr);
    const std::string deepest = "w" + std::to_string(MAX_RECORD_NESTING);
    EXPECT_NE(screen.FindWindow(std::u16string(deepest.begin(), deepest.end()), GUI_KIND_ANY), nullptr);

    datac::Diagnostics refused;
    EXPECT_FALSE(datac::CompileGuiLayout(chain(MAX_RECORD_NESTING + 2), "deep.gui.txt", bytes, refused));
    ASSERT_EQ(refused.Messages().size(), 1u);
    EXPECT_EQ(refused.Messages()[0], "deep.gui.txt:" + std::to_string(MAX_RECORD_NESTING + 3) +
                                         ": a window nested 65 levels deep; the program keeps none deeper than 64");
}

TEST_F(GuiCompilerTest, SkinsCompileToWhatTheReaderReadsAndReportBadLines)
{
    datac::Diagnostics diagnostics;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(datac::CompileSkin("// frame\nWINDOW_BORDER_LT GUI\\lt.bmp 0 0 1 -1\nWINDOW_BG_ALPHAENABLE 1\n",
                                   "a.skn.txt", bytes, diagnostics));
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    GUI_Skin skin;
    ASSERT_TRUE(skin.Parse(bytes.data(), bytes.size()));
    EXPECT_EQ(skin.Lookup(u"WINDOW_BORDER_LT"), u"GUI\\lt.bmp 0 0 1 -1");
    EXPECT_EQ(skin.Lookup(u"WINDOW_BG_ALPHAENABLE"), u"1");

    struct Case {
        std::string source;
        std::string message;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBFWINDOW_CENTER a.bmp\n",
         "b.skn.txt:1: starts with a byte-order mark; save the source as UTF-8 without one"},
        {"WINDOW_CENTER ..\\x.bmp\n", "b.skn.txt:1: the image ..\\x.bmp leaves the data folder"},
        {"// c\nBUTTON_UP_BORDER_T \\x.bmp 1\n", "b.skn.txt:2: the image \\x.bmp leaves the data folder"},
        {"WINDOW_CENTER " + std::string(SKIN_LINE_MAX, 'a') + ".bmp\n", "b.skn.txt:1: a line holds at most 1023 units"},
        {"WINDOW_BORDER_LT\n", "b.skn.txt:1: key WINDOW_BORDER_LT has no value"},
        {"\nWINDOW_BORDER_X a.bmp\n", "b.skn.txt:2: unknown skin key WINDOW_BORDER_X"},
        {"BUTTON_UP_CENTER a.bmp 1 x\n", "b.skn.txt:1: 'x' is not a whole number"},
        {"BUTTON_DOWN_BG_ALPHAENABLE yes\n", "b.skn.txt:1: an alpha key takes one whole number"},
    };
    for (const Case& c : cases) {
        datac::Diagnostics errors;
        std::vector<std::uint8_t> out;
        EXPECT_FALSE(datac::CompileSkin(c.source, "b.skn.txt", out, errors)) << c.message;
        ASSERT_FALSE(errors.Messages().empty()) << c.message;
        EXPECT_EQ(errors.Messages()[0], c.message);
    }
}

} // namespace
