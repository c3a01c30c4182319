#include "lessons/CpuPhysicalTurn.h"

#include "lessons/PlayerActors.h"

void CpuPhysicalTurn(Actor* actor)
{
    SetCpuPlayerActor(actor);
}
