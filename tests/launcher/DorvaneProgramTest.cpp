// The real Dorvane on the disc folder of the build, under Xvfb, driven with xdotool: it opens showing Install,
// runs the real installer on OK, then shows Play, which starts the real Tessel and ends.
#include "engine/core/RegistrySettings.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string DISC = TESSEL_DISC_DIR;

bool HaveXdotool()
{
    return ::access("/usr/bin/xdotool", X_OK) == 0;
}

void Pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class DorvaneProgramTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const int pid : m_Others) {
            if (test::ProcessAlive(pid))
                ::kill(pid, SIGKILL);
        }
        for (const int pid : m_Children) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == 0) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
        // The server goes last: a program that loses its display ends without its own shutdown.
        m_Xvfb.reset();
    }

    std::vector<std::string> Env(const std::string& display) const
    {
        // X's extension libraries keep allocations LeakSanitizer cannot name; the headless tests check leaks.
        return {"TESSEL_CONFIG_HOME=" + m_Config.Path(), "XDG_RUNTIME_DIR=" + m_Runtime.Path(), "DISPLAY=" + display,
                "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0"};
    }

    int RunDorvane(const std::string& display)
    {
        const int pid = test::SpawnProgram(DISC + "/Dorvane", {}, Env(display), DISC);
        if (pid > 0)
            m_Children.push_back(pid);
        return pid;
    }

    // Every visible window whose name matches the pattern.
    std::vector<std::string> Windows(const std::string& display, const std::string& pattern) const
    {
        const std::string out = m_Work.File("windows.txt");
        const int pid = test::SpawnProgram("xdotool", {"search", "--onlyvisible", "--name", pattern},
                                           {"DISPLAY=" + display}, {}, out);
        std::vector<std::string> ids;
        if (pid <= 0 || test::WaitProgramExit(pid, 20) != 0)
            return ids;
        std::vector<std::uint8_t> bytes;
        plat::ReadFileBytes(plat::FromUtf8(out), bytes);
        std::istringstream lines(std::string(bytes.begin(), bytes.end()));
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty())
                ids.push_back(line);
        }
        return ids;
    }

    // Waits up to `tenths` tenths of a second: a sanitizer build started on a busy machine can take most of a minute.
    std::vector<std::string> WaitForWindows(const std::string& display, const std::string& pattern, int tenths = 150)
    {
        std::vector<std::string> found;
        for (int i = 0; i < tenths && found.empty(); ++i) {
            Pause(100);
            found = Windows(display, pattern);
        }
        return found;
    }

    // The message box (a window named "Dorvane" other than the main one), as a decimal id; empty when none.
    // xdotool does not list the box, whose name is only a UTF-8 property: xwininfo does.
    std::string MessageBoxWindow(const std::string& display, const std::string& main) const
    {
        const std::string out = m_Work.File("tree.txt");
        const int pid = test::SpawnProgram("xwininfo", {"-root", "-children"}, {"DISPLAY=" + display}, {}, out);
        if (pid <= 0 || test::WaitProgramExit(pid, 20) != 0)
            return {};
        std::vector<std::uint8_t> bytes;
        plat::ReadFileBytes(plat::FromUtf8(out), bytes);
        std::istringstream lines(std::string(bytes.begin(), bytes.end()));
        for (std::string line; std::getline(lines, line);) {
            const std::size_t at = line.find("0x");
            if (at == std::string::npos || line.find("\"Dorvane\"") == std::string::npos)
                continue;
            const std::string id = std::to_string(std::stoul(line.substr(at), nullptr, 16));
            if (id != main)
                return id;
        }
        return {};
    }

    int Xdotool(const std::string& display, const std::vector<std::string>& args) const
    {
        const int pid = test::SpawnProgram("xdotool", args, {"DISPLAY=" + display});
        return pid > 0 ? test::WaitProgramExit(pid, 20) : -1;
    }

    std::u16string Setting(std::u16string_view name) const
    {
        const std::string previous = plat::ConfigFolder();
        plat::SetConfigFolder(m_Config.Path());
        std::u16string value;
        plat::RegGetString(plat::Hive::LocalMachine, REGISTRY_PRODUCT_KEY, name, value);
        plat::SetConfigFolder(previous);
        return value;
    }

    std::unique_ptr<test::ScopedXvfb> m_Xvfb;
    std::vector<int> m_Children;
    std::vector<int> m_Others;
    test::TempDir m_Config;
    test::TempDir m_Runtime;
    test::TempDir m_Work;
};

