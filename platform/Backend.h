// The services that differ between the SDL2 and the headless backend. Platform.cpp forwards to the one Init
// chose; everything that is the same for both (files, registry, random numbers, log) lives beside it.
#pragma once

#include "platform/Platform.h"

#include <memory>

namespace plat {

class Backend {
public:
    virtual ~Backend() = default;

    virtual bool Start() = 0;
    virtual void Stop() = 0;

    virtual std::uint32_t Time() = 0;
    virtual void Sleep(std::uint32_t ms) = 0;
    // The time of day the user is shown.
    virtual void LocalClock(int& hours, int& minutes, int& seconds) = 0;

    virtual int ShowMessageBox(std::u16string_view text, std::u16string_view caption, std::uint32_t flags) = 0;
    virtual int SpawnAndWait(std::u16string_view program, const std::vector<std::u16string>& args) = 0;
    virtual bool ShellOpen(std::u16string_view target) = 0;
    virtual bool StartProcess(std::u16string_view program, const std::vector<std::u16string>& args,
                              std::u16string_view workingFolder) = 0;
    virtual bool OpenFolder(std::u16string_view folder) = 0;

    virtual std::u16string LocaleLanguageName() = 0;
    // The system locale's language name and ANSI code page.
    virtual void SystemLocale(std::u16string& languageName, int& codePage) = 0;
    virtual bool DesktopMode(DisplayMode& out) = 0;
    virtual bool EnumMode(int index, DisplayMode& out) = 0;
    virtual bool ChangeMode(const DisplayMode& mode) = 0;
    virtual bool DeviceAvailable() = 0;
    virtual ScreenMetrics Metrics() = 0;
    virtual std::uint32_t MultimediaVersion() = 0;

    virtual bool CreateWindow(const WindowDesc& desc) = 0;
    virtual void DestroyWindow() = 0;
    virtual bool HasWindow() = 0;
    virtual void SetTitle(std::u16string_view title) = 0;
    virtual void Show(bool show) = 0;
    virtual void Raise() = 0;
    virtual void Minimize(bool minimize) = 0;
    virtual Rect WindowRect() = 0;
    virtual void ClientSize(int& width, int& height) = 0;
    virtual bool IsMaximized() = 0;
    virtual void SetCapture(bool capture) = 0;
    virtual void SetCursorVisible(bool show) = 0;
    virtual void SetCursorShape(CursorShape shape) = 0;
    virtual void CursorPos(int& x, int& y) = 0;
    virtual std::uint32_t HeldKeys() = 0;

    virtual bool Poll(Event& out) = 0;
    virtual bool Wait(Event& out) = 0;
    virtual void Post(const Event& event) = 0;
    virtual void Present(const std::uint16_t* pixels, int width, int height, int pitchBytes, PixelFormat format) = 0;
};

std::unique_ptr<Backend> MakeHeadlessBackend();
// nullptr when SDL2 support is not available.
std::unique_ptr<Backend> MakeSdlBackend();

// Shared by both backends: the real process start of the operating system.
int SpawnProcessAndWait(const std::string& nativeProgram, const std::vector<std::string>& args);
// workingFolder (native) empty keeps the current folder.
bool SpawnProcessDetached(const std::string& nativeProgram, const std::vector<std::string>& args,
                          const std::string& workingFolder = {});
// Milliseconds of the system-wide monotonic clock (since boot), wrapping at 2^32: the real backend's clock, so
// values taken from it (the random seed) differ from run to run.
std::uint32_t MonotonicMilliseconds();
// The wall clock's time of day in the local time zone.
void WallClock(int& hours, int& minutes, int& seconds);
// Reaps detached children that have ended.
void ReapDetachedProcesses();
// The English language name of a POSIX locale string such as "fr_FR.UTF-8".
std::u16string LanguageNameFromLocale(std::string_view locale);
// The ANSI code page a system with that POSIX locale would use.
int AnsiCodePageFromLocale(std::string_view locale);
// The system's locale string from /etc/default/locale or /etc/locale.conf ("C" when neither names one).
std::string SystemLocaleString();

} // namespace plat
