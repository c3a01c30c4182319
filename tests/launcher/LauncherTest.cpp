// The launcher driven headless in the test process: its menus from the settings store and the disk, the
// mouse rules, what it starts, opens and asks, and the frames it shows. The disc folder is a copy of the one
// the build lays out.
#include "launcher/Launcher.h"

#include "engine/core/RegistrySettings.h"
#include "platform/Headless.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;
namespace hl = plat::headless;

constexpr plat::Hive MACHINE = plat::Hive::LocalMachine;

// Centres of the buttons.
struct Point {
    int x;
    int y;
};
constexpr Point INSTALL = {601, 206};  // and Play
constexpr Point UNINSTALL = {601, 273};
constexpr Point LANGUAGE_PACKS = {601, 399};
constexpr Point BROWSE = {700, 557};
constexpr Point EXIT = {747, 27};  // and Back
constexpr Point NOWHERE = {200, 500};

Point Pack(int index)
{
    return {558, 181 + 38 * index};
}

// The folder the stand-in installer records, as the disc's install program does.
std::string s_InstallFolder;

int InstallerStandIn(const hl::SpawnRecord& record)
{
    if (record.args == std::vector<std::u16string>{u"/X"}) {
        plat::RegDeleteValue(MACHINE, REGISTRY_PRODUCT_KEY, u"InstallPath");
        return 0;
    }
    plat::RegSetString(MACHINE, REGISTRY_PRODUCT_KEY, u"InstallPath", plat::FromUtf8(s_InstallFolder));
    plat::RegSetString(MACHINE, REGISTRY_PRODUCT_KEY, u"InstallLang", u"English");
    plat::RegSetDword(MACHINE, REGISTRY_PRODUCT_KEY, u"InstallType", 1);
    return 0;
}

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* part : {"res_common", "res_en", "res_str.txt"})
            fs::copy(fs::path(TESSEL_DISC_DIR) / part, fs::path(m_Disc.Path()) / part, fs::copy_options::recursive);
        m_Disc.Write("English/install", "stand-in");
        m_Disc.Write("English/langpack", "stand-in");
        m_Game.Write("Tessel", "stand-in");
        s_InstallFolder = m_Game.Path();
        // The instance lock of each test process stays its own.
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        m_PreviousRuntime = runtime == nullptr ? "" : runtime;
        ::setenv("XDG_RUNTIME_DIR", m_Runtime.Path().c_str(), 1);
        m_Here = std::make_unique<test::ScopedCurrentFolder>(m_Disc.Path());
    }

    void TearDown() override
    {
        m_Launcher.reset();
        m_Here.reset();
        if (m_PreviousRuntime.empty())
            ::unsetenv("XDG_RUNTIME_DIR");
        else
            ::setenv("XDG_RUNTIME_DIR", m_PreviousRuntime.c_str(), 1);
    }

    static void Installed(const std::string& path, std::u16string_view language = u"English")
    {
        plat::RegSetString(MACHINE, REGISTRY_PRODUCT_KEY, u"InstallPath", plat::FromUtf8(path));
        plat::RegSetString(MACHINE, REGISTRY_PRODUCT_KEY, u"InstallLang", language);
        plat::RegSetDword(MACHINE, REGISTRY_PRODUCT_KEY, u"InstallType", 1);
    }

    Launcher& Start()
    {
        m_Launcher = std::make_unique<Launcher>();
        EXPECT_TRUE(m_Launcher->Start());
        return *m_Launcher;
    }

    void Pump()
    {
        plat::Event event;
        while (m_Launcher->IsRunning() && plat::PollEvent(event)) {
            m_Launcher->HandleEvent(event);
            m_Launcher->Paint();
        }
    }

    static plat::Event Mouse(plat::EventType type, Point at)
    {
        plat::Event event;
        event.type = type;
        event.x = at.x;
        event.y = at.y;
        event.button = plat::BUTTON_LEFT;
        return event;
    }

    void Move(Point at)
    {
        hl::QueueEvent(Mouse(plat::EventType::MouseMove, at));
        Pump();
    }

    void Press(Point at) { hl::QueueEvent(Mouse(plat::EventType::ButtonDown, at)); }
    void Release(Point at)
    {
        hl::QueueEvent(Mouse(plat::EventType::ButtonUp, at));
        Pump();
    }

    void Click(Point at)
    {
        Move(at);
        Press(at);
        Release(at);
    }

    // Indexes of the buttons of a menu that are drawn and hit.
    std::vector<int> Enabled(int menu) const
    {
        std::vector<int> out;
        for (int i = 0; i < LAUNCHER_BUTTONS; ++i) {
            const LauncherButton* button = m_Launcher->GetButton(menu, i);
            if (button != nullptr && button->IsEnabled() && !button->IsEmpty())
                out.push_back(i);
        }
        return out;
    }

    std::u16string Disc(std::string_view relative) const { return plat::FromUtf8(m_Disc.Path() + "/") + plat::FromUtf8(relative); }

    test::TempDir m_Disc;
    test::TempDir m_Game;
    test::TempDir m_Runtime;
    test::ScopedRegistry m_Registry;
    std::string m_PreviousRuntime;
    std::unique_ptr<test::ScopedCurrentFolder> m_Here;
    std::unique_ptr<Launcher> m_Launcher;
};

