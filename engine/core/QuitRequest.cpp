#include "engine/core/QuitRequest.h"

namespace {

bool s_bQuitRequested = false;
int s_QuitExitCode = 0;

} // namespace

void PostQuitMessage(int exitCode)
{
    s_bQuitRequested = true;
    s_QuitExitCode = exitCode;
}

bool IsQuitRequested()
{
    return s_bQuitRequested;
}

int QuitExitCode()
{
    return s_QuitExitCode;
}

void ClearQuitRequest()
{
    s_bQuitRequested = false;
    s_QuitExitCode = 0;
}
