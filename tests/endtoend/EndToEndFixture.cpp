#include "tests/endtoend/EndToEndFixture.h"

#include "app/Application.h"
#include "app/MainLoop.h"
#include "engine/core/RegistrySettings.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"
#include "platform/Headless.h"
#include "platform/Platform.h"

#include <cstdlib>
#include <filesystem>

namespace test {

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t FRAME_MS = 17;
constexpr std::u16string_view SETTINGS_KEY = u"SOFTWARE\\Quendral\\Varrow Tessel Edition Intl\\Config";

// Runs the body at the first pass, before any scene is loaded, then asks to quit.
class BodyRun final : public MainLoopDriver {
public:
    explicit BodyRun(const std::function<void()>& body) : m_Body(body) {}
    void BeforePass(int) override
    {
        if (m_Done)
            return;
        m_Done = true;
        m_Body();
        plat::Event quit;
        quit.type = plat::EventType::Quit;
        plat::PostEvent(quit);
    }
    void AfterTick(int) override {}
    bool Wait() override { return false; }

private:
    const std::function<void()>& m_Body;
    bool m_Done = false;
};

void QueueMouse(plat::EventType type, int x, int y)
{
    plat::Event event;
    event.type = type;
    event.x = x;
    event.y = y;
    event.button = plat::BUTTON_LEFT;
    plat::headless::QueueEvent(event);
}

bool IsShown(const GUI_Window* window)
{
    for (const GUI_Window* w = window; w != nullptr; w = w->GetParent())
        if (w->IsHidden())
            return false;
    return true;
}

} // namespace

void EndToEndTest::SetUp()
{
    // The shipped files are only read: link them rather than copy a data set of some hundred megabytes.
    const fs::path game = TESSEL_GAME_DIR;
    for (const fs::directory_entry& entry : fs::directory_iterator(game))
        fs::create_symlink(entry.path(), fs::path(m_Install.Path()) / entry.path().filename());
    m_Folder.emplace(m_Install.Path());
    if (const char* previous = std::getenv("XDG_RUNTIME_DIR"))
        m_PreviousRuntime = previous;
    ::setenv("XDG_RUNTIME_DIR", m_Runtime.Path().c_str(), 1);
}

void EndToEndTest::TearDown()
{
    if (m_PreviousRuntime)
        ::setenv("XDG_RUNTIME_DIR", m_PreviousRuntime->c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
}

int EndToEndTest::RunProgram(std::uint32_t seed, const std::function<void()>& body)
{
    // What the installer writes, and the settings a first run would write with the language choice as asked.
    plat::RegSetString(plat::Hive::LocalMachine, REGISTRY_PRODUCT_KEY, u"InstallPath", plat::FromUtf8(m_Install.Path()));
    plat::RegSetString(plat::Hive::LocalMachine, REGISTRY_PRODUCT_KEY, u"InstallLang", u"English");
    plat::RegSetDword(plat::Hive::LocalMachine, REGISTRY_PRODUCT_KEY, u"InstallType", 1);
    if (!plat::RegKeyExists(plat::Hive::LocalMachine, SETTINGS_KEY)) {
        GetRegistrySettings();
        DeleteRegistrySettings();
    }
    plat::RegSetDword(plat::Hive::LocalMachine, SETTINGS_KEY, u"showlangselect",
                      static_cast<std::uint32_t>(m_ShowLanguageSelect));
    BodyRun run(body);
    ApplicationOptions options;
    options.driver = &run;
    options.seed = seed;
    return RunApplication(options);
}

void EndToEndTest::Frame()
{
    plat::headless::AdvanceTime(FRAME_MS);
    for (int i = 0; i < 100; ++i) {
        if (MainLoopPass() == LoopPass::Ticked)
            return;
    }
    ADD_FAILURE() << "no frame was ticked";
}

bool EndToEndTest::RunUntil(std::string_view what, const std::function<bool()>& done, int bound)
{
    for (int frame = 0; frame < bound; ++frame) {
        if (done())
            return true;
        Frame();
    }
    if (done())
        return true;
    ADD_FAILURE() << "not within " << bound << " frames: " << what;
    return false;
}

GUI_Window* EndToEndTest::FindShownWindow(std::u16string_view name)
{
    GUI_Manager* const manager = GetGUIManager();
    if (manager == nullptr)
        return nullptr;
    for (GUI_Interface* const screen : manager->GetInterfaces()) {
        if (screen->IsHidden())
            continue;
        GUI_Window* const window = screen->FindWindow(name, GUI_KIND_ANY);
        if (window != nullptr && IsShown(window))
            return window;
    }
    return nullptr;
}

void EndToEndTest::Click(int x, int y)
{
    for (const plat::EventType type :
         {plat::EventType::MouseMove, plat::EventType::ButtonDown, plat::EventType::ButtonUp}) {
        QueueMouse(type, x, y);
        Frame();
    }
}

bool EndToEndTest::ClickWindow(const GUI_Window* window)
{
    if (window == nullptr)
        return false;
    GUI_Manager* const manager = GetGUIManager();
    const auto shows = [manager, window](int x, int y) { return manager->GetWindowAt(x, y) == window; };
    const int midX = (window->GetLeft() + window->GetRight()) / 2;
    const int midY = (window->GetTop() + window->GetBottom()) / 2;
    if (shows(midX, midY)) {
        Click(midX, midY);
        return true;
    }
    constexpr int GRID = 4;
    for (int y = window->GetTop() + GRID / 2; y < window->GetBottom(); y += GRID) {
        for (int x = window->GetLeft() + GRID / 2; x < window->GetRight(); x += GRID) {
            if (shows(x, y)) {
                Click(x, y);
                return true;
            }
        }
    }
    return false;
}

bool EndToEndTest::ClickWindow(std::u16string_view name)
{
    const bool clicked = ClickWindow(FindShownWindow(name));
    if (!clicked)
        ADD_FAILURE() << "no shown window " << plat::ToUtf8(std::u16string(name)) << " to click";
    return clicked;
}

int EndToEndTest::Screen()
{
    GameDisplay* const display = GetGameDisplay();
    return display != nullptr ? display->GetScreen() : -1;
}

std::vector<std::string> EndToEndTest::QueuedVoices()
{
    std::vector<std::string> voices;
    for (std::size_t i = 0; i < VoiceQueueLength(); ++i)
        voices.push_back(plat::ToUtf8(GetQueuedVoicePath(i)));
    return voices;
}

} // namespace test
