// The program as a user starts it: the real executable, with its own settings folder.
#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

extern char** environ;

namespace {

constexpr std::u16string_view CONFIG = u"SOFTWARE\\Quendral\\Varrow Tessel Edition Intl\\Config";
const std::string TESSEL = std::string(TESSEL_GAME_DIR) + "/Tessel";

pid_t Start(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv)
{
    std::vector<std::string> all = {TESSEL};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    // Each run has a runtime folder of its own, so runs in parallel are not second copies of each other.
    static const test::TempDir s_runtime;
    std::vector<std::string> env = extraEnv;
    if (std::none_of(env.begin(), env.end(), [](const std::string& e) { return e.rfind("XDG_RUNTIME_DIR=", 0) == 0; }))
        env.push_back("XDG_RUNTIME_DIR=" + s_runtime.Path());
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("DISPLAY=", 0) != 0 && text.rfind("TESSEL_CONFIG_HOME=", 0) != 0 &&
            text.rfind("XDG_RUNTIME_DIR=", 0) != 0)
            env.push_back(text);
    }
    std::vector<char*> envp;
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, TESSEL.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
        return -1;
    return pid;
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

TEST(TesselProgram, HeadlessRunsTheFramesAskedAndSavesSettings)
{
    const test::TempDir config;
    const pid_t pid = Start({"--headless", "--frames", "30"}, {"TESSEL_CONFIG_HOME=" + config.Path()});
    ASSERT_GT(pid, 0);
    EXPECT_EQ(WaitExit(pid, 60), 0);

    const std::string previous = plat::ConfigFolder();
    plat::SetConfigFolder(config.Path());
    std::uint32_t playmovies = 1;
    EXPECT_TRUE(plat::RegGetDword(plat::Hive::LocalMachine, CONFIG, u"playmovies", playmovies));
    EXPECT_EQ(playmovies, 0u);
    plat::SetConfigFolder(previous);
}

TEST(TesselProgram, BadOptionsAreRefusedWithUsage)
{
    const test::TempDir config;
    const pid_t pid = Start({"--frames", "many"}, {"TESSEL_CONFIG_HOME=" + config.Path()});
    ASSERT_GT(pid, 0);
    EXPECT_EQ(WaitExit(pid, 30), 2);
}

TEST(TesselProgram, OpensAWindowUnderXvfbAndClosesOnRequest)
{
    if (!test::ScopedXvfb::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    const test::ScopedXvfb display;
    ASSERT_TRUE(display.Available()) << "Xvfb did not start";
    const test::TempDir config;
    // X's extension libraries, loaded and unloaded by SDL, keep allocations LeakSanitizer can no longer name;
    // the program's own leaks are checked by the headless run above.
    const pid_t pid = Start({}, {"DISPLAY=" + display.Display(), "TESSEL_CONFIG_HOME=" + config.Path(),
                                 "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0"});
    ASSERT_GT(pid, 0);
    // Still running after a while: the window is open and the loop turns.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, WNOHANG), 0) << "Tessel ended early";
    // A close request (SDL turns SIGTERM into a quit event) ends it cleanly, with the settings saved.
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitExit(pid, 30), 0);

    const std::string previous = plat::ConfigFolder();
    plat::SetConfigFolder(config.Path());
    std::uint32_t right = 0;
    EXPECT_TRUE(plat::RegGetDword(plat::Hive::LocalMachine, CONFIG, u"winx2", right));
    EXPECT_GT(right, 0u);
    plat::SetConfigFolder(previous);
}

} // namespace
