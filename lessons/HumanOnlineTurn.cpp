// Placeholder until the online turn drivers exist: the actor only names itself as the human's player actor.
#include "lessons/HumanOnlineTurn.h"

#include "lessons/PlayerActors.h"

void HumanOnlineTurn(Actor* actor)
{
    SetHumanPlayerActor(actor);
}
