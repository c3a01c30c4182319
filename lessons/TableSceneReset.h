// The scene reset that runs on every change of game mode: stack closed, actors gone, both players back to 20 life
// and every per-game word of the flows cleared. The level script of the new mode spawns the player actors.
#pragma once

void ResetTableScene();
