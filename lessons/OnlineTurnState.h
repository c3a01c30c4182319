// The words the two online turn drivers and the CPU's online answers share besides the turn flags: the two
// blocking steps and the CPU's end-of-turn discard byte.
#pragma once

// 0 idle; 1 choose blockers; 2 instant window after blocking; 3 blocks final.
extern int s_CpuBlockStep;
extern int s_HumanBlockStep;
// The CPU's end-of-turn prompt and discard are done for this turn.
extern bool s_CpuDiscardDone;

void ResetOnlineTurnState();
