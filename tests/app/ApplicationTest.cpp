// Start-up and shutdown of the whole program on the headless backend: the display checks and their messages,
// language data, the window, the intro movies, the teardown order, the settings and the single instance.
#include "tests/app/AppFixture.h"

#include "engine/core/LanguageManager.h"
#include "engine/core/PrivateHeap.h"
#include "engine/core/QuitRequest.h"
#include "engine/core/StringTable.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using plat::DisplayMode;

constexpr DisplayMode MODE_565 = {1024, 768, 16, 60, 0xF800, 0x07E0, 0x001F};

struct ModeCase {
    const char* name;
    DisplayMode desktop;
    std::vector<DisplayMode> modes;
    bool changed;
    DisplayMode expected;
};

class StartupTest : public test::AppFixture {};

TEST_F(StartupTest, DesktopModeIsKeptOrSearchedForA16BitModeOfItsSize)
{
    const DisplayMode d1280 = {1280, 1024, 16, 60, 0xF800, 0x07E0, 0x001F};
    const DisplayMode d1600 = {1600, 1200, 16, 60, 0xF800, 0x07E0, 0x001F};
    const DisplayMode d32at60 = {1024, 768, 32, 60, 0xFF0000, 0xFF00, 0xFF};
    const DisplayMode d32at75 = {1024, 768, 32, 75, 0xFF0000, 0xFF00, 0xFF};
    const DisplayMode m16at60 = {1024, 768, 16, 60, 0xF800, 0x07E0, 0x001F};
    const DisplayMode m16at75 = {1024, 768, 16, 75, 0xF800, 0x07E0, 0x001F};
    const DisplayMode m16other = {800, 600, 16, 60, 0xF800, 0x07E0, 0x001F};
    const std::vector<ModeCase> cases = {
        {"accepted as it is", d1280, {d1280, m16at60}, false, {}},
        {"too large: its own mode is set again", d1600, {m16other, d1600}, true, d1600},
        {"32 bits: same rate found", d32at60, {m16at75, m16at60}, true, m16at60},
        {"32 bits at 60 Hz: another rate is not taken", d32at60, {m16at75}, false, {}},
        {"32 bits at 75 Hz: any rate of the size", d32at75, {m16other, m16at60}, true, m16at60},
        {"no mode of the size", d32at75, {m16other}, false, {}},
        {"no modes at all", d32at60, {}, false, {}},
    };
    for (const ModeCase& c : cases) {
        plat::headless::Reset();
        plat::headless::SetDesktopMode(c.desktop);
        plat::headless::SetDisplayModes(c.modes);
        EXPECT_EQ(RunFrames(0), 0) << c.name;
        // The last change is shutdown putting the desktop back.
        const std::vector<DisplayMode>& changes = plat::headless::ModeChanges();
        ASSERT_EQ(changes.size(), c.changed ? 2u : 1u) << c.name;
        if (c.changed) {
            EXPECT_EQ(changes[0].width, c.expected.width) << c.name;
            EXPECT_EQ(changes[0].bitsPerPixel, 16) << c.name;
            EXPECT_EQ(changes[0].refreshHz, c.expected.refreshHz) << c.name;
        }
        EXPECT_EQ(changes.back().bitsPerPixel, c.desktop.bitsPerPixel) << c.name;
    }
}

struct CheckCase {
    const char* name;
    std::function<void()> setUp;
    std::vector<int> answers;
    std::vector<std::u16string> messages;  // the boxes shown, in order
    std::uint32_t firstFlags;
    bool runs;  // the loop ticks frames
};

