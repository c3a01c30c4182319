// The program's entry: picks the backend, finds the install folder, reads the settings, opens the window and
// runs until it is closed (headless: for the frames asked), then saves the settings.
#include "engine/QuitRequest.h"
#include "engine/RegistrySettings.h"
#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Options {
    bool headless = false;
    long frames = 1;
    std::string installFolder;
};

void PrintUsage()
{
    std::fprintf(stderr,
                 "usage: Tessel [--headless] [--frames N] [--install-dir FOLDER]\n"
                 "  --headless           run without a window (for tests)\n"
                 "  --frames N           headless: frames to run before exiting (default 1)\n"
                 "  --install-dir FOLDER the folder holding the data (default: the program's own folder)\n");
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--frames" && hasValue) {
            char* end = nullptr;
            options.frames = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || options.frames < 0) {
                std::fprintf(stderr, "Tessel: --frames needs a count of 0 or more, not '%s'\n", argv[i]);
                return false;
            }
        } else if (arg == "--install-dir" && hasValue) {
            options.installFolder = argv[++i];
        } else {
            std::fprintf(stderr, "Tessel: unknown or incomplete option '%s'\n", arg.c_str());
            return false;
        }
    }
    return true;
}

int ReadSetting(const char16_t* name)
{
    return GetRegistrySettings()->GetInt(name);
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        PrintUsage();
        return 2;
    }
    const std::string installFolder =
        options.installFolder.empty() ? plat::ExecutableFolder() : options.installFolder;
    if (!plat::SetCurrentFolder(installFolder)) {
        std::fprintf(stderr, "Tessel: cannot enter the install folder '%s'\n", installFolder.c_str());
        return 1;
    }
    if (!plat::Init(options.headless ? plat::BackendKind::Headless : plat::BackendKind::Sdl)) {
        std::fprintf(stderr, "Tessel: no display could be opened; use --headless to run without one\n");
        return 1;
    }

    plat::WindowDesc window;
    window.title = u"Learn to Play the Varrow Game";
    window.x = ReadSetting(u"winx1");
    window.y = ReadSetting(u"winy1");
    window.width = ReadSetting(u"winx2") - window.x;
    window.height = ReadSetting(u"winy2") - window.y;
    if (window.width < 800 || window.height < 600) {
        window.width = 800;
        window.height = 600;
    }
    if (!plat::CreateMainWindow(window)) {
        plat::Shutdown();
        return 1;
    }

    std::vector<std::uint16_t> frame(static_cast<std::size_t>(800) * 600, 0);
    long framesRun = 0;
    while (!IsQuitRequested()) {
        plat::Event event;
        while (plat::PollEvent(event)) {
            if (event.type == plat::EventType::Quit)
                PostQuitMessage(0);
        }
        if (options.headless && framesRun >= options.frames)
            PostQuitMessage(0);
        if (IsQuitRequested())
            break;
        plat::PresentFrame(frame.data(), 800, 600, 800 * 2, plat::PixelFormat::Rgb565);
        ++framesRun;
        plat::SleepMs(16);
    }

    const plat::Rect rect = plat::GetWindowRect();
    if (rect.right > rect.left) {
        RegistrySettings* settings = GetRegistrySettings();
        settings->SetInt(u"playmovies", 0);
        settings->SetInt(u"winx1", rect.left);
        settings->SetInt(u"winy1", rect.top);
        settings->SetInt(u"winx2", rect.right);
        settings->SetInt(u"winy2", rect.bottom);
    }
    DeleteRegistrySettings();
    plat::Shutdown();
    return QuitExitCode();
}
