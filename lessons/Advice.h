// The lesson's advice at the spell stack's waiting entries.
#pragma once

#include "gamestate/AdviceState.h"

struct StackEntry;

// The lesson's advice at a waiting combat-damage entry or CPU entry: true once the learner has answered;
// answer 1 tells that the learner chose to respond.
bool ShowMultipleBlockersAdvice(int side);
bool ShowCombatDamageAdvice(int side, int* answer);
bool ShowOpponentSpellAdvice(const StackEntry* entry, int* answer);
// Placeholder until the lesson's advice exists: whether the advice counts as answered, and the learner's answer.
void SetStackAdviceAnswer(bool done, bool respond);
