// The program's entry: picks the backend, finds the install folder and runs the application; headless, it can
// run a number of frames or an event script with a fixed seed and a stepped clock.
#include "app/Application.h"
#include "app/ScriptedRun.h"
#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t DEFAULT_HEADLESS_SEED = 1;

struct Options {
    bool headless = false;
    long frames = -1;  // headless without a script: 1
    std::string installFolder;
    std::string scriptPath;
    std::optional<std::uint32_t> seed;
    std::uint32_t frameMs = DEFAULT_SCRIPT_FRAME_MS;
    bool drawEveryFrame = false;
};

void PrintUsage()
{
    std::fprintf(stderr,
                 "usage: Tessel [--headless] [--frames N] [--install-dir FOLDER]\n"
                 "              [--script FILE] [--seed N] [--frame-ms N] [--draw-every-frame]\n"
                 "  --headless           run without a window (for tests)\n"
                 "  --frames N           headless: frames to run before exiting (default 1; with a script,\n"
                 "                       up to the frame of its last action)\n"
                 "  --install-dir FOLDER the folder holding the data (default: the program's own folder)\n"
                 "  --script FILE        headless: input events by frame, frames to save (see README)\n"
                 "  --seed N             headless: the random seed (default 1)\n"
                 "  --frame-ms N         headless: milliseconds the clock advances per frame (default 16)\n"
                 "  --draw-every-frame   headless: draw and present every frame, not only those after an expose\n");
}

bool ParseCount(const char* text, unsigned long long limit, unsigned long long& out)
{
    char* end = nullptr;
    if (*text == '\0' || *text == '-')
        return false;
    out = std::strtoull(text, &end, 10);
    return *end == '\0' && out <= limit;
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        unsigned long long value = 0;
        if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--frames" && hasValue) {
            if (!ParseCount(argv[++i], 0x7FFFFFFF, value)) {
                std::fprintf(stderr, "Tessel: --frames needs a count of 0 or more, not '%s'\n", argv[i]);
                return false;
            }
            options.frames = static_cast<long>(value);
        } else if (arg == "--draw-every-frame") {
            options.drawEveryFrame = true;
        } else if (arg == "--install-dir" && hasValue) {
            options.installFolder = argv[++i];
        } else if (arg == "--script" && hasValue) {
            options.scriptPath = argv[++i];
        } else if (arg == "--seed" && hasValue) {
            if (!ParseCount(argv[++i], 0xFFFFFFFF, value)) {
                std::fprintf(stderr, "Tessel: --seed needs a number from 0 to 4294967295, not '%s'\n", argv[i]);
                return false;
            }
            options.seed = static_cast<std::uint32_t>(value);
        } else if (arg == "--frame-ms" && hasValue) {
            if (!ParseCount(argv[++i], 60000, value)) {
                std::fprintf(stderr, "Tessel: --frame-ms needs 0 to 60000, not '%s'\n", argv[i]);
                return false;
            }
            options.frameMs = static_cast<std::uint32_t>(value);
        } else {
            std::fprintf(stderr, "Tessel: unknown or incomplete option '%s'\n", arg.c_str());
            return false;
        }
    }
    if (!options.headless && !options.scriptPath.empty()) {
        std::fprintf(stderr, "Tessel: --script needs --headless\n");
        return false;
    }
    if (!options.headless && options.drawEveryFrame) {
        std::fprintf(stderr, "Tessel: --draw-every-frame needs --headless\n");
        return false;
    }
    return true;
}

// The script, read before the program enters its install folder; relative save paths stay where it started.
bool LoadScript(const Options& options, EventScript& script)
{
    if (options.scriptPath.empty())
        return true;
    std::vector<std::uint8_t> bytes;
    if (!plat::ReadFileBytes(plat::FromUtf8(options.scriptPath), bytes)) {
        std::fprintf(stderr, "Tessel: cannot read the script '%s'\n", options.scriptPath.c_str());
        return false;
    }
    std::string error;
    const std::string text(bytes.begin(), bytes.end());
    if (!ParseEventScript(text, plat::GetCurrentFolder(), script, error)) {
        std::fprintf(stderr, "Tessel: %s: %s\n", options.scriptPath.c_str(), error.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        PrintUsage();
        return 2;
    }
    EventScript script;
    if (!LoadScript(options, script)) {
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

    ApplicationOptions app;
    std::unique_ptr<MainLoopDriver> driver;
    if (options.headless) {
        // Without a limit a script ends after the frame of its last action.
        const long frames = options.frames >= 0        ? options.frames
                            : script.actions.empty() ? 1
                                                     : static_cast<long>(script.actions.back().frame) + 1;
        driver = std::make_unique<ScriptedRun>(std::move(script), frames, options.frameMs, options.drawEveryFrame);
        app.seed = options.seed.value_or(DEFAULT_HEADLESS_SEED);
        app.singleInstance = false;
    } else {
        driver = std::make_unique<RealTimePacing>();
    }
    app.driver = driver.get();
    int exitCode = RunApplication(app);
    // A headless run is judged by a script or a test: one that never started, or did not write a frame it was
    // asked to save (the save failed, or the run ended before its frame), failed.
    if (options.headless && exitCode == 0) {
        const auto* run = static_cast<const ScriptedRun*>(driver.get());
        if (StartupRefusedTheRun() || run->SavesNotWritten() > 0) {
            if (run->SavesNotWritten() > 0)
                std::fprintf(stderr, "Tessel: %d frame(s) the script asked to save were not written\n",
                             run->SavesNotWritten());
            exitCode = 1;
        }
    }
    plat::Shutdown();
    return exitCode;
}
