// The turn drivers' words the CPU reads to know where a turn stands. Until the drivers exist nothing but tests
// and the headless game set them.
#pragma once

extern bool s_CpuTurn;
extern bool s_HumanTurn;
// Set once the turn's combat is over (the second main phase).
extern bool s_PastCombat;
// 2 while the human's declared attack waits for the CPU's answer.
extern int s_AttackStep;
// The online human turn's end-of-turn prompt has been handled.
extern bool s_HumanEndOfTurn;
// Raised by one each time the human hands over the turn.
extern int s_CompletedTurns;

void ResetPhysicalTurnState();
