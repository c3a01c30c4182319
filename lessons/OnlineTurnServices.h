// The small services both online turn drivers use: the instant-window rule, prompts and message windows by
// string key, frame counts.
#pragma once

#include "gamestate/OnlineTurnState.h"

#include <string_view>


// An instant window for (side whose turn it is, step) is offered only when its phase stop is on and, in mode 4,
// the human has something it could use.
bool OffersInstantWindow(int side, int step);
// The message field's prompt for a string key; 0 until answered.
int ShowKeyPrompt(std::u16string_view key, int kind);
// A message window for a text kept by handle across frames; true once its button was clicked (the handle is
// forgotten then). A window without buttons never reports a click.
bool ShowOnlineWindow(int& handle, const char16_t* text, int width, int height, int buttons);
// The text of a string key, or the key itself when the table has none.
const char16_t* KeyText(std::u16string_view key);
// Frames of one second at the measured rate (at least 1), and of a third and a fifth of it.
int FramesPerSecond();

// The land's name key for the game log by the card's colour index (0 black ... 4 white, else any land).
const char16_t* LandNameKey(int colourIndex);
// The lost window's or the end window's button: back to the menus.
void ReturnToMenusAfterGame();
