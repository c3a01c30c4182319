// The SDL2 window shows what the raster presents: under an Xvfb server of the test's own, a child run of this
// test program draws a test frame (text, a keyed texture, a triangle) into a real window, and the server's
// screen, read from its frame-buffer file, matches the frame the headless backend keeps for the same drawing.
#include "tests/TestSupport.h"
#include "tests/engine/raster/RasterTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

extern char** environ;

using namespace rastertest;
namespace fs = std::filesystem;

namespace {

constexpr const char* CHILD_DIR_VARIABLE = "TESSEL_RASTER_WINDOW_DIR";
constexpr int SCREEN_W = 1024;
constexpr int SCREEN_H = 768;
// The SDL2 window is never smaller than this.
constexpr int CLIENT_W = 800;
constexpr int CLIENT_H = 600;

// The frame both runs draw.
void DrawTestScene(Raster& raster, std::vector<std::uint16_t>& texels)
{
    raster.ClearBackBuffer(raster.MakeColor(20, 40, 90, 255));
    texels.assign(16 * 16, 0);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool ring = (x - 8) * (x - 8) + (y - 8) * (y - 8) < 49;
            texels[y * 16 + x] = ring ? static_cast<std::uint16_t>(0x7C00 | (x << 5) | y) : 0;
        }
    }
    const int tex = raster.CreateTexture(16, 16, texels.data(), 16, TEXTURE_KIND_SURFACE);
    raster.BeginFrame();
    raster.DrawTextureEx(tex, 40, 40, 200, 200, 500.0f, PRIM_COLOR_KEY);
    TriangleVertices t;
    t.x0 = 300.5f;
    t.y0 = 60.25f;
    t.x1 = 700.75f;
    t.y1 = 150.5f;
    t.x2 = 420.25f;
    t.y2 = 520.5f;
    t.z0 = t.z1 = t.z2 = 100.0f;
    t.r0 = t.r1 = t.r2 = 0.9f;
    t.g0 = t.g1 = t.g2 = 0.6f;
    t.b0 = t.b1 = t.b2 = 0.1f;
    raster.DrawTriangle(t);
    raster.DrawText(u"Frames match: the window shows the back buffer.", RasterRect{40, 240, 760, 400}, 1, 8,
                    0xFFFFFF, true);
    raster.DrawTextAt(u"Keyed texture, triangle and text", 40, 560, 4, 0x00FFFF);
    raster.Invalidate();
    raster.EndFrame();
}

// A child process, killed if it is still running when the object dies.
class Child {
public:
    Child(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv, const std::string& log)
    {
        std::vector<std::string> all = args;
        std::vector<char*> argv;
        for (std::string& arg : all) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        std::vector<std::string> env = extraEnv;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            if (text.rfind("DISPLAY=", 0) != 0 && text.rfind("TESSEL_CONFIG_HOME=", 0) != 0 &&
                text.rfind("ASAN_OPTIONS=", 0) != 0) {
                env.push_back(text);
            }
        }
        std::vector<char*> envp;
        for (std::string& entry : env) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (posix_spawn(&m_pid, all[0].c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }

    ~Child()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return m_pid > 0; }

    // The exit code, -1 when it did not end in time (it is killed then).
    int Wait(int seconds)
    {
        for (int i = 0; i < seconds * 20 && m_pid > 0; ++i) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }

private:
    pid_t m_pid = -1;
};

// The server's screen from its XWD frame-buffer file, as 0x00RRGGBB pixels.
std::optional<std::vector<std::uint32_t>> ReadScreen(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto be32 = [&](std::size_t field) {
        const std::size_t at = field * 4;
        return static_cast<std::uint32_t>((bytes[at] << 24) | (bytes[at + 1] << 16) | (bytes[at + 2] << 8) |
                                          bytes[at + 3]);
    };
    if (bytes.size() < 100) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = be32(0);
    const std::uint32_t width = be32(4);
    const std::uint32_t height = be32(5);
    const std::uint32_t byteOrder = be32(7);
    const std::uint32_t bitsPerPixel = be32(11);
    const std::uint32_t bytesPerLine = be32(12);
    const std::uint32_t colours = be32(19);
    const std::size_t offset = headerSize + static_cast<std::size_t>(colours) * 12;
    if (width != SCREEN_W || height != SCREEN_H || bitsPerPixel != 32 ||
        offset + static_cast<std::size_t>(bytesPerLine) * height > bytes.size()) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t* p = &bytes[offset + static_cast<std::size_t>(y) * bytesPerLine + x * 4];
            pixels[y * width + x] = byteOrder == 0 ? (p[2] << 16) | (p[1] << 8) | p[0]
                                                   : (p[1] << 16) | (p[2] << 8) | p[3];
        }
    }
    return pixels;
}

std::uint16_t To565(std::uint32_t rgb)
{
    return static_cast<std::uint16_t>((((rgb >> 19) & 31) << 11) | (((rgb >> 10) & 63) << 5) | ((rgb >> 3) & 31));
}

