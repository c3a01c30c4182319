// The in-game settings menu's words, which the table reset puts back. Until the menu exists only its reset is kept.
#pragma once

// Closes the menu and re-arms its one-time explanation.
void ResetSettingsMenu();
