// The online lesson's turn driver of the human side, run once a frame by its player actor.
#pragma once

class Actor;

void HumanOnlineTurn(Actor* actor);
