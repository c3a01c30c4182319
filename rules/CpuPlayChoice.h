// The CPU's main-phase questions: which land to put down this turn and which card of its hand to play, with its
// target, by fixed rules over the table.
#pragma once

#include "rules/ManaCost.h"

class Actor;
class CardActor;

constexpr int CPU_PLAYABLE_CAPACITY = 40;

// A held CPU land to play, or none.
CardActor* CpuChooseLandToPlay();
// Lists the CPU's held creatures, then its artifacts, enchantments and sorceries; returns the count.
int CollectCpuPlayableCards();
CardActor* GetCpuPlayableCard(int index);
void ClearCpuChoiceTable();
// False when a card was chosen (card and its target set); true when nothing is to be played. card holds the
// last candidate examined either way.
bool CpuChoosePlay(int count, CardActor*& card, CardActor*& targetCard, Actor*& targetPlayer);
// The creature CpuChoosePlay last chose, or none.
CardActor* CpuChooseCreatureToCast();
// A removed card leaves the table of choices.
void OnCpuChoiceCardRemoved(const CardActor* card);
// The first held, staying CPU land whose mana has a colour of the set.
CardActor* FindHeldCpuLandForCost(const ManaCost& colours);
