#include "gamestate/PhysicalTurnState.h"

bool s_PastCombat = false;
int s_AttackStep = 0;
bool s_HumanEndOfTurn = false;
int s_CompletedTurns = 0;
bool s_StepFlag = false;
int s_HumanTurnCount = 0;
int s_ForcedHumanState = 0;
int s_CleanupKind = -1;
int s_FirstBlockShown = 0;

namespace {

CpuPhysicalTurnWords s_CpuWords;
PhysicalBlockWords s_BlockWords;

} // namespace

CpuPhysicalTurnWords& GetCpuPhysicalTurnWords()
{
    return s_CpuWords;
}

PhysicalBlockWords& GetPhysicalBlockWords()
{
    return s_BlockWords;
}

void ResetPhysicalTurnState()
{
    ClearTurn();
    s_PastCombat = false;
    s_AttackStep = 0;
    s_HumanEndOfTurn = false;
    s_CompletedTurns = 0;
    s_StepFlag = false;
    s_HumanTurnCount = 0;
    s_ForcedHumanState = 0;
    s_CleanupKind = -1;
    s_FirstBlockShown = 0;
}