const std::vector<int> NOT_INSTALLED = {MAIN_INSTALL, MAIN_BROWSE, MAIN_EXIT};
const std::vector<int> INSTALLED = {MAIN_UNINSTALL, MAIN_PLAY, MAIN_LANGUAGE_PACKS, MAIN_BROWSE, MAIN_EXIT};

TEST_F(LauncherTest, TheWindowIsFixedCentredTitledAndHasItsIcon)
{
    Start();
    const plat::WindowDesc desc = hl::LastWindowDesc();
    EXPECT_EQ(desc.title, u"Dorvane");
    EXPECT_EQ(desc.width, 795);
    EXPECT_EQ(desc.height, 580);
    EXPECT_FALSE(desc.resizable);
    EXPECT_FALSE(desc.maximizeBox);
    EXPECT_TRUE(desc.centred);
    EXPECT_EQ(desc.iconWidth, 32);
    EXPECT_EQ(desc.iconPixels.size(), 32u * 32u);
    EXPECT_EQ(hl::LastFrame().width, 795);
    EXPECT_EQ(hl::LastFrame().height, 580);
}

TEST_F(LauncherTest, TheMainMenuFollowsTheInstallation)
{
    struct Case {
        const char* what;
        std::string installPath;  // empty: nothing recorded
        std::u16string_view language;
        std::vector<int> enabled;
    };
    const std::vector<Case> cases = {
        {"nothing recorded", "", u"English", NOT_INSTALLED},
        {"the main program is missing", m_Disc.Path(), u"English", NOT_INSTALLED},
        {"installed, no trailing separator", m_Game.Path(), u"English", INSTALLED},
        {"installed, trailing separator", m_Game.Path() + "/", u"English", INSTALLED},
        {"InstallLang leading out of the disc", m_Game.Path(), u"..", {MAIN_PLAY, MAIN_LANGUAGE_PACKS, MAIN_BROWSE, MAIN_EXIT}},
        {"InstallLang with a separator", m_Game.Path(), u"English/../..", {MAIN_PLAY, MAIN_LANGUAGE_PACKS, MAIN_BROWSE, MAIN_EXIT}},
    };
    for (const Case& c : cases) {
        if (!c.installPath.empty())
            Installed(c.installPath, c.language);
        else
            plat::RegDeleteValue(MACHINE, REGISTRY_PRODUCT_KEY, u"InstallPath");
        Start();
        EXPECT_EQ(m_Launcher->GetMenuState(), MENU_MAIN) << c.what;
        EXPECT_EQ(Enabled(MENU_MAIN), c.enabled) << c.what;
        EXPECT_TRUE(Enabled(MENU_LANGUAGE).empty()) << c.what;
        m_Launcher.reset();
    }
}

