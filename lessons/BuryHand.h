// The bury hand: the CPU has no mouse, so a drawn hand takes each of its cards that left play to its graveyard,
// one after another, and then leaves the screen.
#pragma once

#include <cstdint>


// A card that leaves the flight this long after it was grabbed goes into the graveyard wherever it stands: a card
// held in place or sent elsewhere must not keep the hand waiting.
constexpr std::uint32_t BURY_FLIGHT_LIMIT_MS = 3000;

void ResetBuryHand();
// One step a frame, physical lesson only.
void UpdateBuryHand();
// Cards that reached their place go into their owner's graveyard; true while any are still on their way.
bool UpdateCardsFlyingToGraveyard();
// The bury hand rests, the lesson's hold is clear and the CPU has no card waiting for its graveyard.
bool CpuListEmpty();
// The lesson's hold on the CPU's list: while set, the list never counts as empty.
void SetCpuListEmpty(bool empty);
// Empties the work list and the two card sets (a new game).
void ClearHandAnimationLists();
int GetBuryHandState();
int CountCardsFlyingToGraveyard();
