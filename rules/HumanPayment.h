// The human's clicks on mana sources, whether paying or tapping is allowed now, and cancelling a payment.
#pragma once

class CardActor;
struct ManaCost;

// Per frame. True when a tap produced mana into out instead of the pool (X-cost collection), or out holds the
// negated production of an X source clicked to take it back.
bool HandleManaClick(ManaCost& out);
bool CanPayNow(int humanState);
bool CanTapForManaNow();
// A spell's payment given up: the card goes back to the hand. Null only clears the table's payment slots.
void CancelPaymentOnCard(CardActor* card);
// An ability's payment or target choice given up; a tapped cost is untapped again.
void CancelPayment(CardActor& card);
// The stack reports itself busy: a resolution is paused on a prompt.
bool IsSpellStackBusy();
// A player actor state in which the other side must not act (drawing, game over, waiting at the end).
bool IsPlayerActorWaiting(int player);
// Either player actor is declaring combat (state 7) while the combat flag is set.
bool IsCombatDeclaring();