TEST_F(LauncherTest, AClickCountsOnlyWhenReleasedOverTheButtonPressed)
{
    Start();
    // Pressed on Install, moved off and released elsewhere: nothing.
    Move(INSTALL);
    Press(INSTALL);
    Pump();
    EXPECT_TRUE(hl::MouseCaptured());
    Move(NOWHERE);
    Release(NOWHERE);
    EXPECT_FALSE(hl::MouseCaptured());
    // Pressed elsewhere and released on Install: nothing either.
    Move(NOWHERE);
    Press(NOWHERE);
    Move(INSTALL);
    Release(INSTALL);
    EXPECT_TRUE(hl::MessageBoxes().empty());
    // Pressed and released on it: once.
    hl::QueueMessageBoxAnswer(plat::IDCANCEL);
    Click(INSTALL);
    EXPECT_EQ(hl::MessageBoxes().size(), 1u);
    EXPECT_TRUE(hl::Spawns().empty());
    // Edges count: the button's right and bottom edge are inside.
    hl::QueueMessageBoxAnswer(plat::IDCANCEL);
    Click({451 + 300, 180 + 52});
    EXPECT_EQ(hl::MessageBoxes().size(), 2u);
}

TEST_F(LauncherTest, InstallRunsTheDataLanguagesInstallerAndShowsPlay)
{
    hl::SetSpawnHook(&InstallerStandIn);
    Start();
    Click(INSTALL);
    ASSERT_EQ(hl::MessageBoxes().size(), 1u);
    EXPECT_EQ(hl::MessageBoxes()[0].caption, u"Dorvane");
    EXPECT_EQ(hl::MessageBoxes()[0].flags, plat::MB_OKCANCEL | plat::MB_ICONINFORMATION);
    EXPECT_NE(hl::MessageBoxes()[0].text.find(u"installed in English."), std::u16string::npos);
    EXPECT_NE(hl::MessageBoxes()[0].text.find(u'\n'), std::u16string::npos);
    ASSERT_EQ(hl::Spawns().size(), 1u);
    const hl::SpawnRecord& run = hl::Spawns()[0];
    EXPECT_EQ(run.program, Disc("English/install"));
    EXPECT_EQ(run.args, std::vector<std::u16string>{u"Dorvane.exe"});
    EXPECT_TRUE(run.wait);
    EXPECT_TRUE(run.windowMinimized);
    EXPECT_FALSE(hl::WindowMinimized());
    EXPECT_TRUE(m_Launcher->IsRunning());
    EXPECT_EQ(Enabled(MENU_MAIN), INSTALLED);
    // The pointer still rests on the place Install had: Play is under it now.
    EXPECT_EQ(m_Launcher->GetHovered(), MAIN_PLAY);
    EXPECT_EQ(m_Launcher->GetPressed(), -1);
}

TEST_F(LauncherTest, AFailedInstallShowsAnErrorAndTheLauncherStays)
{
    struct Case {
        const char* what;
        int exitCode;
    };
    // Without the stand-in the installer records nothing.
    for (const Case& c : {Case{"the installer fails", 3}, Case{"no installation is found afterwards", 0}}) {
        Start();
        hl::QueueSpawnResult(c.exitCode);
        Click(INSTALL);
        ASSERT_EQ(hl::Spawns().size(), 1u) << c.what;
        ASSERT_EQ(hl::MessageBoxes().size(), 2u) << c.what;
        EXPECT_EQ(hl::MessageBoxes()[1].text, u"The tutorial could not be installed.") << c.what;
        EXPECT_EQ(hl::MessageBoxes()[1].flags, plat::MB_OK | plat::MB_ICONERROR) << c.what;
        EXPECT_TRUE(m_Launcher->IsRunning()) << c.what;
        EXPECT_FALSE(hl::WindowMinimized()) << c.what;
        EXPECT_EQ(Enabled(MENU_MAIN), NOT_INSTALLED) << c.what;
        m_Launcher.reset();
        hl::Reset();
    }
}

