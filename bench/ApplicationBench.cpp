// The program's start-up up to its first presented frame, and one frame tick of the menus' empty scene, both on
// the headless backend with the build's data set (or a small one when the build has none).
#include "app/Application.h"
#include "app/MainLoop.h"
#include "platform/Headless.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

void WriteUtf16(const fs::path& path, const std::string& ascii)
{
    std::ofstream out(path, std::ios::binary);
    out.put(static_cast<char>(0xFF));
    out.put(static_cast<char>(0xFE));
    for (const char c : ascii) {
        out.put(c);
        out.put('\0');
    }
}

// Removed when the program ends.
struct TempRoot {
    fs::path path = fs::temp_directory_path() / ("tessel-bench-" + std::to_string(::getpid()));
    ~TempRoot()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

// An install folder, a settings store and a runtime folder of the benchmark's own.
void PrepareOnce()
{
    static bool s_done = false;
    if (s_done)
        return;
    s_done = true;
    static const TempRoot s_root;
    const fs::path& root = s_root.path;
    fs::create_directories(root / "game" / "data_en");
    fs::create_directories(root / "config");
    fs::create_directories(root / "runtime");
    WriteUtf16(root / "game" / "data_en" / "res_str_phys_u.txt", "PRE_APP_MESSAGE_0\r\nBench\r\nzzzz\r\n");
    WriteUtf16(root / "game" / "data_en" / "cards_phys_u.cfg", "");
    ::setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
    plat::Init(plat::BackendKind::Headless);
    plat::SetConfigFolder((root / "config").string());
    // The build's own install folder when it is there (the real data set), else the small one above.
    const fs::path built = fs::path(plat::ExecutableFolder()) / ".." / "game";
    const bool haveBuilt = fs::exists(built / "data_en" / "res_str_phys_u.txt");
    plat::SetCurrentFolder((haveBuilt ? built : root / "game").string());
}

class CallbackDriver final : public MainLoopDriver {
public:
    std::function<void(int)> before;
    std::function<void(int)> after;
    void BeforePass(int frame) override
    {
        if (before)
            before(frame);
    }
    void AfterTick(int frame) override
    {
        if (after)
            after(frame);
    }
    bool Wait() override { return false; }
};

void Quit()
{
    plat::Event quit;
    quit.type = plat::EventType::Quit;
    plat::PostEvent(quit);
}

void BM_StartupToFirstFrame(benchmark::State& state)
{
    PrepareOnce();
    for (auto _ : state) {
        plat::headless::Reset();
        CallbackDriver driver;
        const auto start = std::chrono::steady_clock::now();
        auto firstFrame = start;
        driver.after = [&firstFrame](int frame) {
            if (frame == 0) {
                firstFrame = std::chrono::steady_clock::now();
                Quit();
            }
        };
        ApplicationOptions options;
        options.driver = &driver;
        RunApplication(options);
        state.SetIterationTime(std::chrono::duration<double>(firstFrame - start).count());
    }
}
BENCHMARK(BM_StartupToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FrameTickEmptyScene(benchmark::State& state)
{
    PrepareOnce();
    plat::headless::Reset();
    CallbackDriver driver;
    bool done = false;
    driver.before = [&](int) {
        if (done)
            return;
        done = true;
        while (MainLoopPass() != LoopPass::Ticked) {
        }
        for (auto _ : state) {
            FrameTick();
        }
        Quit();
    };
    ApplicationOptions options;
    options.driver = &driver;
    RunApplication(options);
}
BENCHMARK(BM_FrameTickEmptyScene)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
