// One running copy of the program: an exclusive lock on a file in the user's runtime folder. A second copy
// leaves a raise request beside the lock, which the first takes on its next look.
#include "platform/Platform.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace plat {

namespace {

int s_lockFd = -1;
std::string s_lockName;

std::string RuntimeFolder()
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/')
        return runtime;
    return "/tmp";
}

std::string LockPath(std::string_view name)
{
    return RuntimeFolder() + "/" + std::string(name) + "-" + std::to_string(::getuid()) + ".lock";
}

} // namespace

bool AcquireInstanceLock(std::string_view name)
{
    if (s_lockFd >= 0)
        return true;
    const int fd = ::open(LockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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
    const int fd = ::open((LockPath(name) + ".raise").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
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