TEST_F(StartupTest, EachFailedCheckShowsItsMessageAndEndsAtTheFirstTurnOfTheLoop)
{
    const std::vector<CheckCase> cases = {
        {"a normal desktop", [] {}, {}, {}, 0, true},
        {"a 5-5-5 desktop",
         [] { plat::headless::SetDesktopMode({1024, 768, 16, 60, 0x7C00, 0x03E0, 0x001F}); }, {}, {}, 0, true},
        {"red's highest bit 13",
         [] { plat::headless::SetDesktopMode({1024, 768, 16, 60, 0x3C00, 0x03E0, 0x001F}); }, {},
         {u"Message 5"}, plat::MB_OK, false},
        {"masks out of order",
         [] { plat::headless::SetDesktopMode({1024, 768, 16, 60, 0x001F, 0x07E0, 0xF800}); }, {},
         {u"Message 5"}, plat::MB_OK, false},
        {"8 bits", [] { plat::headless::SetDesktopMode({1024, 768, 8, 60, 0xE0, 0x1C, 0x03}); }, {},
         {u"Message 4"}, plat::MB_OK, false},
        {"no display device", [] { plat::headless::SetDisplayDeviceAvailable(false); }, {}, {u"Message 6"},
         plat::MB_OK, false},
        {"desktop mode unknown", [] { plat::headless::SetDesktopMode(MODE_565, false); }, {}, {u"Message 7"},
         plat::MB_OK, false},
        {"screen too small", [] { plat::headless::SetScreenMetrics({640, 480, 640, 460}); }, {}, {u"Message 3"},
         plat::MB_OK, false},
        {"multimedia too old, OK", [] { plat::headless::SetMultimediaVersion(0x200); }, {plat::IDOK},
         {u"Message 2"}, plat::MB_OKCANCEL, true},
        {"multimedia too old, Cancel", [] { plat::headless::SetMultimediaVersion(0x200); }, {plat::IDCANCEL},
         {u"Message 2"}, plat::MB_OKCANCEL, false},
    };
    for (const CheckCase& c : cases) {
        plat::headless::Reset();
        c.setUp();
        for (const int answer : c.answers) {
            plat::headless::QueueMessageBoxAnswer(answer);
        }
        EXPECT_EQ(RunFrames(3), 0) << c.name;
        const auto& boxes = plat::headless::MessageBoxes();
        ASSERT_EQ(boxes.size(), c.messages.size()) << c.name;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_EQ(boxes[i].text, c.messages[i]) << c.name;
            EXPECT_EQ(boxes[i].caption, u"Tessel Title") << c.name;
        }
        if (!boxes.empty()) {
            EXPECT_EQ(boxes[0].flags, c.firstFlags) << c.name;
        }
        // The window opens in every case; frames are ticked only when start-up passed.
        EXPECT_EQ(s_FrameCounter, c.runs ? 3 : 0) << c.name;
        EXPECT_EQ(plat::headless::LastWindowDesc().title, u"Tessel Title") << c.name;
    }
}

std::vector<std::uint8_t> BigEndian(const std::vector<std::uint8_t>& littleEndian)
{
    std::vector<std::uint8_t> bytes = littleEndian;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

// Missing files, and files that can be read but yield no entries, are missing language data alike.
TEST_F(StartupTest, MissingOrEmptyLanguageDataShowsMessage9AndSavesNothing)
{
    const std::string strings = test::StringTableText();
    const std::string cards = test::CardFileText();
    std::vector<std::uint8_t> random(4000);
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : random) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    struct Case {
        const char* name;
        std::vector<std::uint8_t> strings;  // empty: no file
        std::vector<std::uint8_t> cards;
    };
    const std::vector<Case> cases = {
        {"no files", {}, {}},
        {"string table in UTF-8", {strings.begin(), strings.end()}, test::Utf16Le(cards)},
        {"string table big-endian", BigEndian(test::Utf16Le(strings)), test::Utf16Le(cards)},
        {"string table of random bytes", random, test::Utf16Le(cards)},
        {"card file in UTF-8", test::Utf16Le(strings), {cards.begin(), cards.end()}},
        {"card file without a card", test::Utf16Le(strings), test::Utf16Le("# no cards yet\r\n")},
        {"card file of random bytes", test::Utf16Le(strings), random},
    };
    for (const Case& c : cases) {
        plat::headless::Reset();
        const test::TempDir install;
        if (!c.strings.empty())
            install.Write("data_en/res_str_phys_u.txt", c.strings);
        if (!c.cards.empty())
            install.Write("data_en/cards_phys_u.cfg", c.cards);
        const test::ScopedCurrentFolder inInstall(install.Path());
        EXPECT_EQ(RunFrames(5), 0) << c.name;
        const auto& boxes = plat::headless::MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u) << c.name;
        EXPECT_EQ(boxes[0].flags, plat::MB_ICONERROR) << c.name;
        EXPECT_TRUE(boxes[0].caption.ends_with(u" (data_en\\)")) << c.name;
        EXPECT_FALSE(plat::HasMainWindow()) << c.name;
        EXPECT_EQ(s_FrameCounter, 0) << c.name;
    }
    // The defaults are there, but nothing of the run was written back.
    EXPECT_EQ(Setting(u"playmovies"), 1);
    // The single-instance lock was given back.
    EXPECT_TRUE(plat::AcquireInstanceLock(APPLICATION_INSTANCE_NAME));
    plat::ReleaseInstanceLock();
}

