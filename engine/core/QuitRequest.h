// The program's request to end its main loop, with the exit code the program returns.
#pragma once

// Asks the main loop to end; a later request replaces the exit code.
void PostQuitMessage(int exitCode);
bool IsQuitRequested();
// The code of the last request; 0 when none was made.
int QuitExitCode();
void ClearQuitRequest();
