// The program's loop for a benchmark: a shipped data set to run in, and a body run inside the loop.
//
// A settings store and a runtime folder of the benchmark's own, and a copy of the build's data set (loading cards
// writes beside them), made once per process and removed at its end.
#pragma once

#include "app/MainLoop.h"
#include "engine/core/RegistrySettings.h"
#include "engine/raster/Raster.h"
#include "platform/Headless.h"
#include "platform/Platform.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <utility>

namespace bench {

struct TempRoot {
    std::filesystem::path path;
    ~TempRoot()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

// False when the build has not laid out the data set.
inline bool PrepareShippedGame(const std::string& name)
{
    namespace fs = std::filesystem;
    static bool s_ready = false;
    static bool s_done = false;
    if (s_done)
        return s_ready;
    s_done = true;
    static const TempRoot s_root{fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()))};
    const fs::path& root = s_root.path;
    fs::create_directories(root / "config");
    fs::create_directories(root / "runtime");
    ::setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
    plat::Init(plat::BackendKind::Headless);
    plat::SetConfigFolder((root / "config").string());
    const fs::path built = fs::path(plat::ExecutableFolder()) / ".." / "game";
    if (!fs::exists(built / "data_en" / "cards_phys_u.cfg"))
        return false;
    std::error_code error;
    fs::copy(built, root / "game", fs::copy_options::recursive, error);
    if (error)
        return false;
    plat::SetCurrentFolder((root / "game").string());
    s_ready = true;
    return true;
}

// The screen the benchmarks' window is maximised on, as in the frame-loop tests: the client is the whole screen;
// the back buffer keeps the size of the desktop's display mode.
constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 600;

// After each reset of the headless backend, before the program starts. The settings written first take their
// screen-relative defaults from this screen.
inline void UseMaximisedScreen(int width = SCREEN_WIDTH, int height = SCREEN_HEIGHT)
{
    plat::headless::SetScreenMetrics({width, height, width, height});
    // The first use writes the defaults, taken from this screen; winmax then holds for this run.
    GetRegistrySettings()->SetInt(u"winmax", 1);
    DeleteRegistrySettings();
}

// The sizes a run draws at, as the benchmarks print them: "client 800x600, back buffer 1024x768".
inline std::string DrawnSizes()
{
    int width = 0;
    int height = 0;
    plat::GetClientSize(width, height);
    const Raster* const raster = GetRaster();
    return "client " + std::to_string(width) + "x" + std::to_string(height) + ", back buffer " +
           std::to_string(raster != nullptr ? raster->GetWidth() : 0) + "x" +
           std::to_string(raster != nullptr ? raster->GetHeight() : 0);
}

// Runs its body once at the loop's first pass, then asks the program to quit.
class CallbackDriver final : public MainLoopDriver {
public:
    std::function<void()> body;
    void BeforePass(int) override
    {
        if (!body)
            return;
        const std::function<void()> run = std::move(body);
        body = nullptr;
        run();
        plat::Event quit;
        quit.type = plat::EventType::Quit;
        plat::PostEvent(quit);
    }
    void AfterTick(int) override {}
    bool Wait() override { return false; }
};

// Runs loop passes until one ticks a frame; false when none did.
inline bool TickOnce()
{
    for (int i = 0; i < 100; ++i) {
        if (MainLoopPass() == LoopPass::Ticked)
            return true;
    }
    return false;
}

} // namespace bench
