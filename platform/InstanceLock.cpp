// One running copy of the program: an exclusive lock on a file in the user's runtime folder. A second copy
// leaves a raise request beside the lock, which the first takes on its next look.
#include "platform/Platform.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace plat {

namespace {

int s_lockFd = -1;
std::string s_lockName;

// Without a runtime folder the files go to a folder of the user's own under the shared temporary folder: mode
// 0700, owned by the user and not a link, so no other user can plant a lock or a raise request there.
std::string RuntimeFolder()
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/')
        return runtime;
    const std::string own = "/tmp/tessel-" + std::to_string(::getuid());
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat info {};
    if (::lstat(own.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
        (info.st_mode & 0077) != 0)
        return {};
    return own;
}

// Empty when no safe folder could be had.
std::string LockPath(std::string_view name)
{
    const std::string folder = RuntimeFolder();
    if (folder.empty())
        return {};
    return folder + "/" + std::string(name) + "-" + std::to_string(::getuid()) + ".lock";
}

// A link in place of the lock or the raise file is refused.
int OpenNoFollow(const std::string& path, int flags)
{
    return path.empty() ? -1 : ::open(path.c_str(), flags | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

} // namespace

bool AcquireInstanceLock(std::string_view name)
{
    if (s_lockFd >= 0)
        return true;
    const int fd = OpenNoFollow(LockPath(name), O_RDWR);
    if (fd < 0)
        return true;  // no lock can be had: run rather than refuse to start
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    s_lockFd = fd;
    s_lockName = std::string(name);
    ::unlink((LockPath(name) + ".raise").c_str());
    return true;
}

void ReleaseInstanceLock()
{
    if (s_lockFd < 0)
        return;
    ::close(s_lockFd);
    s_lockFd = -1;
}

void RequestRaiseRunningInstance(std::string_view name)
{
    const std::string lock = LockPath(name);
    const int fd = lock.empty() ? -1 : OpenNoFollow(lock + ".raise", O_WRONLY);
    if (fd >= 0)
        ::close(fd);
}

bool TakeRaiseRequest()
{
    if (s_lockFd < 0)
        return false;
    return ::unlink((LockPath(s_lockName) + ".raise").c_str()) == 0;
}

} // namespace plat
