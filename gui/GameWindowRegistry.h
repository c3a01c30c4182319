// The game windows that are shown: what the display's registry asks of the game, and the quit prompt's flags.
#pragma once

class GUI_Window;

// What the window registry asks of the intro and the table; app/ fills it at start-up, and an entry left null
// answers false or does nothing.
struct GameWindowActions {
    bool (*IsIntroFinished)() = nullptr;
    bool (*IsGraveyardDialogOpen)(int player) = nullptr;
    void (*CloseGraveyardDialog)(int player) = nullptr;
};
void SetGameWindowActions(const GameWindowActions& actions);

// The quit warning is on screen; the player answered it with Yes.
bool IsQuitPromptOpen();
bool IsQuitConfirmed();
