// The program's start-up and shutdown: one running copy, the display checks, language and settings, the window,
// the toolkit binding, the intro movies, the raster, card data, console, particles and sound; then the main loop;
// then the teardown in a fixed order.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <optional>
#include <string_view>

class MainLoopDriver;

// The window's class name; also the name of the single-instance lock.
constexpr char APPLICATION_INSTANCE_NAME[] = "VarrowTutorTessel_Intl";

// The accepted desktop: 800 to 1280 by 600 to 1024 at 16 bits.
constexpr int DESKTOP_MIN_WIDTH = 800;
constexpr int DESKTOP_MAX_WIDTH = 1280;
constexpr int DESKTOP_MIN_HEIGHT = 600;
constexpr int DESKTOP_MAX_HEIGHT = 1024;
constexpr int DESKTOP_BITS = 16;
// The second pass of the mode search ignores the refresh rate only above this.
constexpr int MODE_SEARCH_REFRESH_HZ = 60;
// A screen at most this high gets a window without a maximise box.
constexpr int SMALL_SCREEN_HEIGHT = 600;

// The start-up message numbers.
enum StartupMessage {
    MSG_APP_TITLE = 0,
    MSG_DIRECTX_TOO_OLD = 2,
    MSG_SCREEN_TOO_SMALL = 3,
    MSG_DEPTH_TOO_LOW = 4,
    MSG_BAD_COLOUR_MASKS = 5,
    MSG_NO_DISPLAY_DEVICE = 6,
    MSG_NO_DISPLAY_MODE = 7,
    MSG_DISPLAY_CHANGED = 8,
    MSG_NO_LANGUAGE_DATA = 9,
};

extern int s_ScreenWidth;
extern int s_ScreenHeight;
extern plat::Rect s_WindowRect;
extern plat::Rect s_RestoreRect;
extern int s_bWinMax;
extern int s_GamesCompleted;
extern int s_GamesWon;
extern bool s_bSettingsLoaded;
extern int s_bSoundOn;
extern bool s_bShuttingDown;
extern plat::DisplayMode s_DesktopMode;
// The display device opened for the start-up checks (the stand-in for the DirectDraw object).
extern bool s_bDisplayDeviceOpen;

struct ApplicationOptions {
    // Shows the window when start-up ends.
    bool show = true;
    // Seeds the random numbers once start-up is done (start-up itself seeds them from the clock).
    std::optional<std::uint32_t> seed;
    // Drives the loop: pacing or a scripted run; null waits for events.
    MainLoopDriver* driver = nullptr;
    // One running copy: a second gives way to the first. A headless run has no window to raise and takes no lock.
    bool singleInstance = true;
};

// Start-up, the main loop and shutdown: the exit code of the quit request, or 0 when start-up stops early
// (a second copy, or no language data).
int RunApplication(const ApplicationOptions& options);

// Whether the last run ended at start-up (a second copy, no language data, a failed display check) rather than
// by a quit that was asked for.
bool StartupRefusedTheRun();

// The teardown after the loop.
void ShutdownApplication();
// Writes the settings back; nothing while they were never read.
void SaveSettings();
void ShowLanguageDataError();
// 31 down to 0, -1 for 0.
int HighestBitIndex(std::uint32_t mask);
// Whether the start-up display-mode rules accept this desktop as it is.
bool IsAcceptedDesktop(const plat::DisplayMode& mode);
// The colour-mask check of start-up.
bool AreUsableColourMasks(std::uint32_t red, std::uint32_t green, std::uint32_t blue);
// Fits a saved window rectangle onto the screen, moved to fit; an empty or inverted one takes the first-run
// default.
plat::Rect FitWindowRect(plat::Rect rect, int screenWidth, int screenHeight);

// Names the steps of the teardown as they run (tests watch the order); null stops it.
using ShutdownStepObserver = void (*)(std::string_view step);
void SetShutdownStepObserver(ShutdownStepObserver observer);