TEST_F(LauncherTest, TheInstallPromptCutsAnOverlongLanguageName)
{
    const std::string grinning = "\xF0\x9F\x98\x80";  // one character, two UTF-16 units
    struct Case {
        std::string name;
        std::size_t shown;  // units of the name in the prompt
    };
    const Case cases[] = {
        {std::string(LANGUAGE_NAME_MAX, 'x'), LANGUAGE_NAME_MAX},
        {std::string(5000, 'x'), LANGUAGE_NAME_MAX},
        // The cut falls inside a surrogate pair: the whole character goes.
        {std::string(LANGUAGE_NAME_MAX - 1, 'x') + grinning + "yy", LANGUAGE_NAME_MAX - 1},
    };
    const std::u16string_view before = u"The tutorial will now be installed in ";
    for (const Case& c : cases) {
        m_Disc.Write("res_str.txt", test::Utf16Le("_begin EN\nSTR_ENGLISH " + c.name + "\n_end\n"));
        hl::QueueMessageBoxAnswer(plat::IDCANCEL);
        Start();
        Click(INSTALL);
        ASSERT_EQ(hl::MessageBoxes().size(), 1u);
        const std::u16string& text = hl::MessageBoxes()[0].text;
        const std::u16string firstLine = text.substr(0, text.find(u'\n'));
        EXPECT_EQ(firstLine, std::u16string(before) + plat::FromUtf8(c.name).substr(0, c.shown) + u".") << c.name.size();
        m_Launcher.reset();
        hl::Reset();
    }
}

TEST_F(LauncherTest, CancellingThePromptStartsNothing)
{
    hl::QueueMessageBoxAnswer(plat::IDCANCEL);
    Start();
    Click(INSTALL);
    EXPECT_TRUE(hl::Spawns().empty());
    Installed(m_Game.Path());
    m_Launcher.reset();
    Start();
    hl::QueueMessageBoxAnswer(plat::IDCANCEL);
    Click(UNINSTALL);
    EXPECT_TRUE(hl::Spawns().empty());
    EXPECT_TRUE(m_Launcher->IsRunning());
}

TEST_F(LauncherTest, UninstallStartsTheInstallerWithXInTheUninstallFolderAndEnds)
{
    Installed(m_Game.Path());
    Start();
    Click(UNINSTALL);
    ASSERT_EQ(hl::MessageBoxes().size(), 1u);
    EXPECT_EQ(hl::MessageBoxes()[0].flags, plat::MB_OKCANCEL | plat::MB_ICONINFORMATION);
    ASSERT_EQ(hl::Spawns().size(), 1u);
    EXPECT_EQ(hl::Spawns()[0].program, Disc("English/install"));
    EXPECT_EQ(hl::Spawns()[0].args, std::vector<std::u16string>{u"/X"});
    EXPECT_EQ(hl::Spawns()[0].workingFolder, Disc("English"));
    EXPECT_FALSE(hl::Spawns()[0].wait);
    EXPECT_FALSE(m_Launcher->IsRunning());
    EXPECT_FALSE(plat::HasMainWindow());
}

TEST_F(LauncherTest, PlayStartsTesselFromTheInstallPathAndEnds)
{
    Installed(m_Game.Path() + "/");
    Start();
    Click(INSTALL);
    ASSERT_EQ(hl::Spawns().size(), 1u);
    EXPECT_EQ(hl::Spawns()[0].program, plat::FromUtf8(m_Game.Path() + "/Tessel"));
    EXPECT_TRUE(hl::Spawns()[0].args.empty());
    EXPECT_EQ(hl::Spawns()[0].workingFolder, plat::FromUtf8(m_Game.Path() + "/"));
    EXPECT_FALSE(hl::Spawns()[0].wait);
    EXPECT_TRUE(hl::MessageBoxes().empty());
    EXPECT_FALSE(m_Launcher->IsRunning());
}

