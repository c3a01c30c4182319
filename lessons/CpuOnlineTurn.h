// The CPU's turn in the online lesson, run once a frame by the "cpuplayer" actor: untap, a pause, draw, land and
// spells, attack, combat damage and end of turn with discard; its blocks while the human attacks; the game's end.
#pragma once

class Actor;

void CpuOnlineTurn(Actor* actor);
// The end-of-turn discard: random hand cards go until the hand holds 7. Returns how many were discarded.
int DiscardCpuHandToSeven();
// The CPU's blocks for the human's declared attackers, all in one frame.
void ChooseCpuBlockers();
void ResetCpuOnlineTurn();
// Frames left before the CPU acts again.
int GetCpuThinkDelay();
// The sub-step of the CPU's attack: below 3 while it declares; from 3 on the learner's blocks decide.
int GetCpuCombatStep();
void SetCpuCombatStep(int step);
