// The words the two online turn drivers, the CPU's online answers and the table share besides the turn flags:
// the block steps, the turn number, the mulligan and combat-damage words.
#pragma once

// 0 idle; 1 choose blockers; 2 instant window after blocking; 3 blocks final.
extern int s_CpuBlockStep;
extern int s_HumanBlockStep;
// The CPU's end-of-turn prompt and discard are done for this turn.
extern bool s_CpuDiscardDone;
// 0 undecided, 1 kept, 2 under way.
extern int s_MulliganState;
extern int s_TurnNumber;
// The CPU's next draw is skipped once (it begins the game).
extern bool s_CpuSkipNextDraw;
// The learner has kept a hand: the main phase shows its prompt from then on.
extern bool s_GameBegun;
// Set while an attack is being declared (read by the advisor).
extern bool s_DeclaringAttack;
// 5 after combat damage; 4 becomes 7 at the CPU's end of turn.
extern int s_CombatDamageWord;
// The human's blocking step has been entered for the CPU's attack.
extern bool s_HumanBlockingEntered;

void ResetOnlineTurnState();
