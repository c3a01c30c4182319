#include "lessons/HumanPhysicalTurn.h"

#include "lessons/PlayerActors.h"

void HumanPhysicalTurn(Actor* actor)
{
    SetHumanPlayerActor(actor);
}

void ResetHumanPhysicalTurn()
{
}
