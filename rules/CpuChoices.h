// What the rules ask of the CPU opponent. Until its choices exist the CPU never responds and pays a cost by
// tapping its newest untapped lands that give what the cost still needs.
#pragma once

#include "rules/ManaCost.h"

// The CPU's answer to the spell on top of the stack.
void CpuRespond(bool respond);
// Empties the CPU's set of sources tapped for the current payment.
void ClearCpuTappedSources();
// Taps CPU sources for the cost; returns how many were tapped.
int PayCpuCost(const ManaCost& cost);
// Forgets the CPU's choices made for the human's spell being paid.
void ClearCpuChoiceTable();
