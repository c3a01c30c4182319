// The whole program in-process on the headless backend: a fresh registry store, an install folder of its own
// with a small language data set, and a runtime folder of its own for the single-instance lock.
#pragma once

#include "app/Application.h"
#include "app/MainLoop.h"
#include "app/ScriptedRun.h"
#include "engine/core/RegistrySettings.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "screens/IntroChoice.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test {

constexpr std::u16string_view SETTINGS_KEY = u"SOFTWARE\\Quendral\\Varrow Tessel Edition Intl\\Config";

inline std::string StringTableText()
{
    std::string text;
    const auto add = [&text](const std::string& key, const std::string& value) {
        text += key + "\r\n" + value + "\r\nzzzz\r\n";
    };
    add("PRE_APP_MESSAGE_0", "Tessel Title");
    for (int n = 1; n <= 9; ++n) {
        add("PRE_APP_MESSAGE_" + std::to_string(n), "Message " + std::to_string(n));
    }
    add("PHYS_PHASE_Untap", "Untap");
    add("PHYS_PHASE_Draw", "Draw");
    add("PHYS_PHASE_Main", "Main");
    add("PHYS_PHASE_Combat", "A combat phase name that is far longer than thirty-seven units");
    add("ONL_PHASE_Untap", "Untap step");
    return text;
}

// One card: start-up refuses a card file that defines none.
inline std::string CardFileText()
{
    return "definecard CD_WENORTH\r\nName = Wenorth\r\n_end\r\n";
}

// Runs loop passes until one ticks a frame.
inline void TickOnce()
{
    for (int i = 0; i < 100; ++i) {
        if (MainLoopPass() == LoopPass::Ticked)
            return;
    }
    ADD_FAILURE() << "no frame was ticked";
}

// A left-button mouse event for the next frame, at client pixels.
inline void QueueLeftMouse(plat::EventType type, int x, int y)
{
    plat::Event event;
    event.type = type;
    event.x = x;
    event.y = y;
    event.button = plat::BUTTON_LEFT;
    plat::headless::QueueEvent(event);
}

// Runs a function inside the real loop: at the first pass, before any scene is loaded; then asks to quit.
class InsideRun final : public MainLoopDriver {
public:
    explicit InsideRun(std::function<void()> body) : m_Body(std::move(body)) {}
    void BeforePass(int) override
    {
        if (!m_Done) {
            m_Done = true;
            m_Body();
            plat::Event quit;
            quit.type = plat::EventType::Quit;
            plat::PostEvent(quit);
        }
    }
    void AfterTick(int) override {}
    bool Wait() override { return false; }

private:
    std::function<void()> m_Body;
    bool m_Done = false;
};

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Game.Write("data_en/res_str_phys_u.txt", Utf16Le(StringTableText()));
        m_Game.Write("data_en/cards_phys_u.cfg", Utf16Le(CardFileText()));
        m_Folder.emplace(m_Game.Path());
        SetIntroChoice(IntroChoice::EndAtOnce);
        if (const char* previous = std::getenv("XDG_RUNTIME_DIR"))
            m_PreviousRuntime = previous;
        ::setenv("XDG_RUNTIME_DIR", m_Runtime.Path().c_str(), 1);
    }

    void TearDown() override
    {
        SetIntroChoice(IntroChoice::LessonIntros);
        if (m_PreviousRuntime)
            ::setenv("XDG_RUNTIME_DIR", m_PreviousRuntime->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }

    // The shipped data set and the given level scripts in the test's own install folder: loading cards writes
    // beside them.
    void UseShippedData(std::initializer_list<const char*> levels)
    {
        const std::filesystem::path game = TESSEL_GAME_DIR;
        const std::filesystem::path here = m_Game.Path();
        std::filesystem::copy(game / "data", here / "data", std::filesystem::copy_options::recursive);
        std::vector<std::string> files = {"data_en/res_str_phys_u.txt", "data_en/cards_phys_u.cfg"};
        files.insert(files.end(), levels.begin(), levels.end());
        for (const std::string& file : files)
            std::filesystem::copy_file(game / file, here / file, std::filesystem::copy_options::overwrite_existing);
    }

    // Start-up, frames ticks and shutdown.
    int RunFrames(long frames, bool drawEveryFrame = false)
    {
        ScriptedRun run({}, frames, DEFAULT_SCRIPT_FRAME_MS, drawEveryFrame);
        ApplicationOptions options;
        options.driver = &run;
        return RunApplication(options);
    }

    int RunInside(std::function<void()> body)
    {
        InsideRun run(std::move(body));
        ApplicationOptions options;
        options.driver = &run;
        return RunApplication(options);
    }

    int Setting(std::u16string_view name) const
    {
        std::uint32_t value = 0;
        plat::RegGetDword(plat::Hive::LocalMachine, SETTINGS_KEY, name, value);
        return static_cast<int>(value);
    }

    // The first run writes the defaults only into a store without the settings key: write them first.
    void SetSetting(std::u16string_view name, int value) const
    {
        if (!plat::RegKeyExists(plat::Hive::LocalMachine, SETTINGS_KEY)) {
            GetRegistrySettings();
            DeleteRegistrySettings();
        }
        plat::RegSetDword(plat::Hive::LocalMachine, SETTINGS_KEY, name, static_cast<std::uint32_t>(value));
    }

    ScopedRegistry m_Registry;
    TempDir m_Game;
    TempDir m_Runtime;
    std::optional<ScopedCurrentFolder> m_Folder;
    std::optional<std::string> m_PreviousRuntime;
};

} // namespace test