TEST_F(LauncherTest, AFailedStartShowsAnErrorAndTheLauncherStays)
{
    Installed(m_Game.Path());
    Start();
    hl::QueueSpawnResult(-1);
    Click(INSTALL);  // Play
    ASSERT_EQ(hl::MessageBoxes().size(), 1u);
    EXPECT_EQ(hl::MessageBoxes()[0].flags, plat::MB_OK | plat::MB_ICONERROR);
    EXPECT_NE(hl::MessageBoxes()[0].text.find(u"could not be started"), std::u16string::npos);
    EXPECT_TRUE(m_Launcher->IsRunning());
    // The uninstaller too.
    hl::QueueSpawnResult(-1);
    Click(UNINSTALL);
    ASSERT_EQ(hl::MessageBoxes().size(), 3u);
    EXPECT_EQ(hl::MessageBoxes()[2].flags, plat::MB_OK | plat::MB_ICONERROR);
    EXPECT_TRUE(m_Launcher->IsRunning());
    // A pack whose installer is not on the disc reports no completion.
    Click(LANGUAGE_PACKS);
    Click(Pack(0));  // German: no such folder on the disc
    ASSERT_EQ(hl::MessageBoxes().size(), 4u);
    EXPECT_EQ(hl::MessageBoxes()[3].flags, plat::MB_OK | plat::MB_ICONERROR);
    EXPECT_EQ(hl::Spawns().back().program, Disc("German/langpack"));
    EXPECT_FALSE(hl::WindowMinimized());
    EXPECT_TRUE(m_Launcher->IsRunning());
}

TEST_F(LauncherTest, ALanguagePackRunsItsInstallerAndReportsCompletion)
{
    Installed(m_Game.Path());
    Start();
    Click(LANGUAGE_PACKS);
    EXPECT_EQ(m_Launcher->GetMenuState(), MENU_LANGUAGE);
    EXPECT_EQ(Enabled(MENU_LANGUAGE), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, LANGUAGE_BACK}));
    EXPECT_TRUE(Enabled(MENU_MAIN).empty());
    Click(Pack(1));
    ASSERT_EQ(hl::Spawns().size(), 1u);
    EXPECT_EQ(hl::Spawns()[0].program, Disc("English/langpack"));
    EXPECT_EQ(hl::Spawns()[0].args, std::vector<std::u16string>{u"Dorvane.exe"});
    EXPECT_TRUE(hl::Spawns()[0].wait);
    EXPECT_TRUE(hl::Spawns()[0].windowMinimized);
    ASSERT_EQ(hl::MessageBoxes().size(), 1u);
    EXPECT_EQ(hl::MessageBoxes()[0].text, u"The language pack has been installed.");
    EXPECT_EQ(hl::MessageBoxes()[0].flags, plat::MB_OK | plat::MB_ICONINFORMATION);
    EXPECT_EQ(m_Launcher->GetMenuState(), MENU_LANGUAGE);
}

TEST_F(LauncherTest, ASecondClickAfterTheMenuChangesActsOnWhatIsUnderThePointer)
{
    Installed(m_Game.Path());
    Start();
    // Language packs pressed where no pack button lies in the next menu: the second click does nothing (the
    // hovered index of the old menu, 3, would have run the French pack).
    const Point left = {460, 380};
    Click(left);
    ASSERT_EQ(m_Launcher->GetMenuState(), MENU_LANGUAGE);
    EXPECT_EQ(m_Launcher->GetHovered(), -1);
    Press(left);
    Release(left);
    EXPECT_TRUE(hl::Spawns().empty());
    // Back to the main menu, then Language packs pressed over where Portuguese will stand: it is Portuguese.
    Click(EXIT);
    ASSERT_EQ(m_Launcher->GetMenuState(), MENU_MAIN);
    const Point right = {520, 380};
    Click(right);
    EXPECT_EQ(m_Launcher->GetHovered(), 5);
    Press(right);
    Release(right);
    ASSERT_EQ(hl::Spawns().size(), 1u);
    EXPECT_EQ(hl::Spawns()[0].program, Disc("Portuguese/langpack"));
}

