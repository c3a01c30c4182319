// The card-specific dialogs of one physical-lesson game, built once as the game is set up.
#pragma once

#include <array>

// One first-appearance box of the advanced lesson: card, owner (-1 either), text key, clip (may be empty) and up
// to four explanation links (-1 none).
struct CardSpecificDialogRow {
    int cardId;
    int owner;
    const char16_t* key;
    const char16_t* voice;
    std::array<int, 4> links;
};

constexpr int FIRST_APPEARANCE_ROW_COUNT = 23;
extern const std::array<CardSpecificDialogRow, FIRST_APPEARANCE_ROW_COUNT> FIRST_APPEARANCE_ROWS;

// Replaces every dialog with the set of the current game mode (1 basic, 2 advanced; none otherwise).
void BuildCardSpecificDialogs();
