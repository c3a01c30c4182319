// Placeholder until the hand demonstrations exist: idle unless a test says otherwise.
#include "lessons/HandDemos.h"

namespace {

bool s_Idle = true;
bool s_CpuListEmpty = true;

} // namespace

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
