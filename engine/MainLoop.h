// The program's one loop: it drains the window's events and, whenever none waits and the window is active,
// loads the scene of a newly requested game mode and ticks one frame. The window procedure records the mouse
// for the frame tick and offers every event to the toolkit first.
#pragma once

#include "engine/RasterTypes.h"
#include "platform/Platform.h"

#include <cstdint>

// The mouse as the window procedure recorded it. Clicked bytes live one frame tick unless a consumer clears
// them earlier; held flags last until the button comes up (or the window is deactivated).
struct MouseRecord {
    int x = 0;  // client pixels; negative or past the client while captured
    int y = 0;
    int wheel = 0;  // notches of this frame; the last wheel event counts
    std::uint8_t leftClicked = 0;
    std::uint8_t rightClicked = 0;
    std::uint8_t middleClicked = 0;
    std::uint8_t clickConsumed = 0;  // set by the table when it used this frame's click
    int leftHeld = 0;
    int rightHeld = 0;
    int middleHeld = 0;
};

extern MouseRecord MouseState;

// Game modes: 0 menus, 1 and 2 the physical lesson's games, 3 and 4 the online lesson's; -1 while a switch is
// pending. Only LoadScene sets s_GameMode.
extern int s_GameMode;
extern int s_RequestedGameMode;
extern int s_bAppActive;
extern int s_bSceneReady;
// The frame step in sixtieths of a second: 1.0 at 60 frames per second or faster.
extern float s_FrameStep;
extern int s_FrameStepInt;
// Measured by the camera; 0 until it has measured.
extern float s_FramesPerSecond;
// What a table reset puts back into s_FramesPerSecond.
extern float s_MaxFramesPerSecond;
extern int s_FrameCounter;
extern int s_LastTickFrame;
extern RasterRect s_ScreenRect;
extern int s_ClientWidth;
extern int s_ClientHeight;
// 1 until the first frame has been presented.
extern int s_PresentFlag;

constexpr float DEFAULT_MAX_FRAMES_PER_SECOND = 60.0f;
// The lesson flows' frame period: 1000 / 30 milliseconds.
constexpr int FRAME_PERIOD_MS = 1000 / 30;
constexpr float FRAME_PERIOD_MS_FLOAT = static_cast<float>(FRAME_PERIOD_MS);

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

// Runs passes until the quit request; without a driver an inactive window waits for the next event.
void RunMainLoop(MainLoopDriver* driver);
