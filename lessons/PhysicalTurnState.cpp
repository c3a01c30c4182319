#include "lessons/PhysicalTurnState.h"

#include "lessons/TableFlow.h"
#include "lessons/TurnFlags.h"

bool s_CpuTurn = false;
bool s_HumanTurn = false;
bool s_PastCombat = false;
int s_AttackStep = 0;
bool s_HumanEndOfTurn = false;
int s_CompletedTurns = 0;
int s_HumanTurnCount = 0;
int s_ForcedHumanState = 0;
int s_CleanupKind = -1;
int s_FirstBlockShown = 0;

void HandTurnTo(int side)
{
    const bool human = side == 0;
    s_HumanTurn = human;
    s_CpuTurn = !human;
    GetTableFlow().humanTurn = human;
    GetTableFlow().cpuTurn = !human;
    SetHumansTurn(human);
}

void ResetPhysicalTurnState()
{
    s_CpuTurn = false;
    s_HumanTurn = false;
    s_PastCombat = false;
    s_AttackStep = 0;
    s_HumanEndOfTurn = false;
    s_CompletedTurns = 0;
    s_HumanTurnCount = 0;
    s_ForcedHumanState = 0;
    s_CleanupKind = -1;
    s_FirstBlockShown = 0;
}
