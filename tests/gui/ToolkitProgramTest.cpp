// The toolkit end to end in a program of its own: a screen compiled from a layout source with a skinned window,
// a button, a text button, a label and a picture, and a scroll bar the program places; driven by a headless
// script with frames checked at chosen pixels, and through the SDL2 window under Xvfb with xdotool.
#include "engine/core/BitmapFile.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"
#include "tests/engine/scene/SceneFixture.h"
#include "tools/GuiLayoutCompiler.h"
#include "tools/SkinCompiler.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

const std::string DEMO = std::string(TESSEL_BIN_DIR) + "/gui_toolkit_demo";

constexpr std::uint32_t CORNER = 0x404040;
constexpr std::uint32_t EDGE = 0x808080;
constexpr std::uint32_t CENTRE = 0x2040C0;
constexpr std::uint32_t UP = 0x20A020;
constexpr std::uint32_t OVER = 0xE0E020;
constexpr std::uint32_t DOWN = 0xC02020;
constexpr std::uint32_t PICTURE = 0xE020E0;
constexpr std::uint32_t TRACK = 0x606060;
constexpr std::uint32_t THUMB = 0xF0F0F0;

const char* const LAYOUT =
    "screen\n"
    "window name=panel rect=40,40,400,300 skin=GUI\\Skins\\Test.skn\n"
    "  label name=title rect=60,50,380,80 text=Hello colour=255,255,255,255 align=0,0 font=11\n"
    "  button name=ok rect=60,100,180,140 skin=GUI\\Skins\\Test.skn\n"
    "  textbutton name=quit rect=200,100,320,140 skin=GUI\\Skins\\Test.skn text=Quit\n"
    "picture name=art rect=420,40,460,80 image=art\\pic.bmp\n";

const char* const SKIN =
    "WINDOW_BORDER_LT win\\corner.bmp\nWINDOW_BORDER_T win\\edge.bmp 1 0\nWINDOW_BORDER_RT win\\corner.bmp\n"
    "WINDOW_BORDER_L win\\edge.bmp 0 1\nWINDOW_CENTER win\\centre.bmp 1 1\nWINDOW_BORDER_R win\\edge.bmp 0 1\n"
    "WINDOW_BORDER_LB win\\corner.bmp\nWINDOW_BORDER_B win\\edge.bmp 1 0\nWINDOW_BORDER_RB win\\corner.bmp\n"
    "BUTTON_UP_CENTER btn\\up.bmp 1 1\nBUTTON_MOUSEOVER_CENTER btn\\over.bmp 1 1\nBUTTON_DOWN_CENTER btn\\down.bmp 1 1\n"
    "BUTTON_UP_BORDER_T btn\\edge.bmp 1 0\nBUTTON_MOUSEOVER_BORDER_T btn\\edge.bmp 1 0\n"
    "BUTTON_DOWN_BORDER_T btn\\edge.bmp 1 0\n";

pid_t Spawn(const std::vector<std::string>& command, const std::vector<std::string>& extraEnv,
            const std::string& outputFile = {})
{
    std::vector<std::string> all = command;
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = extraEnv;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("DISPLAY=", 0) != 0)
            env.push_back(text);
    }
    std::vector<char*> envp;
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!outputFile.empty())
        posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int result = posix_spawnp(&pid, all[0].c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return result == 0 ? pid : -1;
}

