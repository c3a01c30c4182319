// The payment boxes of the physical lesson that guide the learner through paying a spell (box kind 8) or an
// ability (box kind 9).
#pragma once

class CardActor;

// False once the cost is paid; paying is 1 while the learner pays, 0 after the done button.
bool ShowSpellPaymentBox(CardActor* card, int paymentState, int paying);
bool ShowAbilityPaymentBox(CardActor* card, int paymentState, int paying);
