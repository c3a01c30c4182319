// The state of the frame that the loop, the display and the game share: the mouse as the window procedure
// recorded it, the game mode, the frame step and rate, and the client area.
#pragma once

#include "engine/raster/RasterTypes.h"

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
