// The drawing hand: the animated hand that takes the CPU's cards off its library.
#pragma once

// One step of the hand, once a frame.
void UpdateDrawHand();
// At rest: state 5 and either stopped or the CPU has nothing left to draw.
bool IsDrawHandAtRest();
// The stop flag: set while the CPU's turn must not draw (the human begins, or the CPU skips its first draw).
void SetDrawHandStopped(bool stopped);
bool IsDrawHandStopped();