// Where the frame lies on the screen (its top-left corner), or nullopt.
std::optional<std::pair<int, int>> FindFrame(const std::vector<std::uint32_t>& screen,
                                             const plat::headless::Frame& frame)
{
    for (int oy = 0; oy + frame.height <= SCREEN_H; ++oy) {
        for (int ox = 0; ox + frame.width <= SCREEN_W; ++ox) {
            bool match = true;
            for (int x = 0; x < frame.width && match; x += 7) {
                match = To565(screen[oy * SCREEN_W + ox + x]) == frame.pixels[x];
            }
            if (match) {
                return std::make_pair(ox, oy);
            }
        }
    }
    return std::nullopt;
}

TEST(RasterWindow, SdlWindowShowsTheHeadlessFrameUnderXvfb)
{
    if (!test::ScopedXvfb::Installed()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    const test::TempDir dir;
    const test::ScopedXvfb server(SCREEN_W, SCREEN_H, 24, dir.Path());
    ASSERT_TRUE(server.Available()) << "Xvfb did not start";

    // The headless frame.
    auto raster = StartRaster(Mode565(SCREEN_W, SCREEN_H));
    plat::WindowDesc desc;
    desc.width = CLIENT_W;
    desc.height = CLIENT_H;
    plat::CreateMainWindow(desc);
    std::vector<std::uint16_t> texels;
    DrawTestScene(*raster, texels);
    raster->Present(false);
    const plat::headless::Frame frame = plat::headless::LastFrame();
    ASSERT_EQ(frame.width, CLIENT_W);
    ASSERT_EQ(frame.height, CLIENT_H);
    // Background, texture, triangle and two text colours at least: a match says something.
    std::vector<std::uint16_t> colours = frame.pixels;
    std::sort(colours.begin(), colours.end());
    EXPECT_GT(std::unique(colours.begin(), colours.end()) - colours.begin(), 8);

    const test::TempDir config;
    Child child({fs::read_symlink("/proc/self/exe").string(), "--gtest_also_run_disabled_tests",
                 "--gtest_filter=RasterWindowChild.DISABLED_ShowsTheTestFrame"},
                {"DISPLAY=" + server.Display(), std::string(CHILD_DIR_VARIABLE) + "=" + dir.Path(),
                 "TESSEL_CONFIG_HOME=" + config.Path(), "SDL_AUDIODRIVER=dummy",
                 // The system's display libraries keep allocations to the end; they are not ours to check.
                 "ASAN_OPTIONS=detect_leaks=0"},
                dir.File("child.log"));
    ASSERT_TRUE(child.Started());

    // Wait for the child to show its frame, then until the screen holds it.
    bool matched = false;
    std::string failure = "the child never showed its frame";
    for (int attempt = 0; attempt < 200 && !matched; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!fs::exists(dir.File("ready"))) {
            continue;
        }
        const auto screen = ReadScreen(dir.File("Xvfb_screen0"));
        if (!screen) {
            failure = "the screen file is not readable";
            continue;
        }
        const auto origin = FindFrame(*screen, frame);
        if (!origin) {
            failure = "the frame's first row is not on the screen";
            continue;
        }
        int mismatches = 0;
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                const std::uint32_t rgb = (*screen)[(origin->second + y) * SCREEN_W + origin->first + x];
                mismatches += To565(rgb) != frame.pixels[static_cast<std::size_t>(y) * frame.width + x] ? 1 : 0;
            }
        }
        matched = mismatches == 0;
        failure = std::to_string(mismatches) + " pixels differ";
    }
    std::ofstream(dir.File("done")) << "done";
    EXPECT_TRUE(matched) << failure;
    const int exitCode = child.Wait(30);
    std::ifstream log(dir.File("child.log"));
    EXPECT_EQ(exitCode, 0) << std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
}

// Run only as the child of the test above: shows the test frame in an SDL2 window until told to stop.
TEST(RasterWindowChild, DISABLED_ShowsTheTestFrame)
{
    const char* folder = std::getenv(CHILD_DIR_VARIABLE);
    ASSERT_NE(folder, nullptr);
    const std::string dir = folder;
    ASSERT_TRUE(plat::Init(plat::BackendKind::Sdl));
    plat::WindowDesc desc;
    desc.title = u"Raster window test";
    desc.width = CLIENT_W;
    desc.height = CLIENT_H;
    desc.resizable = false;
    ASSERT_TRUE(plat::CreateMainWindow(desc));
    Raster raster;
    ASSERT_EQ(raster.Init(CLIENT_W, CLIENT_H, 1024.0f, 768.0f, u"", 20000.0f, 0, false), 1);
    raster.SetActive(true);
    std::vector<std::uint16_t> texels;
    DrawTestScene(raster, texels);
    int width = 0;
    int height = 0;
    plat::GetClientSize(width, height);
    EXPECT_EQ(width, CLIENT_W);
    EXPECT_EQ(height, CLIENT_H);
    for (int i = 0; i < 400 && !fs::exists(dir + "/done"); ++i) {
        plat::Event event;
        while (plat::PollEvent(event)) {
        }
        raster.Invalidate();
        raster.Present(false);
        if (i == 5) {
            std::ofstream(dir + "/ready") << "ready";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    raster.Shutdown();
    plat::DestroyMainWindow();
    plat::Shutdown();
}

} // namespace
