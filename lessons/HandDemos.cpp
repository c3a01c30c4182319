#include "lessons/HandDemos.h"

#include "engine/scene/Actor.h"
#include "lessons/PhysicalTurnState.h"
#include "lessons/PlayerActors.h"
#include "rules/BoardQueries.h"
#include "rules/CpuPayment.h"

namespace {

bool s_Idle = true;
bool s_CpuListEmpty = true;

} // namespace

void ClearHandAnimationLists()
{
}

void ResetPendingObjects()
{
}

bool AreHandDemosIdle()
{
    return s_Idle;
}

void SetHandDemosIdle(bool idle)
{
    s_Idle = idle;
}

bool CpuListEmpty()
{
    return s_CpuListEmpty;
}

void SetCpuListEmpty(bool empty)
{
    s_CpuListEmpty = empty;
}

void StepHandDemos()
{
    const Actor* const cpu = GetCpuPlayerActor();
    if (cpu != nullptr && cpu->GetState() == 1 && s_CpuTurn)
        UntapCpuCards();
}

void ResetHandDemos()
{
    s_Idle = true;
    s_CpuListEmpty = true;
}

void StepCpuHandAnimation()
{
    ClearCpuTappedSources();
}

void ResetCpuHandAnimation()
{
    ClearCpuTappedSources();
}
