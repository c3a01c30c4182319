// The online basic game's reminder that damage on creatures wears off at the end of the turn.
#pragma once

// Shows the reminder when a damaged creature is on the table, during the first three checks after a reset.
// Always false: the end-of-turn step never waits on it.
bool ShowCleanupReminder();
// The scene reset: three checks again, the timer idle.
void ResetCleanupReminder();
