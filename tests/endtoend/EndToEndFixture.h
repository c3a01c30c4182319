// The whole program from its shipped data set, as a learner meets it: a fresh configuration folder holding what
// the installer writes, a seeded random source and the stepped clock. A test acts only through input events and
// reads the live program (screen, windows, actors, voices).
#pragma once

#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class GUI_Window;

namespace test {

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The install folder: every shipped file, read in place; a test may add files of its own.
    const TempDir& Install() const { return m_Install; }
    // The value the setting starts with (0 unless a test sets it before RunProgram).
    void SetShowLanguageSelect(int value) { m_ShowLanguageSelect = value; }
    // Starts the program and runs body inside its loop, then quits; the program's exit code.
    int RunProgram(std::uint32_t seed, const std::function<void()>& body);

public:
    // What a test body does inside the running program.
    // One frame of the loop, the clock stepped by a frame's time.
    static void Frame();
    // Runs frames until done() holds; false (and a failure naming what) when bound frames pass first.
    static bool RunUntil(std::string_view what, const std::function<bool()>& done, int bound);
    // A shown window of that name in any interface or the top-level windows; null when none shows.
    static GUI_Window* FindShownWindow(std::u16string_view name);
    // A click where the window shows on top, move, press and release a frame each; false when it nowhere shows.
    static bool ClickWindow(const GUI_Window* window);
    static bool ClickWindow(std::u16string_view name);
    static void Click(int x, int y);
    static int Screen();
    // The voice clips queued now, oldest first, as UTF-8.
    static std::vector<std::string> QueuedVoices();

private:
    ScopedRegistry m_Registry;
    TempDir m_Install;
    TempDir m_Runtime;
    std::optional<ScopedCurrentFolder> m_Folder;
    std::optional<std::string> m_PreviousRuntime;
    int m_ShowLanguageSelect = 0;
};

} // namespace test
