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

void ForgetHandCard(const Actor* card)
{
    if (card == nullptr)
        return;
    ForgetBuryHandCard(card);
    ForgetActingHandCard(card);
    const auto same = [card](const CardActor* entry) { return static_cast<const Actor*>(entry) == card; };
    std::erase_if(GetCpuPlayedCards(), same);
    std::erase_if(GetBuriedCards(), same);
    if (same(GetDemoCarry().card))
        GetDemoCarry() = DemoCarry();
}
