// Controls of the headless backend, for tests and scripted runs: what the system reports, the answers of
// message boxes and child programs, the stepped clock, the event script and the presented frames.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace plat::headless {

// Puts every control back to its default: an 1024x768 16-bit desktop, multimedia version 0x700, display device
// available, locale "English", clock at 0, no scripted answers, no events, no frame, nothing recorded.
void Reset();

void SetDesktopMode(const DisplayMode& mode, bool known = true);
void SetDisplayModes(const std::vector<DisplayMode>& modes);
// Mode changes asked for with ChangeDisplayMode, in order.
const std::vector<DisplayMode>& ModeChanges();
void SetDisplayDeviceAvailable(bool available);
void SetScreenMetrics(const ScreenMetrics& metrics);
void SetMultimediaVersion(std::uint32_t version);
void SetUserLocaleLanguageName(std::u16string name);
// The system locale: its language's English name and ANSI code page (default "English", 1252).
void SetSystemLocale(std::u16string languageName, int codePage);

// The clock; the time of day is the clock counted from midnight.
void SetTime(std::uint32_t ms);
void AdvanceTime(std::uint32_t ms);

// Message boxes: answers are taken in order; with none queued the first button (IDOK or IDYES) is chosen. Each
// box's caption and text also go to the log.
struct MessageBoxRecord {
    std::u16string text;
    std::u16string caption;
    std::uint32_t flags = 0;
};
void QueueMessageBoxAnswer(int answer);
const std::vector<MessageBoxRecord>& MessageBoxes();

// Child programs and opened folders: results are taken in order; with none queued a program that exists as a
// file runs with exit code 0 and one that does not fails to start (-1 from SpawnAndWait, false from ShellOpen
// and StartProcess); a folder opens when it exists.
struct SpawnRecord {
    std::u16string program;  // or the folder opened
    std::vector<std::u16string> args;
    bool wait = false;
    std::u16string workingFolder;
    bool folder = false;           // OpenFolder
    bool windowMinimized = false;  // the window's state when it started
};
void QueueSpawnResult(int exitCodeOrMinusOne);
// Stands in for the child programs when no result is queued: called with each start's record, its answer is
// the result (an exit code, or -1 for a program that could not start). nullptr restores the file rule.
using SpawnHook = int (*)(const SpawnRecord& record);
void SetSpawnHook(SpawnHook hook);
const std::vector<SpawnRecord>& Spawns();

// Events: queued events are returned by PollEvent in order.
void QueueEvent(const Event& event);
std::size_t PendingEvents();
// The pointer position GetCursorPos reports; mouse events queued here also move it when they are taken.
void SetCursorPos(int x, int y);
bool MouseCaptured();
bool CursorShown();
CursorShape CurrentCursorShape();

// The window as the program left it.
bool WindowVisible();
bool WindowMinimized();
std::u16string WindowTitle();
WindowDesc LastWindowDesc();
int RaiseCount();

// The last presented frame, as 16-bit pixels packed by rows.
struct Frame {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Rgb565;
    std::vector<std::uint16_t> pixels;
    std::uint64_t serial = 0;  // counts presented frames since Reset
};
const Frame& LastFrame();
// The frame as a 24-bit .bmp file.
bool SaveFrameBmp(const Frame& frame, const std::string& nativePath);

} // namespace plat::headless

// ---- Display surfaces of the raster ---------------------------------------------------------------------------
// The stand-in for a lost DirectDraw surface: the raster compares the loss count with the one it last saw, and
// restores its surfaces and reloads its textures when it changed. The SDL2 backend never loses surfaces.

namespace plat::headless {
// Every display surface is lost, as after a mode switch or a locked session.
void LoseSurfaces();
} // namespace plat::headless

namespace plat {
// Surface losses since the program started.
std::uint64_t SurfaceLossCount();
} // namespace plat
