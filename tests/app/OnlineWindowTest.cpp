// An online game in the SDL2 window under an Xvfb server of the test's own: a child run of this test program plays
// the online lesson in real time and says each frame where a person would click next; this side clicks there with
// xdotool, reads the table off the server's screen and closes the window as a person would.
#include "tests/app/AppFixture.h"

#include "cards/CardActor.h"
#include "cards/CardWindows.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"
#include "gui/OldButton.h"
#include "gui/OldDialog.h"
#include "rules/Decks.h"
#include "screens/CoinToss.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr const char* CHILD_DIR_VARIABLE = "TESSEL_ONLINE_WINDOW_DIR";
constexpr int SCREEN_W = 1024;
constexpr int SCREEN_H = 768;
constexpr int FIELD_ZONE = 15;
constexpr int BUTTON_YES = 0;
constexpr int BUTTON_NO = 1;

// ---- The child: the program in its window, telling where to click.

struct Target {
    std::string kind = "none";  // toss, card, button, pass, none
    int x = 0;
    int y = 0;
};

// Back-buffer pixels to the window's client pixels, as the program scales the mouse the other way.
Target ToClient(std::string kind, int x, int y)
{
    int width = 0;
    int height = 0;
    plat::GetClientSize(width, height);
    const int w = std::max(s_ScreenRect.Width(), 1);
    const int h = std::max(s_ScreenRect.Height(), 1);
    return {std::move(kind), x * width / w, y * height / h};
}

Target FieldButton(std::string kind, bool yes)
{
    const GameDisplay& display = *GetGameDisplay();
    const RasterRect& field = display.GetZoneRectByIndex(FIELD_ZONE);
    const Raster& raster = *GetRaster();
    const int noWidth = raster.GetTextureWidth(display.m_FixedButtons[BUTTON_NO]);
    const int yesWidth = raster.GetTextureWidth(display.m_FixedButtons[BUTTON_YES]);
    const int y = field.bottom - 3 - raster.GetTextureHeight(display.m_FixedButtons[BUTTON_NO]) / 2;
    const int x = yes ? field.right - 6 - noWidth - yesWidth / 2 : field.right - 3 - noWidth / 2;
    return ToClient(std::move(kind), x, y);
}

bool InOwnHand(const CardActor* card)
{
    return card != nullptr && card->GetOwner() == 0 && card->IsHeld() && !card->IsInLibrary() && card->IsNotLeaving();
}

int OwnLandsOnTable()
{
    std::set<const CardActor*> lands;
    for (const GUI_Window* window : GetGUIManager()->GetWindows()) {
        const CardActor* const card = GetCardWindowActor(window);
        if (card != nullptr && card->GetOwner() == 0 && card->IsLand() && !card->IsHeld() && !card->IsInLibrary())
            lands.insert(card);
    }
    return static_cast<int>(lands.size());
}

// A shown message window's button, the dice's answer, a land from the hand on the learner's turn, else the field's
// right-most button (pass, keep, OK).
Target NextClick(int landTurn)
{
    for (const OldDialog* dialog : GetGameDisplay()->m_RegisteredMessageDialogs) {
        const OldButton* const button = dialog->GetButtonA();
        if (button != nullptr && !dialog->IsHidden() && !button->IsHidden() && button->GetParent() == dialog)
            return ToClient("button", (button->GetLeft() + button->GetRight()) / 2,
                            (button->GetTop() + button->GetBottom()) / 2);
    }
    if (FindActorByName(u"cointoss") != nullptr)
        return FieldButton("toss", GetHumanDieValue() > GetCpuDieValue());
    if (s_HumanTurn && s_MulliganState == 1 && landTurn != s_TurnNumber) {
        for (const GUI_Window* window : GetGUIManager()->GetWindows()) {
            const CardActor* const card = GetCardWindowActor(window);
            if (window->IsHidden() || !InOwnHand(card) || !card->IsLand())
                continue;
            // Only the top of the hand shows at the bottom of the table.
            const int bottom = std::min(window->GetBottom(), s_ScreenRect.Height() - 1);
            return ToClient("card", (window->GetLeft() + window->GetRight()) / 2, (window->GetTop() + bottom) / 2);
        }
    }
    return FieldButton("pass", false);
}

void WriteAtomically(const std::string& path, const std::string& text)
{
    {
        std::ofstream out(path + ".tmp");
        out << text;
    }
    fs::rename(path + ".tmp", path);
}

// Real-time pacing, the online lesson asked for at the first pass, and each frame the next click published.
class WindowDriver final : public MainLoopDriver {
public:
    explicit WindowDriver(std::string folder) : m_Folder(std::move(folder)) {}

    void BeforePass(int frame) override
    {
        if (!m_Started) {
            m_Started = true;
            SetChosenColours(0, 1, 2, 3, 4);
            plat::SeedRand(11);
            s_RequestedGameMode = 3;
        }
        m_Pacing.BeforePass(frame);
    }

