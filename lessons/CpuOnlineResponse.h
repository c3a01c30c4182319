// The CPU's answers in the online lesson: during either player's turn it may use one activated ability or cast
// one instant per call, chosen by fixed rules for the lesson's preset decks, paid and put on the stack. Also the
// human's actionable cards, the cards whose action is still under way, that the turn drivers wait on.
#pragma once

#include <vector>

class Actor;
class CardActor;

// True when the CPU activated an ability or cast an instant in this call.
bool CpuOnlineRespond();
// The card whose ability or instant the CPU used last (null after a call that used nothing).
CardActor* GetCpuOnlineActingCard();
bool IsOnlineResponseKeyUsed(const Actor* key);

// The human's cards whose action is in progress: the pending ability, the pending spell and the X-cost card.
void BuildActionableCards();
const std::vector<CardActor*>& GetActionableCards();
bool ActionableCardsExist();

