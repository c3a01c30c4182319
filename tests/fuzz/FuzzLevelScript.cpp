// libFuzzer target over the level-script runner: the input is written as a level script into a temporary folder
// (the current folder, so the commands' files resolve there) and run with both sections, commands included.
#include "app/GameWiring.h"
#include "engine/core/PrivateHeap.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

std::filesystem::path s_Folder;

void RemoveFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(s_Folder, ignored);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    plat::Init(plat::BackendKind::Headless);
    plat::SetLogSink([](std::string_view) {});
    BindGameToEngine();
    std::random_device random;
    s_Folder = std::filesystem::temp_directory_path() / ("tessel-fuzz-script-" + std::to_string(random()));
    std::filesystem::create_directories(s_Folder);
    std::filesystem::current_path(s_Folder);
    std::atexit(&RemoveFolder);
    plat::WindowDesc desc;
    desc.width = 64;
    desc.height = 48;
    plat::CreateMainWindow(desc);
    CreatePrivateHeap();
    GetGameDisplay()->InitDisplay(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!plat::WriteFileAtomic(u"level.cfg", data, size)) {
        return 0;
    }
    ResetPrivateHeap();
    GetGameDisplay()->ReleaseAll();
    GetGameDisplay()->InitDisplay(false);
    InitScriptCommands();
    SetScriptSections(true, true);
    RunLevelScript(u"level.cfg");
    // A script may name itself as an image, sprite pack or font.
    RunScriptFile(u"loadsprite a level.cfg 1 loadramtexture b level.cfg loadchop c level.cfg loadbmp d level.cfg "
                  u"loadfont level.cfg 300 loadgamefont level.cfg 300 loadbackground level.cfg level.cfg");
    DestroyAllActors();
    PurgeRemovedActors();
    return 0;
}
