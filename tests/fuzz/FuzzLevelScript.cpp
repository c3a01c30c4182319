// libFuzzer target over the level-script runner: the input is written as a level script into a temporary folder
// and run with both sections, commands included. Each run enters that folder, so the commands' files resolve (and
// the cards they load write) there, and leaves it again: corpus folders named relative to where the target was
// started are read and written there, and its findings are written there too.
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
#include <string_view>
#include <vector>

namespace {

std::filesystem::path s_Folder;
std::filesystem::path s_StartFolder;
std::string s_ArtifactPrefix;
std::vector<char*> s_Arguments;

// A finding is written while the run is inside the temporary folder: unless told otherwise, it goes where the
// target was started.
void WriteFindingsWhereStarted(int* argc, char*** argv)
{
    for (int i = 1; i < *argc; ++i) {
        const std::string_view argument = (*argv)[i];
        if (argument.starts_with("-artifact_prefix=") || argument.starts_with("-exact_artifact_path="))
            return;
    }
    s_ArtifactPrefix = "-artifact_prefix=" + s_StartFolder.string() + "/";
    s_Arguments.assign(*argv, *argv + *argc);
    s_Arguments.insert(s_Arguments.begin() + 1, s_ArtifactPrefix.data());
    s_Arguments.push_back(nullptr);
    *argc += 1;
    *argv = s_Arguments.data();
}

void RemoveFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(s_Folder, ignored);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    plat::Init(plat::BackendKind::Headless);
    plat::SetLogSink([](std::string_view) {});
    BindGameToEngine();
    std::random_device random;
    s_Folder = std::filesystem::temp_directory_path() / ("tessel-fuzz-script-" + std::to_string(random()));
    std::filesystem::create_directories(s_Folder);
    s_StartFolder = std::filesystem::current_path();
    WriteFindingsWhereStarted(argc, argv);
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
    std::filesystem::current_path(s_Folder);
    if (!plat::WriteFileAtomic(u"level.cfg", data, size)) {
        std::filesystem::current_path(s_StartFolder);
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
    std::filesystem::current_path(s_StartFolder);
    return 0;
}
