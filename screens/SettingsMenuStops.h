// Which phase stops a game mode starts with, and which of them the learner may not change.
#pragma once

// Clears the edited marks (and the stops in use when alsoInUse) and sets the mode's defaults there.
void SetDefaultPhaseStops(int mode, bool alsoInUse);
// True for a stop the menu shows but does not let the learner change in the running game.
bool IsPhaseStopLocked(int player, int step);