TEST_F(LauncherTest, AnInstalledPackShowsItsThirdPictureUnlessHovered)
{
    Installed(m_Game.Path());
    m_Game.Write("data_fr/strings.txt", "x");
    Start();
    Click(LANGUAGE_PACKS);
    Move(NOWHERE);
    const LauncherButton* french = m_Launcher->GetButton(MENU_LANGUAGE, 3);
    const LauncherButton* german = m_Launcher->GetButton(MENU_LANGUAGE, 0);
    EXPECT_TRUE(french->IsInstalled());
    EXPECT_FALSE(german->IsInstalled());
    EXPECT_EQ(french->GetState(), BUTTON_INSTALLED);
    EXPECT_EQ(german->GetState(), BUTTON_NORMAL);
    Move(Pack(3));
    EXPECT_EQ(french->GetState(), BUTTON_HOVER);
    Move(Pack(0));
    EXPECT_EQ(french->GetState(), BUTTON_INSTALLED);
    EXPECT_EQ(german->GetState(), BUTTON_HOVER);
}

TEST_F(LauncherTest, ExitAndBackShareAPlaceAndOnlyTheCurrentMenusActs)
{
    Installed(m_Game.Path());
    Start();
    Click(LANGUAGE_PACKS);
    EXPECT_FALSE(m_Launcher->GetButton(MENU_MAIN, MAIN_EXIT)->IsEnabled());
    Click(EXIT);  // Back
    EXPECT_TRUE(m_Launcher->IsRunning());
    EXPECT_EQ(m_Launcher->GetMenuState(), MENU_MAIN);
    EXPECT_FALSE(m_Launcher->GetButton(MENU_LANGUAGE, LANGUAGE_BACK)->IsEnabled());
    Click(EXIT);
    EXPECT_FALSE(m_Launcher->IsRunning());
    EXPECT_TRUE(hl::Spawns().empty());
}

TEST_F(LauncherTest, BrowseOpensTheDiscFolderAndStays)
{
    hl::RecordStartedClips();
    Start();
    Click(BROWSE);
    ASSERT_EQ(hl::Spawns().size(), 1u);
    EXPECT_TRUE(hl::Spawns()[0].folder);
    EXPECT_EQ(hl::Spawns()[0].program, Disc(""));
    EXPECT_TRUE(m_Launcher->IsRunning());
    EXPECT_TRUE(hl::MessageBoxes().empty());
    // A click plays the sound from the launcher's own folder.
    EXPECT_EQ(hl::StartedClips().size(), 1u);
    EXPECT_GT(hl::StartedClips()[0], 44u);
    // Nothing opens folders on this desktop: the folder could not be opened, and the launcher stays.
    hl::QueueSpawnResult(-1);
    Click(BROWSE);
    ASSERT_EQ(hl::MessageBoxes().size(), 1u);
    EXPECT_EQ(hl::MessageBoxes()[0].text, Disc("") + u" could not be opened.");
    EXPECT_EQ(hl::MessageBoxes()[0].flags, plat::MB_OK | plat::MB_ICONERROR);
    EXPECT_TRUE(m_Launcher->IsRunning());
}

TEST_F(LauncherTest, TheChinesePackIsOfferedFromWindows2000OnOrForChineseData)
{
    EXPECT_TRUE(ChinesePackOffered(true, LAUNCHER_ENGLISH));
    EXPECT_FALSE(ChinesePackOffered(false, LAUNCHER_ENGLISH));
    EXPECT_TRUE(ChinesePackOffered(false, LAUNCHER_CHINESE));
    EXPECT_TRUE(IsWindows2000OrLater());
}

