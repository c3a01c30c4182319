// The switch of game mode: the table is torn down and the main loop loads the requested mode's scene.
#pragma once

// 0 returns to the menus; 1-4 start a game.
void ResetTable(int mode);
int GetPreviousGameMode();
