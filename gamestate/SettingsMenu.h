// The in-game settings menu's words. The open flag itself is the table selection's, which the flows read.
#pragma once

#include "gamestate/PhaseStops.h"

#include <array>

struct SettingsMenuState {
    // Set up on the first frame of a running game with the mode's stops.
    bool setUp = false;
    // The explanation box is up (or due) in front of the menu.
    bool explaining = false;
    // How many more openings show the explanation first.
    int explanationsLeft = 0;
    // Message id of the explanation box, -1 when none.
    int explanationBoxId = -1;
    // The box is placed only when it is first shown.
    bool placeExplanation = true;
    int x = 0;
    int y = 0;
    int panelTexture = 0;
    std::array<std::array<int, PHASE_STOP_STEPS>, PHASE_STOP_PLAYERS> markTextures{};
};

SettingsMenuState& GetSettingsMenu();

// The table reset: the next running game sets the menu up again, and its explanation is re-armed then.
void ResetSettingsMenu();
