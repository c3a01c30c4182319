// A whole program run driven from a script, on the headless backend: input events by frame, a clock stepped a
// fixed time per frame, chosen frames saved as .bmp files, and an optional frame limit.
//
// One action per line, "<frame> <action> [arguments]"; blank lines and lines starting with '#' are skipped:
//   move X Y                      the pointer moves (client pixels, may be negative)
//   down|up|dblclick BUTTON [X Y]  BUTTON is left, right or middle
//   wheel N                       N notches, positive away from the user
//   key NAME                      a key pressed and released; keydown / keyup NAME for one half
//   char C                        one typed character: a single character stands for itself, a longer
//                                 number is its code (char 96 types '`')
//   text WORD                     every character of WORD typed in turn
//   activate 0|1                  the window loses or regains the focus
//   size W H [restored|minimized|maximized]
//   save FILE.bmp                 the window is repainted at that frame and the frame drawn is saved
//   quit                          the window is closed
// Events of frame N reach the window procedure before frame N is ticked (frames count from 0).
#pragma once

#include "app/MainLoop.h"
#include "platform/Platform.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ScriptedAction {
    int frame = 0;
    bool save = false;  // else an event
    plat::Event event;
    std::string path;
};

struct EventScript {
    std::vector<ScriptedAction> actions;  // in frame order; equal frames keep the script's order
};

// Relative save paths are taken from baseFolder. False with a message naming the line on a bad line.
bool ParseEventScript(std::string_view text, const std::string& baseFolder, EventScript& out, std::string& error);

constexpr std::uint32_t DEFAULT_SCRIPT_FRAME_MS = 16;

class ScriptedRun final : public MainLoopDriver {
public:
    // maxFrames < 0: no limit. drawEveryFrame: every frame is drawn and presented, as if the window were
    // exposed each time, so a long run measures drawing (otherwise only frames after an expose are).
    ScriptedRun(EventScript script, long maxFrames, std::uint32_t frameMs, bool drawEveryFrame = false);

    void BeforePass(int frame) override;
    void AfterTick(int frame) override;
    bool Wait() override;

    // Frames saved, and those that could not be written.
    int SavedCount() const { return m_Saved; }
    int FailedSaves() const { return m_FailedSaves; }
    // Saves the script asked for that were not written: failed, or never reached because the run ended first.
    int SavesNotWritten() const;

private:
    void QueueEventsUpTo(int frame);

    EventScript m_Script;
    std::size_t m_NextEvent = 0;
    std::size_t m_NextSave = 0;
    long m_MaxFrames = -1;
    std::uint32_t m_FrameMs = DEFAULT_SCRIPT_FRAME_MS;
    int m_Saved = 0;
    int m_FailedSaves = 0;
    int m_SkippedSaves = 0;
    bool m_DrawEveryFrame = false;
};

// The window's pacing in real time: about 60 frames a second, and a short sleep while inactive.
class RealTimePacing final : public MainLoopDriver {
public:
    void BeforePass(int frame) override;
    void AfterTick(int frame) override;
    bool Wait() override;

private:
    std::uint32_t m_LastTick = 0;
};