    void AfterTick(int frame) override
    {
        ++m_Frames;
        if (s_GameMode == 3) {
            m_TossSeen = m_TossSeen || FindActorByName(u"cointoss") != nullptr;
            m_TossEnded = m_TossEnded || (m_TossSeen && FindActorByName(u"cointoss") == nullptr);
            m_Lands = std::max(m_Lands, OwnLandsOnTable());
            if (m_Lands > 0 && m_LandTurn < 0)
                m_LandTurn = s_TurnNumber;
            m_TableShown = m_TableShown || FindActorByName(u"camera") != nullptr;
            const Target next = NextClick(m_Lands > 0 ? s_TurnNumber : -1);
            std::ostringstream state;
            state << frame << ' ' << next.kind << ' ' << next.x << ' ' << next.y << ' ' << m_Lands << '\n';
            WriteAtomically(m_Folder + "/state", state.str());
        }
        m_Pacing.AfterTick(frame);
    }

    bool Wait() override { return m_Pacing.Wait(); }

    int m_Frames = 0;
    bool m_TossSeen = false;
    bool m_TossEnded = false;
    bool m_TableShown = false;
    int m_Lands = 0;

private:
    RealTimePacing m_Pacing;
    std::string m_Folder;
    bool m_Started = false;
    int m_LandTurn = -1;
};

class OnlineWindowChild : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level03_u.cfg"});
    }
};

// Run only as the child of the test below: plays until the window is closed, then writes what it saw.
TEST_F(OnlineWindowChild, DISABLED_PlaysInTheWindowUntilClosed)
{
    const char* folder = std::getenv(CHILD_DIR_VARIABLE);
    ASSERT_NE(folder, nullptr);
    ASSERT_TRUE(plat::Init(plat::BackendKind::Sdl));
    WindowDriver driver(folder);
    ApplicationOptions options;
    options.driver = &driver;
    const int exitCode = RunApplication(options);
    plat::Shutdown();
    std::ostringstream result;
    result << exitCode << ' ' << driver.m_Frames << ' ' << driver.m_TossSeen << ' ' << driver.m_TossEnded << ' '
           << driver.m_TableShown << ' ' << driver.m_Lands << '\n';
    WriteAtomically(std::string(folder) + "/result", result.str());
    EXPECT_EQ(exitCode, 0);
}

// ---- The test: a person at the window.

struct Screen {
    std::vector<std::uint32_t> pixels;  // 0xRRGGBB
};

// The server's frame-buffer file (xwd format, 32 bits a pixel).
std::optional<Screen> ReadScreen(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 100)
        return std::nullopt;
    const auto be32 = [&](std::size_t field) {
        const std::size_t at = field * 4;
        return static_cast<std::uint32_t>((bytes[at] << 24) | (bytes[at + 1] << 16) | (bytes[at + 2] << 8) |
                                          bytes[at + 3]);
    };
    const std::uint32_t width = be32(4);
    const std::uint32_t height = be32(5);
    const std::uint32_t byteOrder = be32(7);
    const std::uint32_t bytesPerLine = be32(12);
    const std::size_t offset = be32(0) + static_cast<std::size_t>(be32(19)) * 12;
    if (width != SCREEN_W || height != SCREEN_H || be32(11) != 32 ||
        offset + static_cast<std::size_t>(bytesPerLine) * height > bytes.size())
        return std::nullopt;
    Screen screen;
    screen.pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t* p = &bytes[offset + static_cast<std::size_t>(y) * bytesPerLine + x * 4];
            screen.pixels[y * width + x] = byteOrder == 0 ? (p[2] << 16) | (p[1] << 8) | p[0]
                                                          : (p[1] << 16) | (p[2] << 8) | p[3];
        }
    }
    return screen;
}

struct ChildState {
    int frame = -1;
    std::string kind;
    int x = 0;
    int y = 0;
    int lands = 0;
};

ChildState ReadState(const std::string& path)
{
    ChildState state;
    std::ifstream in(path);
    in >> state.frame >> state.kind >> state.x >> state.y >> state.lands;
    return in ? state : ChildState{};
}

class OnlineWindowTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (m_Child > 0 && waitpid(m_Child, nullptr, WNOHANG) == 0) {
            kill(m_Child, SIGKILL);
            waitpid(m_Child, nullptr, 0);
        }
    }

    int Xdo(const std::vector<std::string>& args) const
    {
        return test::WaitProgramExit(test::SpawnProgram("xdotool", args, {"DISPLAY=" + m_Display}), 20);
    }

    pid_t m_Child = -1;
    std::string m_Display;
};