TEST_F(DorvaneProgramTest, InstallsThenPlaysTesselUnderXvfb)
{
    if (!test::ScopedXvfb::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    if (!HaveXdotool())
        GTEST_SKIP() << "xdotool is not installed";
    m_Xvfb = std::make_unique<test::ScopedXvfb>();
    ASSERT_TRUE(m_Xvfb->Available()) << "Xvfb did not start";
    const std::string display = m_Xvfb->Display();

    const int dorvane = RunDorvane(display);
    ASSERT_GT(dorvane, 0);
    const std::vector<std::string> windows = WaitForWindows(display, "^Dorvane$");
    ASSERT_EQ(windows.size(), 1u) << "no window appeared";
    const std::string main = windows[0];

    // A second launcher ends at once without a window.
    const int second = RunDorvane(display);
    EXPECT_EQ(test::WaitProgramExit(second, 30), 0);
    EXPECT_EQ(Windows(display, "^Dorvane$").size(), 1u);

    // Install: the prompt appears; OK runs the disc's installer, which records the installation.
    std::string box;
    for (int attempt = 0; attempt < 4 && box.empty(); ++attempt) {
        Xdotool(display, {"mousemove", "--window", main, "601", "206"});
        Pause(200);
        Xdotool(display, {"click", "1"});
        for (int i = 0; i < 50 && box.empty(); ++i) {
            Pause(100);
            box = MessageBoxWindow(display, main);
        }
    }
    ASSERT_FALSE(box.empty()) << "the install prompt did not appear";
    // The installer writes the path before the language: wait for the later one.
    for (int attempt = 0; attempt < 4 && Setting(u"InstallLang").empty(); ++attempt) {
        Xdotool(display, {"windowfocus", "--sync", box});
        Xdotool(display, {"key", "Return"});
        for (int i = 0; i < 50 && Setting(u"InstallLang").empty(); ++i)
            Pause(100);
    }
    EXPECT_EQ(Setting(u"InstallPath"), plat::FromUtf8(TESSEL_GAME_DIR));
    EXPECT_EQ(Setting(u"InstallLang"), u"English");
    int status = 0;
    ASSERT_EQ(::waitpid(dorvane, &status, WNOHANG), 0) << "Dorvane ended after installing";

    // Play stands where Install stood: it starts Tessel and Dorvane ends.
    int exitCode = -1;
    for (int attempt = 0; attempt < 4 && exitCode == -1; ++attempt) {
        Pause(300);
        Xdotool(display, {"mousemove", "--window", main, "600", "200"});
        Xdotool(display, {"mousemove", "--window", main, "601", "206"});
        Pause(200);
        Xdotool(display, {"click", "1"});
        for (int i = 0; i < 50 && exitCode == -1; ++i) {
            if (::waitpid(dorvane, &status, WNOHANG) == dorvane)
                exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            else
                Pause(100);
        }
    }
    EXPECT_EQ(exitCode, 0);
    const std::vector<std::string> tessel = WaitForWindows(display, "Varrow", 900);
    ASSERT_FALSE(tessel.empty()) << "Tessel's window did not appear";
    const std::string pidText =
        test::CaptureLine({"xdotool", "getwindowpid", tessel[0]}, {"DISPLAY=" + display}, m_Work);
    const int tesselPid = pidText.empty() ? -1 : std::stoi(pidText);
    ASSERT_GT(tesselPid, 0);
    m_Others.push_back(tesselPid);

    // Tessel closes cleanly on a close request; nothing is left running.
    ::kill(tesselPid, SIGTERM);
    for (int i = 0; i < 300 && test::ProcessAlive(tesselPid); ++i)
        Pause(100);
    EXPECT_FALSE(test::ProcessAlive(tesselPid));
    EXPECT_TRUE(Windows(display, "^Dorvane$").empty());
    // A clean close saves Tessel's window place.
    const std::string previous = plat::ConfigFolder();
    plat::SetConfigFolder(m_Config.Path());
    std::uint32_t right = 0;
    plat::RegGetDword(plat::Hive::LocalMachine, REGISTRY_SETTINGS_KEY, u"winx2", right);
    plat::SetConfigFolder(previous);
    EXPECT_GT(right, 0u);
}

} // namespace