int WaitExit(pid_t pid, int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

std::string ReadText(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class ToolkitProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const test::TempDir& d = m_Data;
        d.Write("win/corner.bmp", test::SolidBmp(8, 8, CORNER));
        d.Write("win/edge.bmp", test::SolidBmp(8, 8, EDGE));
        d.Write("win/centre.bmp", test::SolidBmp(4, 4, CENTRE));
        d.Write("btn/up.bmp", test::SolidBmp(4, 4, UP));
        d.Write("btn/over.bmp", test::SolidBmp(4, 4, OVER));
        d.Write("btn/down.bmp", test::SolidBmp(4, 4, DOWN));
        d.Write("btn/edge.bmp", test::SolidBmp(4, 4, 0xFFFFFF));
        d.Write("art/pic.bmp", test::SolidBmp(40, 40, PICTURE));
        d.Write("bar/track.bmp", test::SolidBmp(4, 4, TRACK));
        d.Write("bar/arrow.bmp", test::SolidBmp(4, 4, 0x000080));
        d.Write("bar/thumb.bmp", test::SolidBmp(4, 4, THUMB));
        datac::Diagnostics diagnostics;
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(datac::CompileSkin(SKIN, "Test.skn.txt", bytes, diagnostics));
        d.Write("GUI/Skins/Test.skn", bytes);
        ASSERT_TRUE(datac::CompileGuiLayout(LAYOUT, "Test.gui.txt", bytes, diagnostics));
        d.Write("GUI/Interfaces/Test.GUI", bytes);
    }

    void TearDown() override
    {
        for (const pid_t pid : m_Children) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
    }

    pid_t Run(bool headless, const std::vector<std::string>& env, const std::string& script = {})
    {
        std::vector<std::string> command = {DEMO, "--data", m_Data.Path(), "--layout", "GUI\\Interfaces\\Test.GUI"};
        if (headless)
            command.push_back("--headless");
        if (!script.empty()) {
            command.push_back("--script");
            command.push_back(script);
        }
        const pid_t pid = Spawn(command, env, m_Work.File("out.txt"));
        if (pid > 0)
            m_Children.push_back(pid);
        return pid;
    }

    // The frame's pixel, near enough to the colour after the 16-bit back buffer.
    static bool Near(const RasterBitmap& frame, int x, int y, std::uint32_t colour)
    {
        const std::uint32_t pixel = frame.At(x, y);
        for (int shift = 0; shift <= 16; shift += 8) {
            const int a = static_cast<int>((pixel >> shift) & 0xFF);
            const int b = static_cast<int>((colour >> shift) & 0xFF);
            if (std::abs(a - b) > 10)
                return false;
        }
        return true;
    }

    RasterBitmap Frame(const std::string& name) const
    {
        RasterBitmap frame;
        EXPECT_TRUE(LoadBitmapFile(plat::FromUtf8(m_Work.File(name)), frame)) << name;
        return frame;
    }

    std::vector<pid_t> m_Children;
    test::TempDir m_Data;
    test::TempDir m_Work;
};

TEST_F(ToolkitProgramTest, AScriptedRunHoversPressesDragsAndClicks)
{
    const std::string w = m_Work.Path() + "/";
    const std::string script =
        "0 move 120 120\n"
        "2 save " + w + "hover.bmp\n"
        "3 down left 120 120\n"
        "5 save " + w + "pressed.bmp\n"
        "6 move 500 400\n"
        "8 save " + w + "off.bmp\n"
        "9 up left 500 400\n"
        "10 move 120 120\n"
        "11 down left 120 120\n"
        "12 up left 120 120\n"
        "14 move 610 70\n"
        "15 down left 610 70\n"
        "16 move 610 200\n"
        "17 move 610 300\n"
        "18 up left 50 450\n"
        "19 save " + w + "thumb.bmp\n"
        "21 move 260 120\n"
        "22 down left 260 120\n"
        "23 up left 260 120\n"
        "30 move 0 0\n";
    m_Work.Write("script.txt", script);
    if (const char* keep = std::getenv("GUI_DEMO_FRAMES"))
        std::system(("mkdir -p " + std::string(keep)).c_str());
    const pid_t pid = Run(true, {}, m_Work.File("script.txt"));
    ASSERT_GT(pid, 0);
    ASSERT_EQ(WaitExit(pid, 60), 0);
    // The release outside posted nothing; the click inside and the quit button did.
    EXPECT_EQ(ReadText(m_Work.File("out.txt")), "command ok\ncommand quit\nposition 14\n");

    const RasterBitmap hover = Frame("hover.bmp");
    ASSERT_EQ(hover.width, 640);
    EXPECT_TRUE(Near(hover, 41, 41, CORNER));
    EXPECT_TRUE(Near(hover, 200, 43, EDGE));
    EXPECT_TRUE(Near(hover, 200, 250, CENTRE));
    EXPECT_TRUE(Near(hover, 440, 60, PICTURE));
    EXPECT_TRUE(Near(hover, 120, 120, OVER));
    EXPECT_TRUE(Near(hover, 260, 130, UP));
    bool titleDrawn = false;
    for (int y = 50; y < 80 && !titleDrawn; ++y) {
        for (int x = 60; x < 120 && !titleDrawn; ++x)
            titleDrawn = Near(hover, x, y, 0xFFFFFF);
    }
    EXPECT_TRUE(titleDrawn);
    EXPECT_TRUE(Near(Frame("pressed.bmp"), 120, 120, DOWN));
    EXPECT_TRUE(Near(Frame("off.bmp"), 120, 120, UP));
    const RasterBitmap thumb = Frame("thumb.bmp");
    EXPECT_TRUE(Near(thumb, 610, 300, THUMB));
    EXPECT_TRUE(Near(thumb, 610, 80, TRACK));
}

