// The in-game settings menu. Until it exists only its reset is kept.
#pragma once

// Closes the menu and re-arms its one-time explanation.
void ResetSettingsMenu();
