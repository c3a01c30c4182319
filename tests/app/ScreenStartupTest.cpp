// Where the program lands at start-up with the install values the installer writes: the first splash page with
// its voice, or the main menu with the language choice offered when the setting asks for it.
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "gui/GUI_Manager.h"
#include "screens/LanguageSelectInterface.h"
#include "screens/PhysicalMainInterface.h"
#include "screens/ScreenSwitch.h"
#include "tests/app/AppFixture.h"

#include <filesystem>

namespace {

// Records the screen state after a number of frames, then asks to quit.
class Observer final : public MainLoopDriver {
public:
    explicit Observer(int frames) : m_Frames(frames) {}
    void BeforePass(int) override {}
    void AfterTick(int frame) override
    {
        if (frame + 1 != m_Frames)
            return;
        GameDisplay* const display = GetGameDisplay();
        screen = display->GetScreen();
        returnScreen = display->GetReturnScreen();
        for (std::size_t i = 0; i < VoiceQueueLength(); ++i)
            voices.push_back(plat::ToUtf8(GetQueuedVoicePath(i)));
        interfaces = static_cast<int>(GetGUIManager()->GetInterfaces().size());
        if (auto* menu = static_cast<PhysicalMainInterface*>(GetCachedScreen(ScreenSlot::PhysicalMain)))
            overlay = menu->GetLanguageSelect() != nullptr && !menu->GetLanguageSelect()->IsHidden();
        plat::Event quit;
        quit.type = plat::EventType::Quit;
        plat::PostEvent(quit);
    }
    bool Wait() override { return false; }

    int screen = -1;
    int returnScreen = -1;
    std::vector<std::string> voices;
    int interfaces = 0;
    bool overlay = false;

private:
    int m_Frames;
};

class ScreenStartupTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        const std::filesystem::path layouts = std::filesystem::path(TESSEL_GAME_DIR) / "data/GUI";
        std::filesystem::create_directories(std::filesystem::path(m_Game.Path()) / "data/GUI");
        std::filesystem::copy(layouts, std::filesystem::path(m_Game.Path()) / "data/GUI",
                              std::filesystem::copy_options::recursive);
        SetLanguageSelectOffered(false);
    }
    void TearDown() override
    {
        SetLanguageSelectOffered(false);
        AppFixture::TearDown();
    }

    Observer Run(int frames)
    {
        Observer observer(frames);
        ApplicationOptions options;
        options.driver = &observer;
        EXPECT_EQ(RunApplication(options), 0);
        return observer;
    }
};

TEST_F(ScreenStartupTest, TheInstallValuesDecideTheFirstScreen)
{
    struct Case {
        const char* name;
        int installType;  // -1: no value
        int showLanguageChoice;  // -1: left at its default
        int screen;
        int returnScreen;
        bool splashVoice;
        bool overlay;
    };
    const Case cases[] = {
        {"no install values", -1, -1, 11, 1, true, false},
        {"an install", 1, -1, 1, 1, false, true},
        {"an install, choice turned off", 1, 0, 1, 1, false, false},
    };
    for (const Case& c : cases) {
        const test::ScopedRegistry registry;
        DeleteRegistrySettings();
        if (c.installType >= 0)
            plat::RegSetDword(plat::Hive::LocalMachine, REGISTRY_PRODUCT_KEY, u"InstallType",
                              static_cast<std::uint32_t>(c.installType));
        if (c.showLanguageChoice >= 0) {
            GetRegistrySettings();
            SetSetting(u"showlangselect", c.showLanguageChoice);
        }
        SetLanguageSelectOffered(false);
        const Observer seen = Run(3);
        EXPECT_EQ(seen.screen, c.screen) << c.name;
        EXPECT_EQ(seen.returnScreen, c.returnScreen) << c.name;
        const bool splashVoice = !seen.voices.empty() && seen.voices.back().ends_with("vo_phys\\basic_splash_1a.wav");
        EXPECT_EQ(splashVoice, c.splashVoice) << c.name;
        EXPECT_EQ(seen.overlay, c.overlay) << c.name;
        EXPECT_EQ(seen.interfaces, c.screen == 1 ? (c.overlay ? 2 : 1) : 0) << c.name;
        DeleteRegistrySettings();
    }
}

} // namespace
