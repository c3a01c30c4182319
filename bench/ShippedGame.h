// A settings store and a runtime folder of the benchmark's own, and a copy of the build's data set (loading cards
// writes beside them), made once per process and removed at its end.
#pragma once

#include "platform/Platform.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

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

} // namespace bench
