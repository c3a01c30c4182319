#include "tests/TestSupport.h"

#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace test {

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "tessel-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = mkdtemp(buffer.data());
    if (made == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_path = made;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string TempDir::File(std::string_view relative) const
{
    return m_path + "/" + std::string(relative);
}

void TempDir::Write(std::string_view relative, const std::vector<std::uint8_t>& bytes) const
{
    Write(relative, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TempDir::Write(std::string_view relative, std::string_view bytes) const
{
    const fs::path path = File(relative);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> Utf16Le(std::string_view utf8, bool withBom)
{
    std::vector<std::uint8_t> out;
    if (withBom) {
        out.push_back(0xFF);
        out.push_back(0xFE);
    }
    for (const char16_t unit : plat::FromUtf8(utf8)) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return out;
}

ScopedCurrentFolder::ScopedCurrentFolder(const std::string& path) : m_previous(plat::GetCurrentFolder())
{
    EXPECT_TRUE(plat::SetCurrentFolder(path)) << path;
}

ScopedCurrentFolder::~ScopedCurrentFolder()
{
    plat::SetCurrentFolder(m_previous);
}

ScopedRegistry::ScopedRegistry() : m_previous(plat::ConfigFolder())
{
    plat::SetConfigFolder(m_dir.Path());
}

ScopedRegistry::~ScopedRegistry()
{
    plat::SetConfigFolder(m_previous);
}

namespace {

std::string s_log;
plat::LogSink s_previousSink = nullptr;

void CollectLog(std::string_view text)
{
    s_log += text;
}

} // namespace

ScopedLog::ScopedLog()
{
    s_log.clear();
    s_previousSink = plat::SetLogSink(&CollectLog);
}

ScopedLog::~ScopedLog()
{
    plat::SetLogSink(s_previousSink);
}

const std::string& ScopedLog::Text() const
{
    return s_log;
}

int ScopedLog::Count(std::string_view text) const
{
    int count = 0;
    for (std::size_t at = s_log.find(text); at != std::string::npos; at = s_log.find(text, at + text.size()))
        ++count;
    return count;
}

namespace {
const char* const XVFB = "/usr/bin/Xvfb";
}

bool ScopedXvfb::Installed()
{
    return ::access(XVFB, X_OK) == 0;
}

ScopedXvfb::ScopedXvfb(int width, int height, int depth, const std::string& screenFolder)
{
    const char* xvfb = XVFB;
    if (!Installed())
        return;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int number = 100 + static_cast<int>((::getpid() * 7 + attempt * 13) % 800);
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        if (fs::exists(socket) || fs::exists("/tmp/.X" + std::to_string(number) + "-lock"))
            continue;
        const std::string display = ":" + std::to_string(number);
        std::vector<std::string> args = {xvfb, display, "-screen", "0", screen, "-nolisten", "tcp"};
        if (!screenFolder.empty()) {
            args.push_back("-fbdir");
            args.push_back(screenFolder);
        }
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int failed = posix_spawn(&pid, xvfb, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (failed != 0)
            return;
        for (int wait = 0; wait < 200; ++wait) {
            if (fs::exists(socket)) {
                m_pid = pid;
                m_display = display;
                return;
            }
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid)
                break;  // it died: the number was taken after all
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

ScopedXvfb::~ScopedXvfb()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    ::waitpid(m_pid, nullptr, 0);
}

int SpawnProgram(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& extraEnv, const std::string& workingFolder,
                 const std::string& outputFile)
{
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = extraEnv;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        bool replaced = false;
        for (const std::string& extra : extraEnv)
            replaced = replaced || text.rfind(extra.substr(0, extra.find('=') + 1), 0) == 0;
        if (!replaced && text.rfind("DISPLAY=", 0) != 0)
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
    if (!workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    pid_t pid = 0;
    const int result = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return result == 0 ? pid : -1;
}

int WaitProgramExit(int pid, int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

bool ProcessAlive(int pid)
{
    if (pid <= 0 || ::kill(pid, 0) != 0)
        return false;
    // A process that ended but was not reaped yet (its parent is gone and nobody reaps) has stopped running.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() || line[close + 2] != 'Z';
}

std::string CaptureLine(const std::vector<std::string>& command, const std::vector<std::string>& env,
                        const TempDir& scratch)
{
    const std::string out = scratch.File("capture.txt");
    const int pid = SpawnProgram(command[0], {command.begin() + 1, command.end()}, env, {}, out);
    if (pid <= 0 || WaitProgramExit(pid, 20) != 0)
        return {};
    std::ifstream file(out);
    std::string text;
    std::getline(file, text);
    return text;
}

void KeepLoadedLibrariesUntilExit()
{
    std::vector<std::string> names;
    ::dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* out) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0')
                static_cast<std::vector<std::string>*>(out)->push_back(info->dlpi_name);
            return 0;
        },
        &names);
    // Opening a loaded library again with RTLD_NODELETE marks it to stay; the handle is never closed.
    for (const std::string& name : names)
        ::dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

} // namespace test
