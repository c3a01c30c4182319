#include "lessons/HandDemos.h"

#include "cards/CardActor.h"
#include "engine/scene/Actor.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/CpuPayment.h"

namespace {

bool s_Idle = true;
bool s_CpuListEmpty = true;
// When the last tap was shown; the next one follows after the pause so that each tap can be seen.
std::uint32_t s_LastTapShown = 0;
bool s_TapShown = false;

// The table turns a tapped card only once its tap has been shown.
void ShowTap(CardActor* card)
{
    card->m_Flags &= ~ACTOR_FLAG_KEEP_UPRIGHT;
    ForgetCpuTappedSource(card);
}

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

DemoCarry& GetDemoCarry()
{
    static DemoCarry s_Carry;
    return s_Carry;
}

void ResetHandDemos()
{
    s_Idle = true;
    s_CpuListEmpty = true;
    GetDemoCarry() = DemoCarry();
}

void StepCpuHandAnimation()
{
    const std::vector<CardActor*>& sources = GetCpuTappedSources();
    if (sources.empty())
        return;
    const std::uint32_t now = plat::TimeGetTime();
    if (s_TapShown && now - s_LastTapShown < CPU_TAP_PLAYBACK_MS)
        return;
    ShowTap(sources.front());
    s_LastTapShown = now;
    s_TapShown = true;
}

void ResetCpuHandAnimation()
{
    // Taps not yet played back are shown at once: no card stays upright while it is tapped.
    while (!GetCpuTappedSources().empty())
        ShowTap(GetCpuTappedSources().front());
    s_TapShown = false;
}