TEST_F(OnlineWindowTest, AGameTakesClicksOnTheTossAndAHandCardAndClosesCleanly)
{
    if (!test::ScopedXvfb::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    if (::access("/usr/bin/xdotool", X_OK) != 0)
        GTEST_SKIP() << "xdotool is not installed";
    const test::TempDir dir;
    const test::TempDir config;
    const test::ScopedXvfb server(SCREEN_W, SCREEN_H, 24, dir.Path());
    ASSERT_TRUE(server.Available()) << "Xvfb did not start";
    m_Display = server.Display();
    m_Child = test::SpawnProgram(fs::read_symlink("/proc/self/exe").string(),
                                 {"--gtest_also_run_disabled_tests",
                                  "--gtest_filter=OnlineWindowChild.DISABLED_PlaysInTheWindowUntilClosed"},
                                 {"DISPLAY=" + m_Display, std::string(CHILD_DIR_VARIABLE) + "=" + dir.Path(),
                                  "TESSEL_CONFIG_HOME=" + config.Path(), "SDL_AUDIODRIVER=dummy",
                                  // The system's display libraries keep allocations to the end; not ours to check.
                                  "ASAN_OPTIONS=detect_leaks=0"},
                                 {}, dir.File("child.log"));
    ASSERT_GT(m_Child, 0);

    std::string window;
    for (int i = 0; i < 300 && window.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        window = test::CaptureLine({"xdotool", "search", "--onlyvisible", "--name", "Varrow"},
                                   {"DISPLAY=" + m_Display}, dir);
    }
    ASSERT_FALSE(window.empty()) << "no window appeared";

    // Click where the child says, a person's pause apart, until the toss and a land were clicked and a few
    // hundred frames were drawn; bounded for a loaded machine. Each click moves and presses at once, as a quick
    // hand does: the first press on a card must take it.
    std::multiset<std::string> clicked;
    ChildState state;
    int lastClickFrame = -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(150);
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ASSERT_EQ(waitpid(m_Child, nullptr, WNOHANG), 0) << "the program ended early";
        state = ReadState(dir.File("state"));
        if (state.frame >= 300 && clicked.count("toss") != 0 && state.lands > 0)
            break;
        // Let the table take the last click before the next.
        if (state.frame < 0 || state.kind == "none" || state.frame < lastClickFrame + 20)
            continue;
        const std::string x = std::to_string(state.x);
        const std::string y = std::to_string(state.y);
        EXPECT_EQ(Xdo({"mousemove", "--window", window, x, y, "click", "1"}), 0);
        clicked.insert(state.kind);
        lastClickFrame = state.frame;
    }
    EXPECT_GE(state.frame, 300);
    EXPECT_GE(clicked.count("toss"), 1u);
    EXPECT_EQ(clicked.count("card"), 1u) << "a land took more than one click";
    EXPECT_GT(state.lands, 0) << "the clicked land never reached the table";

    // The window on the server's screen shows the table: far more colours than a menu's flat fill.
    const auto screen = ReadScreen(dir.File("Xvfb_screen0"));
    ASSERT_TRUE(screen.has_value()) << "the screen file is not readable";
    std::set<std::uint32_t> colours(screen->pixels.begin(), screen->pixels.end());
    EXPECT_GT(colours.size(), 200u);
    if (const char* keep = std::getenv("TESSEL_SAVE_FRAMES")) {
        plat::headless::Frame frame;
        frame.width = SCREEN_W;
        frame.height = SCREEN_H;
        for (const std::uint32_t rgb : screen->pixels)
            frame.pixels.push_back(static_cast<std::uint16_t>(((rgb >> 19) & 31) << 11 | ((rgb >> 10) & 63) << 5 |
                                                              ((rgb >> 3) & 31)));
        plat::headless::SaveFrameBmp(frame, std::string(keep) + "/online-window.bmp");
    }

    // A close request ends the program cleanly.
    kill(m_Child, SIGTERM);
    const int exitCode = test::WaitProgramExit(m_Child, 60);
    m_Child = -1;
    std::ifstream log(dir.File("child.log"));
    const std::string childLog((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_EQ(exitCode, 0) << childLog;
    EXPECT_EQ(childLog.find("ERROR: AddressSanitizer"), std::string::npos) << childLog;
    EXPECT_EQ(childLog.find("runtime error"), std::string::npos) << childLog;
    std::ifstream resultFile(dir.File("result"));
    int appExit = -1;
    int frames = 0;
    int tossSeen = 0;
    int tossEnded = 0;
    int tableShown = 0;
    int lands = 0;
    resultFile >> appExit >> frames >> tossSeen >> tossEnded >> tableShown >> lands;
    ASSERT_TRUE(resultFile) << childLog;
    EXPECT_EQ(appExit, 0);
    EXPECT_GE(frames, 300);
    EXPECT_TRUE(tossSeen && tossEnded && tableShown);
    EXPECT_GT(lands, 0);
}

} // namespace
