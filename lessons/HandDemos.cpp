#include "lessons/HandDemos.h"

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
