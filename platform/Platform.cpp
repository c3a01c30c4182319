#include "platform/Platform.h"

#include <ctime>

#include "platform/Backend.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>

namespace plat {

namespace {

std::unique_ptr<Backend> s_backend;
BackendKind s_kind = BackendKind::Headless;

Backend& TheBackend()
{
    // Code that runs before Init (tools, early start-up) gets the headless answers.
    if (!s_backend) {
        s_backend = MakeHeadlessBackend();
        s_backend->Start();
        s_kind = BackendKind::Headless;
    }
    return *s_backend;
}

} // namespace

// ---- Start and stop -------------------------------------------------------------------------------------

bool Init(BackendKind kind)
{
    if (s_backend && s_kind == kind)
        return true;
    if (s_backend) {
        s_backend->Stop();
        s_backend.reset();
    }
    std::unique_ptr<Backend> backend = kind == BackendKind::Sdl ? MakeSdlBackend() : MakeHeadlessBackend();
    if (!backend || !backend->Start())
        return false;
    s_backend = std::move(backend);
    s_kind = kind;
    return true;
}

void Shutdown()
{
    if (!s_backend)
        return;
    s_backend->Stop();
    s_backend.reset();
}

BackendKind CurrentBackend()
{
    return s_kind;
}

// ---- Text at the edge ------------------------------------------------------------------------------------

std::string ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u16string FromUtf8(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::uint32_t cp = 0xFFFD;
        std::size_t length = 1;
        std::uint32_t minimum = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
            minimum = 0x10000;
        } else {
            length = 0;
        }
        if (length > 1) {
            bool valid = i + length <= text.size();
            for (std::size_t k = 1; valid && k < length; ++k) {
                const auto next = static_cast<unsigned char>(text[i + k]);
                valid = (next & 0xC0) == 0x80;
                cp = (cp << 6) | (next & 0x3F);
            }
            if (!valid || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
                cp = 0xFFFD;
                length = 1;
            }
        } else if (length == 0) {
            cp = 0xFFFD;
            length = 1;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += length;
    }
    return out;
}

// ---- Files and folders -------------------------------------------------------------------------------------

