// May a card's spell or ability be used now (a legal target exists), and the two steps that end the human's
// payment and put the card on the stack.
#pragma once

class CardActor;

bool CanUseCardNow(CardActor* card, bool isAbility);
void FinishPayment(CardActor* card);
// Returns how many activations went on the stack.
int FinishAbilityPayment(CardActor* card);
// Times in a row a pump cost can be paid is capped, a zero cost counting once.
constexpr int PUMP_ACTIVATION_CAP = 40;
// After the table's zones were laid out anew: the lesson's waiting cards kept on the table, the graveyard lists,
// the lesson box and the stack's prompt placed again.
void ReplaceSpecialCardsAfterLayout();