TEST_F(ToolkitProgramTest, TheSdlWindowAnswersXdotoolUnderXvfb)
{
    if (!test::ScopedXvfb::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    if (::access("/usr/bin/xdotool", X_OK) != 0)
        GTEST_SKIP() << "xdotool is not installed";
    const test::ScopedXvfb display;
    ASSERT_TRUE(display.Available()) << "Xvfb did not start";
    const std::vector<std::string> xenv = {"DISPLAY=" + display.Display()};
    std::vector<std::string> env = xenv;
    env.push_back("SDL_AUDIODRIVER=dummy");
    env.push_back("ASAN_OPTIONS=detect_leaks=0");
    const pid_t pid = Run(false, env);
    ASSERT_GT(pid, 0);
    std::string window;
    for (int i = 0; i < 100 && window.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const pid_t search = Spawn({"xdotool", "search", "--onlyvisible", "--name", "Toolkit demo"}, xenv,
                                   m_Work.File("search.txt"));
        if (search > 0 && WaitExit(search, 20) == 0)
            window = ReadText(m_Work.File("search.txt"));
        while (!window.empty() && (window.back() == '\n' || window.back() == '\r'))
            window.pop_back();
        window = window.substr(0, window.find('\n'));
    }
    ASSERT_FALSE(window.empty()) << "no window appeared";
    const auto xdo = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "xdotool");
        const pid_t tool = Spawn(args, xenv);
        EXPECT_EQ(WaitExit(tool, 20), 0) << args[1];
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    };
    // A loaded server can drop the first click of a new window: the click is repeated until the program
    // reports it (it flushes each line).
    const auto clicked = [&] { return ReadText(m_Work.File("out.txt")).find("command ok\n") != std::string::npos; };
    for (int attempt = 0; attempt < 5 && !clicked(); ++attempt) {
        xdo({"mousemove", "--window", window, "120", "120"});
        xdo({"click", "1"});
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    // Drag the thumb down.
    xdo({"mousemove", "--window", window, "610", "70"});
    xdo({"mousedown", "1"});
    xdo({"mousemove", "--window", window, "610", "200"});
    xdo({"mousemove", "--window", window, "610", "300"});
    xdo({"mouseup", "1"});
    xdo({"mousemove", "--window", window, "260", "120"});
    xdo({"click", "1"});
    ASSERT_EQ(WaitExit(pid, 30), 0);
    const std::string out = ReadText(m_Work.File("out.txt"));
    EXPECT_NE(out.find("command ok\n"), std::string::npos) << out;
    EXPECT_NE(out.find("command quit\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("position 0\n"), std::string::npos) << out;
}

} // namespace
