#include "platform/Backend.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"
#include "tests/engine/sound/WaveFixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <thread>

namespace {

namespace hl = plat::headless;

TEST(Headless, MessageBoxesAreRecordedAndAnsweredInOrder)
{
    hl::QueueMessageBoxAnswer(plat::IDCANCEL);
    EXPECT_EQ(plat::MessageBox(u"first", u"Caption", plat::MB_OKCANCEL), plat::IDCANCEL);
    EXPECT_EQ(plat::MessageBox(u"second", u"Caption", plat::MB_OKCANCEL), plat::IDOK);
    EXPECT_EQ(plat::MessageBox(u"third", u"Caption", plat::MB_YESNO), plat::IDYES);
    ASSERT_EQ(hl::MessageBoxes().size(), 3u);
    EXPECT_EQ(hl::MessageBoxes()[0].text, u"first");
    EXPECT_EQ(hl::MessageBoxes()[1].caption, u"Caption");
    EXPECT_EQ(hl::MessageBoxes()[2].flags, plat::MB_YESNO);
}

TEST(Headless, ChildProgramsAreScriptedOrFollowTheFiles)
{
    const test::TempDir dir;
    dir.Write("content_en/movie.exe", "x");
    const test::ScopedCurrentFolder here(dir.Path());
    hl::QueueSpawnResult(3);
    EXPECT_EQ(plat::SpawnAndWait(u"content_en\\missing.exe", {u"tessel.exe"}), 3);
    EXPECT_EQ(plat::SpawnAndWait(u"content_en\\movie.exe", {}), 0);
    EXPECT_EQ(plat::SpawnAndWait(u"content_en\\missing.exe", {}), -1);
    EXPECT_FALSE(plat::ShellOpen(u"C:\\nowhere\\varrow.exe"));
    ASSERT_EQ(hl::Spawns().size(), 4u);
    EXPECT_EQ(hl::Spawns()[0].args, std::vector<std::u16string>{u"tessel.exe"});
    EXPECT_TRUE(hl::Spawns()[0].wait);
    EXPECT_FALSE(hl::Spawns()[3].wait);
}

// The shipped program's assertions log each place once and let the function return its failure value.
int CheckedDivide(int a, int b)
{
    TESSEL_ASSERT(b != 0);
    if (b == 0)
        return -1;
    return a / b;
}

TEST(Assertions, TheShippedProgramLogsOnceAndCarriesOn)
{
    const plat::AssertHandler tests = plat::SetAssertHandler(nullptr);
    const test::ScopedLog log;
    EXPECT_EQ(CheckedDivide(6, 0), -1);
    EXPECT_EQ(CheckedDivide(6, 0), -1);
    EXPECT_EQ(CheckedDivide(6, 3), 2);
    plat::SetAssertHandler(tests);
    EXPECT_EQ(log.Count("Assertion failed: b != 0"), 1) << log.Text();
    EXPECT_NE(log.Text().find("HeadlessTest.cpp("), std::string::npos) << log.Text();
}

// The real backend's clock counts from the system's monotonic origin, so a seed taken from it at start-up is not
// one of the few values of a clock that starts with the program.
TEST(SdlBackend, TheClockIsTheSystemsMonotonicClock)
{
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(plat::Init(plat::BackendKind::Sdl));
    const std::uint32_t clock = plat::TimeGetTime();
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    plat::Init(plat::BackendKind::Headless);
    const std::uint64_t system =
        static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    EXPECT_LE(static_cast<std::uint32_t>(system) - clock, 1000u) << clock << " against " << system;
}

TEST(Headless, ClockSystemFactsAndEvents)
{
    EXPECT_EQ(plat::TimeGetTime(), 0u);
    hl::AdvanceTime(16);
    plat::SleepMs(4);
    EXPECT_EQ(plat::TimeGetTime(), 20u);
    // The time of day follows the stepped clock, so a replayed run shows the same times.
    hl::SetTime((26u * 3600u + 2u * 60u + 3u) * 1000u + 999u);
    int hours = -1, minutes = -1, seconds = -1;
    plat::GetLocalClock(hours, minutes, seconds);
    EXPECT_EQ(hours * 10000 + minutes * 100 + seconds, 20203);
    hl::SetTime(20);

    hl::SetDesktopMode({640, 480, 32, 75, 0xFF0000, 0xFF00, 0xFF});
    hl::SetDisplayModes({{800, 600, 16, 60, 0xF800, 0x7E0, 0x1F}});
    plat::DisplayMode mode;
    ASSERT_TRUE(plat::GetDesktopMode(mode));
    EXPECT_EQ(mode.bitsPerPixel, 32);
    ASSERT_TRUE(plat::EnumDisplayMode(0, mode));
    EXPECT_EQ(mode.width, 800);
    EXPECT_FALSE(plat::EnumDisplayMode(1, mode));
    EXPECT_FALSE(plat::EnumDisplayMode(-1, mode));
    EXPECT_TRUE(plat::ChangeDisplayMode(mode));
    EXPECT_EQ(hl::ModeChanges().size(), 1u);

    plat::Event move;
    move.type = plat::EventType::MouseMove;
    move.x = -5;
    move.y = 40;
    hl::QueueEvent(move);
    plat::Event event;
    ASSERT_TRUE(plat::PollEvent(event));
    EXPECT_EQ(event.type, plat::EventType::MouseMove);
    int x = 0;
    int y = 0;
    plat::GetCursorPos(x, y);
    EXPECT_EQ(x, -5);
    EXPECT_EQ(y, 40);
    EXPECT_FALSE(plat::PollEvent(event));
}

TEST(Headless, PresentedFrameIsKeptAndSavable)
{
    // Rows carry padding: only the visible width is kept.
    const std::uint16_t pixels[] = {0xF800, 0x07E0, 0xBEEF, 0x001F, 0xFFFF, 0xBEEF};
    plat::PresentFrame(pixels, 2, 2, 6, plat::PixelFormat::Rgb565);
    const hl::Frame& frame = hl::LastFrame();
    ASSERT_EQ(frame.width, 2);
    EXPECT_EQ(frame.pixels, (std::vector<std::uint16_t>{0xF800, 0x07E0, 0x001F, 0xFFFF}));
    EXPECT_EQ(frame.serial, 1u);

    const test::TempDir dir;
    ASSERT_TRUE(hl::SaveFrameBmp(frame, dir.File("frame.bmp")));
    std::vector<std::uint8_t> bmp;
    ASSERT_TRUE(plat::ReadFileBytes(plat::FromUtf8(dir.File("frame.bmp")), bmp));
    ASSERT_EQ(bmp.size(), 54u + 2 * 8);
    // Bottom-up rows of blue, green, red: the top-left red pixel lands in the second stored row.
    EXPECT_EQ(bmp[54 + 8 + 0], 0);
    EXPECT_EQ(bmp[54 + 8 + 2], 255);
    EXPECT_EQ(bmp[54 + 0], 255);  // bottom-left is blue
}

// The clip record is a test's: a program that plays clips for hours keeps none.
TEST(Headless, StartedClipsAreKeptOnlyWhenATestAsks)
{
    const std::vector<std::uint8_t> clip = test::ConstantWave({}, 1000, 10);
    ASSERT_TRUE(plat::AudioPlayClip(clip.data(), clip.size()));
    plat::AudioStopClip();
    EXPECT_TRUE(hl::StartedClips().empty());
    hl::RecordStartedClips();
    ASSERT_TRUE(plat::AudioPlayClip(clip.data(), clip.size()));
    EXPECT_EQ(hl::StartedClips(), std::vector<std::size_t>{clip.size()});
}

TEST(Processes, RealSpawnReportsExitCodesAndFailures)
{
    EXPECT_EQ(plat::SpawnProcessAndWait("/bin/sh", {"-c", "exit 3"}), 3);
    EXPECT_EQ(plat::SpawnProcessAndWait("/no/such/program", {}), -1);
    EXPECT_TRUE(plat::SpawnProcessDetached("/bin/true", {}));
    EXPECT_FALSE(plat::SpawnProcessDetached("/no/such/program", {}));
}

TEST(Processes, LocaleNames)
{
    struct Case {
        const char* locale;
        std::u16string_view name;
    };
    const Case cases[] = {{"fr_FR.UTF-8", u"French"}, {"pt_BR.UTF-8", u"Portuguese (Brazil)"},
                          {"zh_TW.UTF-8", u"Chinese (Traditional)"}, {"de", u"German"},
                          {"C", u"English"}, {"POSIX", u"English"}};
    for (const Case& c : cases)
        EXPECT_EQ(plat::LanguageNameFromLocale(c.locale), c.name) << c.locale;
    // The code page a system of the locale's language would use.
    const std::pair<const char*, int> pages[] = {{"en_GB.UTF-8", 1252}, {"fr_FR", 1252}, {"ru_RU.UTF-8", 1251},
                                                 {"zh_CN.UTF-8", 936}, {"zh_TW.UTF-8", 950}, {"ko_KR", 949},
                                                 {"C", 1252}};
    for (const auto& [locale, page] : pages)
        EXPECT_EQ(plat::AnsiCodePageFromLocale(locale), page) << locale;
}

TEST(Processes, DetachedStartsTakeTheirWorkingFolder)
{
    const test::TempDir dir;
    ASSERT_TRUE(plat::SpawnProcessDetached("/bin/sh", {"-c", "pwd > where.txt"}, dir.Path()));
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 100 && bytes.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        plat::ReadFileBytes(plat::FromUtf8(dir.File("where.txt")), bytes);
    }
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), dir.Path() + "\n");
}

TEST(InstanceLock, SecondHolderIsRefused)
{
    const test::TempDir dir;
    const char* old = getenv("XDG_RUNTIME_DIR");
    const std::string previous = old != nullptr ? old : "";
    setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    ASSERT_TRUE(plat::AcquireInstanceLock("tessel-test"));
    EXPECT_FALSE(plat::TakeRaiseRequest());

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        plat::ReleaseInstanceLock();  // the child's copy of the descriptor must not count as its own lock
        const bool got = plat::AcquireInstanceLock("tessel-test");
        if (!got)
            plat::RequestRaiseRunningInstance("tessel-test");
        _exit(got ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(plat::TakeRaiseRequest());
    EXPECT_FALSE(plat::TakeRaiseRequest());
    plat::ReleaseInstanceLock();
    if (previous.empty())
        unsetenv("XDG_RUNTIME_DIR");
    else
        setenv("XDG_RUNTIME_DIR", previous.c_str(), 1);
}

} // namespace
