// Dorvane's entry: run from the disc folder (its current folder), on the SDL2 backend.
#include "launcher/Launcher.h"

#include <cstdio>

int main()
{
    if (!plat::Init(plat::BackendKind::Sdl)) {
        std::fprintf(stderr, "Dorvane: no display could be opened\n");
        return 1;
    }
    const int exitCode = RunLauncher();
    plat::Shutdown();
    return exitCode;
}
