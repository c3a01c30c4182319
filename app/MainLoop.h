// The program's one loop: it drains the window's events and, whenever none waits and the window is active,
// loads the scene of a newly requested game mode and ticks one frame. The window procedure records the mouse
// for the frame tick and offers every event to the toolkit first.
#pragma once

#include "engine/scene/FrameState.h"
#include "platform/Platform.h"

#include <cstdint>
#include <exception>
#include <string>

// The size types of a Size event.
constexpr int SIZE_RESTORED = 0;
constexpr int SIZE_MINIMIZED = 1;
constexpr int SIZE_MAXIMIZED = 2;

// Puts the loop's state back to how start-up finds it: no mode loaded, mode 0 requested, active, no frame yet.
void ResetMainLoopState();

// One event, as the window procedure sees it; the result follows the message's rules (0 when shutting down).
int MainWndProc(const plat::Event& event);
void FrameTick();
void LoadScene();
void RefreshMousePosition();
void GetGUICursorPos(int& x, int& y);
// 60 / rate, at least 1.0; a rate that is not positive or not finite gives 1.0.
float ComputeFrameStep(float framesPerSecond);
// Fills the display's phase-name slots from the string table for the lesson flavour.
void FillPhaseNames(bool online);

enum class LoopPass {
    Quit,        // the quit request ended the loop
    Dispatched,  // an event was handled
    Ticked,      // a frame was ticked
    Idle         // nothing waited and no frame was ticked
};

// One pass of the loop.
LoopPass MainLoopPass();

// What drives the loop from outside: the real-time pacing of a window, or a scripted headless run.
class MainLoopDriver {
public:
    virtual ~MainLoopDriver() = default;
    // Before every pass, with the number of the frame the next tick will be.
    virtual void BeforePass(int frame) = 0;
    // After frame number frame was ticked.
    virtual void AfterTick(int frame) = 0;
    // While the window is inactive and no event waits; false when nothing can come any more.
    virtual bool Wait() = 0;
};

// Runs passes until the quit request; without a driver an inactive window waits for the next event. A standard
// exception that reaches the loop is logged with what was running and ends it with the quit request's code 1.
void RunMainLoop(MainLoopDriver* driver);
// The exit code of a run that an exception ended.
constexpr int EXCEPTION_EXIT_CODE = 1;
// "type: what" of a caught exception, for the one log line that reports it.
std::string DescribeException(const std::exception& error);