TEST_F(StartupTest, InstalledLanguageIsTakenWhenTheSavedOneHasNoData)
{
    m_Game.Write("data_de/res_str_phys_u.txt", test::Utf16Le(test::StringTableText()));
    m_Game.Write("data_de/cards_phys_u.cfg", test::Utf16Le(test::CardFileText()));
    SetSetting(u"language", LANG_FRENCH);
    plat::RegSetString(plat::Hive::LocalMachine, REGISTRY_PRODUCT_KEY, u"InstallLang", u"German");
    plat::RegSetDword(plat::Hive::LocalMachine, REGISTRY_PRODUCT_KEY, u"InstallType", 1);
    SetSetting(u"showlangselect", 0);
    EXPECT_EQ(RunFrames(1), 0);
    EXPECT_TRUE(plat::headless::MessageBoxes().empty());
    EXPECT_EQ(Setting(u"language"), LANG_GERMAN);
    EXPECT_EQ(Setting(u"showlangselect"), 1);
    EXPECT_EQ(Setting(u"launchmode"), 1);
}

TEST(WindowPlacement, SavedRectanglesAreFittedToTheScreen)
{
    struct Case {
        plat::Rect saved;
        plat::Rect fitted;
    };
    const std::vector<Case> cases = {
        {{10, 10, 1014, 758}, {10, 10, 1014, 758}},
        {{0, 0, 2000, 1500}, {0, 0, 1024, 768}},
        {{300, 200, 2300, 1700}, {0, 0, 1024, 768}},
        {{-50, -20, 750, 580}, {0, 0, 800, 600}},
        {{500, 400, 1300, 1000}, {224, 168, 1024, 768}},
        // Nothing to fit: the first-run default.
        {{0, 0, 0, 0}, {10, 10, 1014, 758}},
        {{500, 400, 100, 100}, {10, 10, 1014, 758}},
        {{300, 200, 1300, 200}, {10, 10, 1014, 758}},
        // Hand-edited extremes.
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 1024, 768}},
        {{INT_MAX - 100, INT_MAX - 50, INT_MAX, INT_MAX}, {924, 718, 1024, 768}},
        {{INT_MIN, INT_MIN, INT_MIN + 300, INT_MIN + 200}, {0, 0, 300, 200}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const plat::Rect r = FitWindowRect(c.saved, 1024, 768);
        EXPECT_EQ(r.left, c.fitted.left) << "case " << i;
        EXPECT_EQ(r.top, c.fitted.top) << "case " << i;
        EXPECT_EQ(r.right, c.fitted.right) << "case " << i;
        EXPECT_EQ(r.bottom, c.fitted.bottom) << "case " << i;
    }
}

