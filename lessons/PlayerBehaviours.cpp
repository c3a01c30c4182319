#include "lessons/PlayerBehaviours.h"

#include "engine/scene/Actor.h"
#include "lessons/CpuOnlineTurn.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/HumanOnlineTurn.h"
#include "lessons/HumanPhysicalTurn.h"

void PlayerBehaviour(Actor* actor)
{
    if (IsOnlineLesson())
        HumanOnlineTurn(actor);
    else
        HumanPhysicalTurn(actor);
}

void CpuPlayerBehaviour(Actor* actor)
{
    if (IsOnlineLesson())
        CpuOnlineTurn(actor);
    else
        CpuPhysicalTurn(actor);
}
