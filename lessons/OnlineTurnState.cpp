#include "lessons/OnlineTurnState.h"

int s_CpuBlockStep = 0;
int s_HumanBlockStep = 0;
bool s_CpuDiscardDone = false;

void ResetOnlineTurnState()
{
    s_CpuBlockStep = 0;
    s_HumanBlockStep = 0;
    s_CpuDiscardDone = false;
}