TEST(ColourMasks, HighestBitAndMaskRules)
{
    EXPECT_EQ(HighestBitIndex(0), -1);
    EXPECT_EQ(HighestBitIndex(1), 0);
    EXPECT_EQ(HighestBitIndex(0x80000000u), 31);
    EXPECT_EQ(HighestBitIndex(0x7C00), 14);
    EXPECT_TRUE(AreUsableColourMasks(0xF800, 0x07E0, 0x001F));
    EXPECT_TRUE(AreUsableColourMasks(0x7C00, 0x03E0, 0x001F));
    EXPECT_FALSE(AreUsableColourMasks(0x3C00, 0x03E0, 0x001F));
    EXPECT_FALSE(AreUsableColourMasks(0xF800, 0x0100, 0x001F));  // green's highest bit 8
    EXPECT_FALSE(AreUsableColourMasks(0xF800, 0x07E0, 0x000F));  // blue's highest bit 3
    EXPECT_FALSE(AreUsableColourMasks(0xF800, 0x001F, 0x07E0));  // green below blue
}

TEST_F(StartupTest, WindowTakesTheFittedRectangleAndLosesTheMaximiseBoxOnLowScreens)
{
    SetSetting(u"winx1", 0);
    SetSetting(u"winy1", 0);
    SetSetting(u"winx2", 2000);
    SetSetting(u"winy2", 1500);
    EXPECT_EQ(RunFrames(0), 0);
    plat::WindowDesc desc = plat::headless::LastWindowDesc();
    EXPECT_EQ(desc.x, 0);
    EXPECT_EQ(desc.width, 1024);
    EXPECT_EQ(desc.height, 768);
    EXPECT_TRUE(desc.maximizeBox);
    EXPECT_EQ(Setting(u"winx2"), 1024);

    plat::headless::Reset();
    plat::headless::SetScreenMetrics({800, 600, 800, 580});
    SetSetting(u"winmax", 1);
    EXPECT_EQ(RunFrames(0), 0);
    desc = plat::headless::LastWindowDesc();
    EXPECT_FALSE(desc.maximizeBox);
    EXPECT_FALSE(desc.maximized);
    EXPECT_EQ(desc.width, 800);
    EXPECT_EQ(desc.height, 600);
    EXPECT_EQ(Setting(u"winmax"), 0);

    // An empty rectangle takes the default and is not saved back.
    plat::headless::Reset();
    SetSetting(u"winx2", 0);
    SetSetting(u"winy2", 0);
    EXPECT_EQ(RunFrames(0), 0);
    desc = plat::headless::LastWindowDesc();
    EXPECT_EQ(desc.x, 10);
    EXPECT_EQ(desc.width, 1004);
    EXPECT_EQ(desc.height, 748);
    EXPECT_EQ(Setting(u"winx2"), 1014);
}

// A configuration folder that cannot be written: the defaults hold for the run and one message says where the
// settings could not be saved.
TEST_F(StartupTest, AnUnwritableConfigurationFolderLeavesTheDefaultsAndOneMessage)
{
    const test::TempDir dir;
    dir.Write("blocker", "a file where the folder should be");
    plat::SetConfigFolder(dir.File("blocker/config"));
    const test::ScopedLog log;
    EXPECT_EQ(RunFrames(2), 0);
    plat::SetConfigFolder(m_Registry.Folder());
    const plat::WindowDesc desc = plat::headless::LastWindowDesc();
    EXPECT_EQ(desc.x, 10);
    EXPECT_EQ(desc.width, 1004);
    EXPECT_EQ(desc.height, 748);
    EXPECT_EQ(s_FrameCounter, 2);
    EXPECT_EQ(log.Count("settings cannot be saved to " + dir.File("blocker/config/")), 1) << log.Text();
}

