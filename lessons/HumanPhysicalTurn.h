// The physical lesson's turn driver of the human side, run once a frame by the "player" actor.
#pragma once

class Actor;

void HumanPhysicalTurn(Actor* actor);
// The scene reset: every word of the driver back to its start.
void ResetHumanPhysicalTurn();