namespace {

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The entry of folder whose name equals name without regard to ASCII case; empty when none does.
std::string FindWithoutCase(const std::string& folder, const std::string& name)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return {};
    std::string found;
    while (const dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

} // namespace

std::string NativePath(std::u16string_view path)
{
    std::string text = ToUtf8(path);
    for (char& c : text) {
        if (c == '\\')
            c = '/';
    }
    if (text.empty() || Exists(text))
        return text;

    // Walk the components, keeping each one that exists and matching the others without regard to case.
    std::string result;
    std::size_t pos = 0;
    if (text[0] == '/') {
        result = "/";
        pos = 1;
    }
    bool matching = true;
    while (pos <= text.size()) {
        const std::size_t slash = text.find('/', pos);
        const std::size_t end = slash == std::string::npos ? text.size() : slash;
        std::string component = text.substr(pos, end - pos);
        if (matching && !component.empty() && component != "." && component != "..") {
            const std::string candidate = result + component;
            if (!Exists(candidate)) {
                const std::string folder = result.empty() ? "." : result;
                const std::string match = FindWithoutCase(folder, component);
                if (!match.empty())
                    component = match;
                else
                    matching = false;
            }
        }
        result += component;
        if (slash == std::string::npos)
            break;
        result += '/';
        pos = slash + 1;
    }
    return result;
}

bool IsReadable(std::u16string_view path)
{
    const std::string native = NativePath(path);
    struct stat info {};
    return !native.empty() && ::stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(native.c_str(), R_OK) == 0;
}

bool IsDirectory(std::u16string_view path)
{
    const std::string native = NativePath(path);
    struct stat info {};
    return !native.empty() && ::stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeDirectories(std::u16string_view path)
{
    const std::string native = NativePath(path);
    if (native.empty())
        return false;
    std::string partial;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        const std::size_t slash = native.find('/', pos + 1);
        partial = native.substr(0, slash);
        if (!partial.empty() && partial != "/")
            ::mkdir(partial.c_str(), 0755);
        pos = slash;
    }
    return IsDirectory(path);
}

bool RemoveFile(std::u16string_view path)
{
    const std::string native = NativePath(path);
    return !native.empty() && ::unlink(native.c_str()) == 0;
}

bool ReadFileBytes(std::u16string_view path, std::vector<std::uint8_t>& out)
{
    out.clear();
    File file;
    if (!file.Open(path, "rb"))
        return false;
    const std::int64_t size = file.Size();
    if (size < 0)
        return false;
    out.resize(static_cast<std::size_t>(size));
    const std::size_t got = out.empty() ? 0 : file.Read(out.data(), out.size());
    if (got != out.size()) {
        out.clear();
        return false;
    }
    return true;
}

namespace {

bool WriteAll(int fd, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t wrote = ::write(fd, bytes, size);
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return true;
}

std::string FolderOf(const std::string& native)
{
    const std::size_t slash = native.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : native.substr(0, slash));
}

// A writer killed between open and rename leaves "<name>.tmp.<pid>" behind; those whose process is gone go.
void RemoveStaleTemporaries(const std::string& native)
{
    const std::string prefix = native.substr(native.rfind('/') + 1) + ".tmp.";
    DIR* const dir = ::opendir(FolderOf(native).c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix))
            continue;
        const std::string_view digits = name.substr(prefix.size());
        if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(std::string(digits)));
        if (pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace

bool WriteFileAtomic(std::u16string_view path, const void* data, std::size_t size)
{
    const std::string native = NativePath(path);
    if (native.empty())
        return false;
    RemoveStaleTemporaries(native);
    const std::string temporary = native + ".tmp." + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, data, size) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), native.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself must reach the disk before the write counts as done.
    const int dirFd = ::open(FolderOf(native).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

std::string GetCurrentFolder()
{
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

bool SetCurrentFolder(const std::string& nativePath)
{
    return !nativePath.empty() && ::chdir(nativePath.c_str()) == 0;
}

std::string ExecutableFolder()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return GetCurrentFolder();
    std::string path(buffer, static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? GetCurrentFolder() : path.substr(0, slash == 0 ? 1 : slash);
}

// ---- File -------------------------------------------------------------------------------------------------

File::~File()
{
    Close();
}

File::File(File&& other) noexcept : m_handle(other.m_handle)
{
    other.m_handle = nullptr;
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        Close();
        m_handle = other.m_handle;
        other.m_handle = nullptr;
    }
    return *this;
}

bool File::Open(std::u16string_view path, const char* mode)
{
    Close();
    const std::string native = NativePath(path);
    if (native.empty())
        return false;
    FILE* file = std::fopen(native.c_str(), mode);
    if (file == nullptr)
        return false;
    struct stat info {};
    if (::fstat(::fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
        std::fclose(file);
        return false;
    }
    m_handle = file;
    return true;
}

void File::Close()
{
    if (m_handle != nullptr) {
        std::fclose(static_cast<FILE*>(m_handle));
        m_handle = nullptr;
    }
}

std::size_t File::Read(void* buffer, std::size_t size)
{
    if (m_handle == nullptr || buffer == nullptr || size == 0)
        return 0;
    return std::fread(buffer, 1, size, static_cast<FILE*>(m_handle));
}

std::size_t File::Write(const void* buffer, std::size_t size)
{
    if (m_handle == nullptr || buffer == nullptr || size == 0)
        return 0;
    return std::fwrite(buffer, 1, size, static_cast<FILE*>(m_handle));
}

bool File::Seek(std::int64_t offset, int origin)
{
    if (m_handle == nullptr)
        return false;
    static constexpr int ORIGINS[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < 0 || origin > 2)
        return false;
    return ::fseeko(static_cast<FILE*>(m_handle), static_cast<off_t>(offset), ORIGINS[origin]) == 0;
}

std::int64_t File::Tell() const
{
    return m_handle == nullptr ? -1 : static_cast<std::int64_t>(::ftello(static_cast<FILE*>(m_handle)));
}

std::int64_t File::Size() const
{
    if (m_handle == nullptr)
        return -1;
    std::fflush(static_cast<FILE*>(m_handle));
    struct stat info {};
    if (::fstat(::fileno(static_cast<FILE*>(m_handle)), &info) != 0)
        return -1;
    return static_cast<std::int64_t>(info.st_size);
}

// ---- Time, random numbers, debugger output, assertions ----------------------------------------------------

std::uint32_t MonotonicMilliseconds()
{
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t ms =
        static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms & 0xFFFFFFFFu);
}

void WallClock(int& hours, int& minutes, int& seconds)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    hours = local.tm_hour;
    minutes = local.tm_min;
    seconds = local.tm_sec;
}

void GetLocalClock(int& hours, int& minutes, int& seconds)
{
    TheBackend().LocalClock(hours, minutes, seconds);
}

std::uint32_t TimeGetTime()
{
    return TheBackend().Time();
}

void SleepMs(std::uint32_t ms)
{
    TheBackend().Sleep(ms);
}

namespace {
std::uint32_t s_randState = 1;
}

int Rand()
{
    // The classic linear congruential generator behind rand(): the same seed replays the same game.
    s_randState = s_randState * 214013u + 2531011u;
    return static_cast<int>((s_randState >> 16) & 0x7FFF);
}

void SeedRand(std::uint32_t seed)
{
    s_randState = seed;
}

