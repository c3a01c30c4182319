// Before a card dropped on the physical table is accepted: whether a play may start at all, whether the dropped
// card can be paid for, has a target and lies in the play area, and the error shown for a card played at the wrong
// moment. Every error is a lesson box of kind 11 moved off its card, and the card is parked in a pending-card word
// until the learner deals with it.
#pragma once

class CardActor;

constexpr int KIND_PLAY_ERROR = 11;

// Whether the learner may start playing a card now.
bool CanStartPlaying();
// True when the dropped card may go on to be paid for; false when nothing may happen or an error was shown.
bool CheckDroppedCard(CardActor* card);
// Puts the card into payment; always true.
bool BeginPayment(CardActor* card);
// The error for a card played at the wrong time, unless something else holds the table.
void ShowMistimedPlayError(CardActor* card);
