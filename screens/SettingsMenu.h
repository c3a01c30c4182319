// The in-game settings menu of the online lesson: a right press on the empty table opens a panel in which the
// learner marks, for each player's turn, the steps at which the game stops. The first openings of the basic online
// game explain the panel first.
#pragma once

// The menu's per-frame step, run by the camera just before the online advisor.
void ShowSettingsExplanation();
// Sets the menu up for the running game: the explanation count, the textures and the mode's stops.
void InitSettingsMenu();
// Turns the mark under this frame's left press and draws the marks.
void HandlePhaseStopClicks();
// The panel button under this frame's left press: 0 none, 1 OK, 2 cancel, 3 defaults.
int HitSettingsMenuButton();
