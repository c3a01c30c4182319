// The acting hand: the CPU has no mouse, so a drawn hand shows what it does with its cards. It untaps them in
// the untap step, carries each card it plays out of its hand onto the table (a spell that already left play goes
// to the graveyard instead) and presses each card whose tap the table has not shown yet.
#pragma once

#include <cstdint>

class CardActor;

enum ActingMode { ACTING_UNTAP = 0, ACTING_PLAY = 1, ACTING_SHOW_TAP = 2 };

// A carried card that has not reached its place this long after it was picked up is set down where the hand is
// going: a place that keeps moving must not keep the hand waiting.
constexpr std::uint32_t ACTING_CARRY_LIMIT_MS = 3000;
// The size of a card in the CPU's hand of backs.
constexpr int CPU_HAND_CARD_WIDTH = 36;
constexpr int CPU_HAND_CARD_HEIGHT = 54;

void ResetActingHand();
// One step a frame, physical lesson only.
void UpdateActingHand();
// What the hand's press does to the card in the current mode.
void ApplyActingHandTouch(CardActor* card);
// Cards set down that still glide to their place leave the arrival set once there; true while any remain.
bool UpdateActingHandArrivals();
// Resting with nothing to do: no work, no tap to show, no played card waiting.
bool IsActingHandIdle();
// Empties the work list and the arrival set (a new game).
void ResetPendingObjects();
int GetActingHandState();
int GetActingHandMode();