namespace {

void DefaultLogSink(std::string_view utf8)
{
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

LogSink s_logSink = &DefaultLogSink;

// The shipped program carries on: every assertion is followed by the guard that returns the function's failure
// value. Each place is logged once, so an assertion inside a frame does not flood the log.
void DefaultAssertHandler(const char* file, int line, const char* expr)
{
    static std::set<std::pair<std::string, int>> s_reported;
    if (!s_reported.emplace(file, line).second)
        return;
    s_logSink(std::string(file) + "(" + std::to_string(line) + "): Assertion failed: " + expr + "\n");
}

AssertHandler s_assertHandler = &DefaultAssertHandler;

} // namespace

void OutputDebugString(std::u16string_view text)
{
    s_logSink(ToUtf8(text));
}

void OutputDebugStringA(std::string_view text)
{
    s_logSink(text);
}

LogSink SetLogSink(LogSink sink)
{
    const LogSink previous = s_logSink;
    s_logSink = sink != nullptr ? sink : &DefaultLogSink;
    return previous;
}

AssertHandler SetAssertHandler(AssertHandler handler)
{
    const AssertHandler previous = s_assertHandler;
    s_assertHandler = handler != nullptr ? handler : &DefaultAssertHandler;
    return previous;
}

void AssertFailed(const char* file, int line, const char* expr)
{
    s_assertHandler(file, line, expr);
}

// ---- Forwarded to the backend ------------------------------------------------------------------------------

int MessageBox(std::u16string_view text, std::u16string_view caption, std::uint32_t flags)
{
    return TheBackend().ShowMessageBox(text, caption, flags);
}

int SpawnAndWait(std::u16string_view program, const std::vector<std::u16string>& args)
{
    return TheBackend().SpawnAndWait(program, args);
}

bool ShellOpen(std::u16string_view target)
{
    return TheBackend().ShellOpen(target);
}

bool StartProcess(std::u16string_view program, const std::vector<std::u16string>& args,
                  std::u16string_view workingFolder)
{
    return TheBackend().StartProcess(program, args, workingFolder);
}

bool OpenFolder(std::u16string_view folder)
{
    return TheBackend().OpenFolder(folder);
}

std::u16string UserLocaleLanguageName()
{
    return TheBackend().LocaleLanguageName();
}

std::u16string SystemLocaleLanguageName()
{
    std::u16string name;
    int codePage = 0;
    TheBackend().SystemLocale(name, codePage);
    return name;
}

int SystemAnsiCodePage()
{
    std::u16string name;
    int codePage = 0;
    TheBackend().SystemLocale(name, codePage);
    return codePage;
}

bool GetDesktopMode(DisplayMode& out)
{
    return TheBackend().DesktopMode(out);
}

bool EnumDisplayMode(int index, DisplayMode& out)
{
    return index >= 0 && TheBackend().EnumMode(index, out);
}

bool ChangeDisplayMode(const DisplayMode& mode)
{
    return TheBackend().ChangeMode(mode);
}

bool DisplayDeviceAvailable()
{
    return TheBackend().DeviceAvailable();
}

ScreenMetrics GetScreenMetrics()
{
    return TheBackend().Metrics();
}

std::uint32_t MultimediaVersion()
{
    return TheBackend().MultimediaVersion();
}

bool CreateMainWindow(const WindowDesc& desc)
{
    return TheBackend().CreateWindow(desc);
}

void DestroyMainWindow()
{
    TheBackend().DestroyWindow();
}

bool HasMainWindow()
{
    return TheBackend().HasWindow();
}

void SetWindowTitle(std::u16string_view title)
{
    TheBackend().SetTitle(title);
}

void ShowMainWindow(bool show)
{
    TheBackend().Show(show);
}

void RaiseMainWindow()
{
    TheBackend().Raise();
}

void MinimizeMainWindow()
{
    TheBackend().Minimize(true);
}

void RestoreMainWindow()
{
    TheBackend().Minimize(false);
}

Rect GetWindowRect()
{
    return TheBackend().WindowRect();
}

void GetClientSize(int& width, int& height)
{
    TheBackend().ClientSize(width, height);
}

bool IsWindowMaximized()
{
    return TheBackend().IsMaximized();
}

void SetMouseCapture(bool capture)
{
    TheBackend().SetCapture(capture);
}

void ShowCursor(bool show)
{
    TheBackend().SetCursorVisible(show);
}

void SetCursorShape(CursorShape shape)
{
    TheBackend().SetCursorShape(shape);
}

void GetCursorPos(int& x, int& y)
{
    TheBackend().CursorPos(x, y);
}

std::uint32_t GetHeldKeys()
{
    return TheBackend().HeldKeys();
}

bool PollEvent(Event& out)
{
    return TheBackend().Poll(out);
}

bool WaitEvent(Event& out)
{
    return TheBackend().Wait(out);
}

void PostEvent(const Event& event)
{
    TheBackend().Post(event);
}

void PresentFrame(const std::uint16_t* pixels, int width, int height, int pitchBytes, PixelFormat format)
{
    if (pixels == nullptr || width <= 0 || height <= 0 || pitchBytes < width * 2)
        return;
    TheBackend().Present(pixels, width, height, pitchBytes, format);
}

} // namespace plat
