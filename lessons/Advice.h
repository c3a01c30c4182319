// The physical lesson's advice at the spell stack's waiting entries: the CPU's spell or ability explained with
// the chance to respond, the gang blocks of the CPU's attack, and the notice before combat damage.
#pragma once

#include "gamestate/AdviceState.h"

class Actor;
struct StackEntry;

// True when the stack may go on; answer then holds -1 (not the CPU's entry), 0 (OK) or 1 (the learner responded).
// False while the advice is up or the learner is responding.
bool ShowOpponentSpellAdvice(const StackEntry* entry, int* answer);
// True when no attacker of the side (1, the CPU) with several blockers is left to explain.
bool ShowMultipleBlockersAdvice(int side);
// True when the stack may go on: answer 1 in the basic lesson and after a response, 0 after OK. False while the
// notice is up or the learner is responding.
bool ShowCombatDamageAdvice(int side, int* answer);

// The turn drivers' clean-up: the stack's last card and both answered bytes, and the gang-block count.
void ClearStackAdviceMemory();
void ResetExplainedGangBlocks();
// A new game: every memory of the stack and combat advice back to its start.
void ResetStackAdvice();