TEST_F(StartupTest, IntroMoviesPlayOnTheFirstRunOnly)
{
    m_Game.Write("content_en/pellmont.exe", std::string("#!/bin/sh\n"));
    bool visible = false;
    bool cursor = false;
    EXPECT_EQ(RunInside([&] {
                  visible = plat::headless::WindowVisible();
                  cursor = plat::headless::CursorShown();
              }),
              0);
    const auto& spawns = plat::headless::Spawns();
    ASSERT_EQ(spawns.size(), 3u);
    EXPECT_EQ(spawns[0].program, u"content_en\\quendral.exe");
    EXPECT_EQ(spawns[1].program, u"content_en\\pellmont.exe");
    EXPECT_EQ(spawns[2].program, u"content_en\\varrowcore.exe");
    for (const auto& spawn : spawns) {
        EXPECT_TRUE(spawn.wait);
        EXPECT_EQ(spawn.args, std::vector<std::u16string>{u"tessel.exe"});
    }
    // Shown again, with its cursor, once the movies are over.
    EXPECT_TRUE(visible);
    EXPECT_TRUE(cursor);
    EXPECT_EQ(Setting(u"playmovies"), 0);

    plat::headless::Reset();
    EXPECT_EQ(RunFrames(1), 0);
    EXPECT_TRUE(plat::headless::Spawns().empty());
}

// What the steps of shutdown change, seen at each step's label: a step has run when the next label sees its
// effect, and not before its own label.
struct ShutdownFacts {
    bool settingsSaved = false;
    bool toolkitUp = false;
    bool stringsLoaded = false;
    bool displayUp = false;
    bool heapUp = false;
    bool displayDeviceOpen = false;
    std::size_t modeChanges = 0;
};

ShutdownFacts ObserveShutdown()
{
    ShutdownFacts facts;
    std::uint32_t playmovies = 1;
    plat::RegGetDword(plat::Hive::LocalMachine, test::SETTINGS_KEY, u"playmovies", playmovies);
    facts.settingsSaved = playmovies == 0;
    facts.toolkitUp = GUI_System::GetManager() != nullptr;
    facts.stringsLoaded = GetString(u"PHYS_PHASE_Untap") != nullptr;
    facts.displayUp = GetGameDisplay()->IsInitialised();
    facts.heapUp = PrivateAlloc(16) != nullptr;
    facts.displayDeviceOpen = s_bDisplayDeviceOpen;
    facts.modeChanges = plat::headless::ModeChanges().size();
    return facts;
}

std::vector<std::pair<std::string, ShutdownFacts>> s_Steps;

void RecordStep(std::string_view step)
{
    s_Steps.emplace_back(step, ObserveShutdown());
}

