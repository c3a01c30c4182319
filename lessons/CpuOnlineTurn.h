// The online lesson's turn driver of the cpu side, run once a frame by its player actor.
#pragma once

class Actor;

void CpuOnlineTurn(Actor* actor);
