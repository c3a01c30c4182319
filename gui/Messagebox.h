// The game's message box. Until the toolkit exists there is never a quit warning on screen.
#pragma once

#include "platform/Platform.h"

class Messagebox {
public:
    // True when the box took the input.
    bool HandleInput(const plat::Event& event);
};

// The quit-game warning while it is shown, else null.
Messagebox* GetQuitWarningBox();
// Opens the quit-game warning box.
void ShowQuitWarning();
