// The players' pending-card sets, the once-per-card tips and the hooks of a card changing hands. Until the rules
// exist only what the card actors and the table call is here.
#pragma once

class CardActor;

// Queues a card that cannot leave play at once in its owner's set (nothing in the online lesson).
void AddPendingCard(CardActor* card);
void RemovePendingCard(const CardActor* card);
int CountPendingCards(int player);
bool IsCardPendingForOwner(const CardActor* card);
// Empties both sets (a new game).
void ClearPendingCards();
// A human card left the hand (side 0) or a CPU card came onto the table (side 1).
void NotifyCardHeldChanged(int side, CardActor* card);
// The first-appearance advice of the card's identifier, once per identifier.
void ShowFirstAppearanceTip(CardActor* card);
