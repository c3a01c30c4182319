// The words the two online turn drivers and the CPU's online answers share besides the turn flags, and the small
// services both drivers use: the instant-window rule, prompts and message windows by string key, frame counts.
#pragma once

#include <string_view>

// 0 idle; 1 choose blockers; 2 instant window after blocking; 3 blocks final.
extern int s_CpuBlockStep;
extern int s_HumanBlockStep;
// The CPU's end-of-turn prompt and discard are done for this turn.
extern bool s_CpuDiscardDone;
// 0 undecided, 1 kept, 2 under way.
extern int s_MulliganState;
extern int s_TurnNumber;
// The CPU's next draw is skipped once (it begins the game).
extern bool s_CpuSkipNextDraw;
// The learner has kept a hand: the main phase shows its prompt from then on.
extern bool s_GameBegun;
// Set while an attack is being declared (read by the advisor).
extern bool s_DeclaringAttack;
// 5 after combat damage; 4 becomes 7 at the CPU's end of turn.
extern int s_CombatDamageWord;
// The human's blocking step has been entered for the CPU's attack.
extern bool s_HumanBlockingEntered;

void ResetOnlineTurnState();

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