TEST_F(LauncherTest, TheDataLanguageFolderFallsBackToEnglish)
{
    hl::SetSystemLocale(u"Russian", 1251);
    hl::SetUserLocaleLanguageName(u"German");
    Start();
    // German pictures are missing from this disc copy, and there is no Russian folder.
    EXPECT_EQ(m_Launcher->GetLanguages().ui, LAUNCHER_ENGLISH);
    EXPECT_EQ(m_Launcher->GetLanguages().data, LAUNCHER_ENGLISH);
    EXPECT_EQ(m_Launcher->GetDataLanguageFolder(), Disc("English/"));
    m_Launcher.reset();
    fs::copy(fs::path(TESSEL_DISC_DIR) / "res_de", fs::path(m_Disc.Path()) / "res_de");
    m_Disc.Write("Russian/install", "stand-in");
    Start();
    EXPECT_EQ(m_Launcher->GetLanguages().ui, LAUNCHER_GERMAN);
    EXPECT_EQ(m_Launcher->GetLanguages().data, LAUNCHER_RUSSIAN);
    EXPECT_EQ(m_Launcher->GetDataLanguageFolder(), Disc("Russian/"));
}

// The frame's pixel against a picture's, both as the 5-6-5 back buffer holds them.
std::uint16_t FramePixel(int x, int y)
{
    return hl::LastFrame().pixels[static_cast<std::size_t>(y) * 795 + x];
}

std::uint16_t PicturePixel(const std::string& file, int x, int y)
{
    RasterBitmap bitmap;
    EXPECT_TRUE(LoadBitmapFile(plat::FromUtf8(file), bitmap)) << file;
    if (bitmap.pixels.empty())
        return 0;
    const std::uint32_t p = bitmap.At(x, y);
    return static_cast<std::uint16_t>(((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x1F));
}

TEST_F(LauncherTest, TheFrameShowsBackgroundTitleAndButtonsInTheirStates)
{
    const std::string disc = m_Disc.Path();
    const char* saveTo = std::getenv("TESSEL_SAVE_FRAMES");
    const auto save = [saveTo](const char* name) {
        if (saveTo != nullptr)
            hl::SaveFrameBmp(hl::LastFrame(), std::string(saveTo) + "/" + name);
    };
    Start();
    save("launcher-not-installed.bmp");
    EXPECT_EQ(FramePixel(10, 300), PicturePixel(disc + "/res_common/130.bmp", 10, 300));
    EXPECT_EQ(FramePixel(601, 182), PicturePixel(disc + "/res_en/134.bmp", 150, 2));
    EXPECT_EQ(FramePixel(500, 260), PicturePixel(disc + "/res_common/130.bmp", 500, 260));  // Uninstall is off
    // The title stands right-aligned at the top of 109.
    EXPECT_EQ(FramePixel(795 - 344 + 10, 109 + 30), PicturePixel(disc + "/res_en/131.bmp", 10, 30));
    Move(INSTALL);
    save("launcher-install-hovered.bmp");
    EXPECT_EQ(FramePixel(601, 182), PicturePixel(disc + "/res_en/135.bmp", 150, 2));
    EXPECT_NE(FramePixel(601, 182), PicturePixel(disc + "/res_en/134.bmp", 150, 2));
    Move(NOWHERE);
    EXPECT_EQ(FramePixel(601, 182), PicturePixel(disc + "/res_en/134.bmp", 150, 2));

    m_Launcher.reset();
    Installed(m_Game.Path());
    m_Game.Write("data_en/strings.txt", "x");
    Start();
    Move(LANGUAGE_PACKS);
    save("launcher-installed.bmp");
    Click(LANGUAGE_PACKS);
    Move(Pack(3));
    save("launcher-language-packs.bmp");
    EXPECT_EQ(FramePixel(488, 169 + 38), PicturePixel(disc + "/res_common/152.bmp", 1, 1));  // English, installed
    EXPECT_EQ(FramePixel(488, 169 + 38 * 3), PicturePixel(disc + "/res_common/167.bmp", 1, 1));  // French, hovered
    EXPECT_EQ(FramePixel(700, 399), PicturePixel(disc + "/res_common/146.bmp", 700, 399));  // no main buttons
}

} // namespace
