#include "engine/scene/FrameState.h"

MouseRecord MouseState;
int s_GameMode = -1;
int s_RequestedGameMode = 0;
int s_bAppActive = 1;
int s_bSceneReady = 0;
float s_FrameStep = 1.0f;
int s_FrameStepInt = 1;
float s_FramesPerSecond = 0.0f;
float s_MaxFramesPerSecond = DEFAULT_MAX_FRAMES_PER_SECOND;
int s_FrameCounter = 0;
int s_LastTickFrame = 0;
RasterRect s_ScreenRect;
int s_ClientWidth = 0;
int s_ClientHeight = 0;
int s_PresentFlag = 1;
