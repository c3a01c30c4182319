// Starting other programs with posix_spawn, shared by both backends where they start real processes.
#include "platform/Backend.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

extern char** environ;

namespace plat {

namespace {

std::vector<pid_t> s_detached;

bool Spawn(const std::string& program, const std::vector<std::string>& args, pid_t& pid,
           const std::string& workingFolder = {})
{
    if (program.empty())
        return false;
    if (program.find('/') != std::string::npos && ::access(program.c_str(), X_OK) != 0)
        return false;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (!workingFolder.empty())
        ::posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    // posix_spawnp finds programs such as xdg-open on the PATH; a path with '/' is used as it is.
    const bool started = ::posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    return started;
}

} // namespace

int SpawnProcessAndWait(const std::string& nativeProgram, const std::vector<std::string>& args)
{
    pid_t pid = 0;
    if (!Spawn(nativeProgram, args, pid))
        return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    if (WIFEXITED(status)) {
        // The shell's convention for a program that could not be executed after the fork.
        return WEXITSTATUS(status) == 127 ? -1 : WEXITSTATUS(status);
    }
    return -1;
}

bool SpawnProcessDetached(const std::string& nativeProgram, const std::vector<std::string>& args,
                          const std::string& workingFolder)
{
    ReapDetachedProcesses();
    pid_t pid = 0;
    if (!Spawn(nativeProgram, args, pid, workingFolder))
        return false;
    s_detached.push_back(pid);
    return true;
}

void ReapDetachedProcesses()
{
    for (auto it = s_detached.begin(); it != s_detached.end();) {
        int status = 0;
        if (::waitpid(*it, &status, WNOHANG) != 0)
            it = s_detached.erase(it);
        else
            ++it;
    }
}

std::u16string LanguageNameFromLocale(std::string_view locale)
{
    struct Entry {
        std::string_view prefix;
        std::u16string_view name;
    };
    // Longer prefixes first, so that a region picks its own entry.
    static constexpr Entry TABLE[] = {
        {"pt_BR", u"Portuguese (Brazil)"}, {"zh_TW", u"Chinese (Traditional)"}, {"zh_HK", u"Chinese (Traditional)"},
        {"zh", u"Chinese"}, {"en", u"English"}, {"fr", u"French"}, {"de", u"German"}, {"es", u"Spanish"},
        {"pt", u"Portuguese"}, {"it", u"Italian"}, {"ru", u"Russian"}, {"ja", u"Japanese"}, {"ko", u"Korean"},
    };
    for (const Entry& entry : TABLE) {
        if (locale.substr(0, entry.prefix.size()) == entry.prefix)
            return std::u16string(entry.name);
    }
    return u"English";
}

int AnsiCodePageFromLocale(std::string_view locale)
{
    struct Entry {
        std::string_view prefix;
        int codePage;
    };
    static constexpr Entry TABLE[] = {
        {"zh_TW", 950}, {"zh_HK", 950}, {"zh", 936}, {"ja", 932}, {"ko", 949}, {"ru", 1251}, {"uk", 1251},
        {"bg", 1251}, {"be", 1251}, {"pl", 1250}, {"cs", 1250}, {"hu", 1250}, {"sk", 1250}, {"el", 1253},
        {"tr", 1254}, {"he", 1255}, {"ar", 1256}, {"th", 874},
    };
    for (const Entry& entry : TABLE) {
        if (locale.substr(0, entry.prefix.size()) == entry.prefix)
            return entry.codePage;
    }
    return 1252;
}

std::string SystemLocaleString()
{
    // Debian keeps the system's locale in /etc/default/locale, other systems in /etc/locale.conf.
    for (const char* path : {"/etc/default/locale", "/etc/locale.conf"}) {
        std::ifstream file(path);
        std::string line;
        while (std::getline(file, line)) {
            if (line.rfind("LANG=", 0) != 0)
                continue;
            std::string value = line.substr(5);
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\''))
                value = value.substr(1, value.size() - 2);
            if (!value.empty())
                return value;
        }
    }
    return "C";
}

} // namespace plat
