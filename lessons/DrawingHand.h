// The drawing hand: the animated hand that takes the CPU's cards off its library.
#pragma once

class Sprite;

// One step of the hand, once a frame.
void UpdateDrawHand();
// At rest: state 5 and either stopped or the CPU has nothing left to draw.
bool IsDrawHandAtRest();
// The stop flag: set while the CPU's turn must not draw (the human begins, or the CPU skips its first draw).
void SetDrawHandStopped(bool stopped);
bool IsDrawHandStopped();
// The hand's state (0 to 5, 5 at rest), the card backs it dealt in this run and those still flying and its sprite, for the table and tests.
int GetDrawHandState();
int GetCardBacksDealt();
int GetCardBacksInFlight();
const Sprite* GetDrawHandSprite();
// A new game: the hand starts again with a full opening hand to deal.
void ResetHandAnimationState();
// A new scene: the hand at rest, its sprites off the list.
void ResetDrawHand();
