// The payment boxes of the physical lesson that guide the learner through paying a spell (box kind 8) or an
// ability (box kind 9) by tapping lands and pressing the done button.
#pragma once

#include <string>

class CardActor;

constexpr int PAYMENT_BOX_SPELL = 8;
constexpr int PAYMENT_BOX_ABILITY = 9;
// The payment box's buttons in answer order.
constexpr int PAYMENT_BUTTON_DONE = 0;
constexpr int PAYMENT_BUTTON_CANCEL = 1;

// paymentState is the rules' verdict on the pool (0 exact, 1 empty, 2 too little, 3 too much, 4 wrong colours);
// firstPrompt is 1 when the payment starts, 0 after the done button. True while the payment box is up; false
// when the cost is paid (or the state asks for no box), and nothing is shown.
bool ShowSpellPaymentBox(CardActor* card, int paymentState, int firstPrompt);
bool ShowAbilityPaymentBox(CardActor* card, int paymentState, int firstPrompt);

// The key suffix of a cost of generic g and coloured c: N, C, CC, 1C, 1CC, NC or NCC.
const char16_t* PaymentKeySuffix(int generic, int colored);
// The opening ability prompt's template: the data text's one string placeholder replaced by the cost's sequence
// of positional placeholders.
std::u16string AbilityPromptTemplate(std::u16string_view text, int generic, int colored);
