// The quit request of the corner button: asked, then confirmed through the warning.
#pragma once

bool IsQuitPromptPending();
// Forgets a quit request and its warning (a No, leaving the game, a mode switch).
void ClearQuitPrompt();
