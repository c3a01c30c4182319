// The lesson's words the table and the rules read: the dropped card waiting for payment and its second slot, the
// card moved back onto the table, the can-play-now and free-play flags, the online advisor's advice number and the
// learner's request to undo a payment.
#pragma once

#include <memory>

class CardActor;
class Messagebox;

// A human card that left play because it was countered; the turn driver and the drop handling read and clear it.
extern CardActor* g_CounteredCard;
// The lesson's dropped card waiting for payment, and its second card slot.
CardActor* GetLessonPendingCard();
void SetLessonPendingCard(CardActor* card);
CardActor* GetLessonSecondCard();
void SetLessonSecondCard(CardActor* card);
// The card the physical lesson moves back onto the table.
CardActor* GetLessonReturningCard();
// The lesson's can-play-now flag: the human may act out of turn (an instant on the stack).
void SetCanPlayNowFlag(int flag);
int GetCanPlayNowFlag();
// The lesson's free-play flag: the learner may play outside the guided steps.
void SetFreePlayFlag(int flag);
int GetFreePlayFlag();
// The online advisor's current advice number.
int GetOnlineAdviceNumber();
// Ctrl+U in the online lesson: the player asks to undo the payment in progress. Cleared with the per-game words.
extern bool s_bPaymentUndoRequested;
void RequestPaymentUndo();
bool TakePaymentUndoRequest();

// Every scene load: the pending card slots are emptied.
void ResetLessonState();
