// The program's loop for a benchmark: a shipped data set to run in, and a body run inside the loop.
//
// A settings store and a runtime folder of the benchmark's own, and a copy of the build's data set (loading cards
// writes beside them), made once per process and removed at its end.
#pragma once

#include "app/MainLoop.h"
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
