#include "lessons/HandDemos.h"

#include "cards/CardActor.h"
#include "engine/scene/FrameState.h"

#include <algorithm>

namespace {

bool s_Busy = false;

bool IsPhysicalGame()
{
    return s_GameMode == 1 || s_GameMode == 2;
}

} // namespace

bool AreHandDemosIdle()
{
    return !s_Busy && CpuListEmpty() && IsActingHandIdle();
}

void SetHandDemosIdle(bool idle)
{
    s_Busy = !idle;
}

void StepHandDemos()
{
    if (!IsPhysicalGame())
        return;
    UpdateBuryHand();
    UpdateActingHand();
}

void ResetHandDemos()
{
    ResetBuryHand();
    ResetActingHand();
    GetDemoCarry() = DemoCarry();
}

void StepCpuHandAnimation()
{
}

void ResetCpuHandAnimation()
{
    ResetActingHand();
}
