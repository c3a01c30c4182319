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
// Starts a deal of that many cards from the CPU's library (the intro's opening hand, a spell's draw).
void StartHandAnimation(int count);
bool IsHandAnimationState5();
// At rest with nothing more to draw, or held.
bool IsDrawingHandDone();
// One step of the card backs flying to the CPU's hand: each shrinks to the hand's size on the way and becomes the
// CPU's card on arrival. True when any were in flight.
bool UpdateDrawnCardSprites();
int CountDrawnCardSprites();
// The CPU's library cards not drawn and not on their way to its hand; never below 0.
int CpuLibraryRemaining();