TEST_F(StartupTest, ShutdownRunsInOrderAndSavesTheSettings)
{
    s_Steps.clear();
    SetShutdownStepObserver(RecordStep);
    SetSetting(u"gamescompleted", 4);
    const int code = RunInside([] {
        // The first frame loads the menus' scene: shutdown has a display to close.
        for (int i = 0; i < 100 && MainLoopPass() != LoopPass::Ticked; ++i) {
        }
        // A moved and resized window, and a statistic, are what the next start finds.
        plat::Event move;
        move.type = plat::EventType::Size;
        move.width = 900;
        move.height = 700;
        plat::headless::QueueEvent(move);
        s_GamesWon = 3;
    });
    SetShutdownStepObserver(nullptr);
    EXPECT_EQ(code, 0);
    std::vector<std::string> labels;
    for (const auto& [label, facts] : s_Steps)
        labels.push_back(label);
    const std::vector<std::string> expected = {
        "SaveSettings",          "DestroyIntro",          "SpellStack::Shutdown", "ClearCombatDamageRecords",
        "CloseAllLessonDialogs", "ResetCpuPhysicalTurn",  "DestroyLifeTokens",
        "DeleteAllScreens",
        "GUI_System::Shutdown",
        "DeleteHintRegistry",    "ReleaseCardOverlays",   "ClearStringTables",    "DestroyAllActors",
        "GameDisplay::Shutdown", "UnbindRaster",          "DestroyPrivateHeap",   "ShutdownSound",
        "ReleaseDisplayDevice",  "DeleteSingletons",      "RestoreDisplayMode"};
    ASSERT_EQ(labels, expected);

    // Each observable step changes its fact between its own label and the next one, and nowhere else.
    struct Effect {
        std::string step;
        std::function<bool(const ShutdownFacts&)> done;
    };
    const std::vector<Effect> effects = {
        {"SaveSettings", [](const ShutdownFacts& f) { return f.settingsSaved; }},
        {"GUI_System::Shutdown", [](const ShutdownFacts& f) { return !f.toolkitUp; }},
        {"ClearStringTables", [](const ShutdownFacts& f) { return !f.stringsLoaded; }},
        {"GameDisplay::Shutdown", [](const ShutdownFacts& f) { return !f.displayUp; }},
        {"DestroyPrivateHeap", [](const ShutdownFacts& f) { return !f.heapUp; }},
        {"ReleaseDisplayDevice", [](const ShutdownFacts& f) { return !f.displayDeviceOpen; }},
        {"RestoreDisplayMode", [](const ShutdownFacts& f) { return f.modeChanges == 1; }},
    };
    s_Steps.emplace_back("after shutdown", ObserveShutdown());
    for (const Effect& effect : effects) {
        const std::size_t at = static_cast<std::size_t>(std::find(labels.begin(), labels.end(), effect.step) -
                                                        labels.begin());
        ASSERT_LT(at, labels.size()) << effect.step;
        for (std::size_t i = 0; i <= at; ++i)
            EXPECT_FALSE(effect.done(s_Steps[i].second)) << effect.step << " done already at " << s_Steps[i].first;
        EXPECT_TRUE(effect.done(s_Steps[at + 1].second)) << effect.step << " not done at " << s_Steps[at + 1].first;
    }

    EXPECT_EQ(Setting(u"gamescompleted"), 4);
    EXPECT_EQ(Setting(u"gameswon"), 3);
    EXPECT_EQ(Setting(u"winx2") - Setting(u"winx1"), 900);
    EXPECT_EQ(Setting(u"playmovies"), 0);
    EXPECT_TRUE(s_bShuttingDown);
    EXPECT_FALSE(plat::HasMainWindow());
    // From now on the window procedure answers nothing.
    plat::Event click;
    click.type = plat::EventType::ButtonDown;
    click.button = plat::BUTTON_LEFT;
    MainWndProc(click);
    EXPECT_EQ(MouseState.leftClicked, 0);
}

// A screen whose frame update throws.
class ThrowingScreen final : public GUI_Interface {
public:
    void Update() override { throw std::out_of_range("the screen's own error"); }
};

// Shows the throwing screen once the first frame has loaded the menus; gives up at frame 50.
class ThrowingScreenRun final : public MainLoopDriver {
public:
    void BeforePass(int frame) override
    {
        if (frame >= 50)
            PostQuitMessage(9);
    }
    void AfterTick(int) override
    {
        if (!GetGUIManager()->HasInterface(&m_Screen)) {
            s_GamesWon = 5;
            GetGUIManager()->AddInterface(&m_Screen);
        }
    }
    bool Wait() override { return false; }

private:
    ThrowingScreen m_Screen;
};

TEST_F(StartupTest, AnExceptionInTheLoopIsLoggedAndEndsTheRunWithItsSettingsSaved)
{
    const test::ScopedLog log;
    ThrowingScreenRun run;
    ApplicationOptions options;
    options.driver = &run;
    int code = 0;
    EXPECT_NO_THROW(code = RunApplication(options));
    EXPECT_EQ(code, 1);
    EXPECT_EQ(log.Count("Tessel: stopped by an exception (std::out_of_range: the screen's own error) in the step "
                        "GUI_Manager::Update of the tick of frame 1\n"),
              1)
        << log.Text();
    EXPECT_EQ(Setting(u"gameswon"), 5);
    EXPECT_TRUE(s_bShuttingDown);
    EXPECT_FALSE(plat::HasMainWindow());
}

