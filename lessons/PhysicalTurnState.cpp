// Placeholder until the turn drivers exist.
#include "lessons/PhysicalTurnState.h"

bool s_CpuTurn = false;
bool s_HumanTurn = false;
bool s_PastCombat = false;
int s_AttackStep = 0;
bool s_HumanEndOfTurn = false;
int s_CompletedTurns = 0;

void ResetPhysicalTurnState()
{
    s_CpuTurn = false;
    s_HumanTurn = false;
    s_PastCombat = false;
    s_AttackStep = 0;
    s_HumanEndOfTurn = false;
    s_CompletedTurns = 0;
}
