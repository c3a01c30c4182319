// The physical lesson's turn advice: the boxes that walk the learner through each step of a turn.
#pragma once

// False while the advice holds the game; side 0 from the human's driver, 1 from the CPU's.
bool UpdatePhysicalTurnAdvice(int side);
// The mana-burn warning and the end-of-turn prompts, which the drivers reach through this header.
#include "lessons/EndOfStepPrompts.h"
