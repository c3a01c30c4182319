// Placeholder until the online turn drivers exist: the actor only names itself as the cpu's player actor.
#include "lessons/CpuOnlineTurn.h"

#include "lessons/PlayerActors.h"

void CpuOnlineTurn(Actor* actor)
{
    SetCpuPlayerActor(actor);
}