void ThrowAtDestroyAllActors(std::string_view step)
{
    if (step == "DestroyAllActors")
        throw std::runtime_error("the shutdown's own error");
}

// A shutdown that throws in turn cannot go on: the program ends at once, with 1, saying where.
TEST_F(StartupTest, ASecondExceptionDuringThatShutdownEndsTheProgramAtOnceWith1)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SetShutdownStepObserver(ThrowAtDestroyAllActors);
            ThrowingScreenRun run;
            ApplicationOptions options;
            options.driver = &run;
            RunApplication(options);
            std::exit(0);
        },
        testing::ExitedWithCode(1),
        "stopped by an exception \\(std::out_of_range: the screen's own error\\)(.|\n)*ended by an exception "
        "\\(std::runtime_error: the shutdown's own error\\) during the shutdown step DestroyAllActors");
}

TEST_F(StartupTest, ExitCodeIsTheQuitRequests)
{
    EXPECT_EQ(RunInside([] { PostQuitMessage(7); }), 7);
}

std::string LockPath(const std::string& runtime)
{
    return runtime + "/" + APPLICATION_INSTANCE_NAME + "-" + std::to_string(::getuid()) + ".lock";
}

TEST_F(StartupTest, ASecondInstanceAsksTheFirstToComeForwardAndExits0)
{
    // Another process's lock is what a running first copy holds.
    const int fd = ::open(LockPath(m_Runtime.Path()).c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(RunFrames(5), 0);
    ::close(fd);
    EXPECT_FALSE(plat::HasMainWindow());
    EXPECT_TRUE(plat::headless::MessageBoxes().empty());
    EXPECT_EQ(::access((LockPath(m_Runtime.Path()) + ".raise").c_str(), F_OK), 0);
}

// Without a runtime folder the lock and the raise request live in a folder of the user's own, and a link planted
// in their place is not followed.
TEST(InstanceLock, WithoutARuntimeFolderTheFilesAreTheUsersOwnAndLinksAreRefused)
{
    const char* const runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::optional<std::string> previous = runtime != nullptr ? std::optional<std::string>(runtime) : std::nullopt;
    ::unsetenv("XDG_RUNTIME_DIR");
    const std::string name = "TesselLockTest" + std::to_string(::getpid());
    const std::string folder = "/tmp/tessel-" + std::to_string(::getuid());
    const std::string lock = folder + "/" + name + "-" + std::to_string(::getuid()) + ".lock";
    const test::TempDir elsewhere;
    const std::string target = elsewhere.File("target");

    ASSERT_TRUE(plat::AcquireInstanceLock(name));
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, ::getuid());
    EXPECT_EQ(::access(lock.c_str(), F_OK), 0);
    plat::ReleaseInstanceLock();

    ASSERT_EQ(::symlink(target.c_str(), (lock + ".raise").c_str()), 0);
    plat::RequestRaiseRunningInstance(name);
    EXPECT_NE(::access(target.c_str(), F_OK), 0);
    ::unlink((lock + ".raise").c_str());
    ::unlink(lock.c_str());
    ASSERT_EQ(::symlink(target.c_str(), lock.c_str()), 0);
    EXPECT_TRUE(plat::AcquireInstanceLock(name));  // no lock to be had: the program runs
    plat::ReleaseInstanceLock();
    EXPECT_NE(::access(target.c_str(), F_OK), 0);
    ::unlink(lock.c_str());

    if (previous)
        ::setenv("XDG_RUNTIME_DIR", previous->c_str(), 1);
}

TEST_F(StartupTest, TheFirstInstanceComesForwardWhenASecondAsks)
{
    int raisedBefore = -1;
    RunInside([&raisedBefore] {
        raisedBefore = plat::headless::RaiseCount();
        plat::RequestRaiseRunningInstance(APPLICATION_INSTANCE_NAME);
        MainLoopPass();
    });
    EXPECT_EQ(raisedBefore, 0);
    EXPECT_EQ(plat::headless::RaiseCount(), 1);
}

} // namespace
