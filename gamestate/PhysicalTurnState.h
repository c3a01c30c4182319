// The physical turn drivers' shared words: whose turn it is, where combat stands, the human's turn count, the CPU
// driver's wait and chosen card, and the human's blocks.
#pragma once

// Whose turn it is.
#include "gamestate/TurnFlags.h"

class CardActor;

// Set once the turn's combat is over (the second main phase).
extern bool s_PastCombat;
// 2 while the human's declared attack waits for the CPU's answer.
extern int s_AttackStep;
// The online human turn's end-of-turn prompt has been handled.
extern bool s_HumanEndOfTurn;
// Raised by one each time the human hands over the turn.
extern int s_CompletedTurns;

// Set by the human's driver once it has entered a main phase (the main-phase prompts may follow); cleared at the
// start of each of the human's turns. A creature is playable in the lesson only while it is set.
extern bool s_StepFlag;
// Turns begun by the human in this game.
extern int s_HumanTurnCount;
// When set, the human's actor is put into that state and nothing else happens that frame.
extern int s_ForcedHumanState;
// Which clean-up request the kind-14 box shows: 0 abandoned enchantment, 1 dead or countered cards, 2 used spells.
extern int s_CleanupKind;
// Set on the first frame of a game in which the human may block.
extern int s_FirstBlockShown;

// The CPU's physical turn driver: its wait, its turn count and the card it chose. Reset with the driver.
struct CpuPhysicalTurnWords {
    // Frames left before the driver acts again.
    int delay = 0;
    int turnNumber = 0;
    bool landPlayed = false;
    CardActor* chosenCard = nullptr;
};
CpuPhysicalTurnWords& GetCpuPhysicalTurnWords();

// The human's blocks: the attacker a refused blocker was dropped on, where on it the blocker lay (as parts of the
// card's size), and the creature picked up to block. The refused blocker itself is the advice state's block-error
// card. Reset with the blocks.
struct PhysicalBlockWords {
    CardActor* badBlockTarget = nullptr;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    CardActor* blockerInHand = nullptr;
};
PhysicalBlockWords& GetPhysicalBlockWords();

void ResetPhysicalTurnState();
