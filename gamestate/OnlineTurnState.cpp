#include "gamestate/OnlineTurnState.h"

int s_CpuBlockStep = 0;
int s_HumanBlockStep = 0;
bool s_CpuDiscardDone = false;
int s_MulliganState = 0;
int s_TurnNumber = 0;
bool s_CpuSkipNextDraw = false;
bool s_GameBegun = false;
bool s_DeclaringAttack = false;
int s_CombatDamageWord = 0;
bool s_HumanBlockingEntered = false;

void ResetOnlineTurnState()
{
    s_CpuBlockStep = 0;
    s_HumanBlockStep = 0;
    s_CpuDiscardDone = false;
    s_MulliganState = 0;
    s_TurnNumber = 0;
    s_CpuSkipNextDraw = false;
    s_GameBegun = false;
    s_DeclaringAttack = false;
    s_CombatDamageWord = 0;
    s_HumanBlockingEntered = false;
}
