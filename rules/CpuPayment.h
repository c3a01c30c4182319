// The CPU pays by tapping its own untapped mana sources, colour by colour and then generic; in the physical
// lesson the sources it tapped wait in an ordered set for the hand animation to play them back.
#pragma once

#include "rules/ManaCost.h"

#include <vector>

class CardActor;

// Pays the whole cost; returns how many sources were tapped (a shortfall is not reported).
int PayCpuCost(const ManaCost& cost);
// The payers: each taps sources until its amount is paid or the sources run out; return the sources tapped.
int PayCpuRed(int amount);
int PayCpuGreen(int amount);
int PayCpuBlue(int amount);
int PayCpuBlack(int amount);
int PayCpuWhite(int amount);
int PayCpuGeneric(int amount);
// Empties the colour counters of the CPU's shown mana and of the payment tally (every cast).
void ResetCpuTappedMana();
// What the current payment has tapped; the turn flows read and clear its generic counter.
ManaCost& GetCpuPaymentTally();
// Taps one source; the mana-ready flag marks a tapped non-land as having given mana.
void TapManaSource(CardActor* card, bool manaReady);
// The order of the tapped-source set: non-land sources before lands, then nearer the origin, then older.
bool TappedSourceBefore(const CardActor* a, const CardActor* b);
// The tapped-source set in order (physical lesson only).
const std::vector<CardActor*>& GetCpuTappedSources();
void ClearCpuTappedSources();
void ForgetCpuTappedSource(const CardActor* card);
// The tally, the set and the CPU's shown mana back to their start.
void ResetCpuPaymentState();
