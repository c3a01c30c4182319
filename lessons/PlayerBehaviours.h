// The behaviours of the "player" and "cpuplayer" actors: each frame goes to the turn driver of the running lesson.
#pragma once

class Actor;

void PlayerBehaviour(Actor* actor);
void CpuPlayerBehaviour(Actor* actor);
