// The CPU's demonstration hands taken together, as the turn drivers and the resolution see them: the bury hand
// and the acting hand step once a frame, and the driver waits while either has work.
#pragma once

#include "gamestate/HandAnimationLists.h"
#include "lessons/ActingHand.h"
#include "lessons/BuryHand.h"


// True when the lesson's busy flag is clear, the bury hand has nothing left to bury and the acting hand is idle.
bool AreHandDemosIdle();
// The lesson's busy flag: while set the demonstrations never count as idle.
void SetHandDemosIdle(bool idle);
// One step of both hands (physical lesson only).
void StepHandDemos();
void ResetHandDemos();
// The acting hand shows the CPU's taps itself; these keep the turn driver's calls.
void StepCpuHandAnimation();
void ResetCpuHandAnimation();
