// The players' pending-card sets (cards leaving play that wait for the player to move them, physical lesson
// only), the once-per-card tips and the hooks of a card changing hands, and a few small game-state queries.
#pragma once

#include <vector>

class CardActor;

void AddPendingCard(CardActor* card);
// True when it was found (always true in the online lesson).
bool RemovePendingCard(const CardActor* card);
int CountPendingCards(int player);
int CountPendingCreatures(int player);
int CountPendingPermanents(int player);
int CountPendingNonPermanents(int player);
CardActor* FindPendingAuraOfLeavingHost(int player);
CardActor* FindPendingSorcery();
bool IsCardPendingForOwner(const CardActor* card);
// Empties one player's set; no argument empties both (a new game).
void ClearPendingCards(int player);
void ClearPendingCards();
// Hands one player's set over in its order and empties it.
std::vector<CardActor*> TakePendingCards(int player);
// A human card left the hand (side 0) or a CPU card came onto the table (side 1).
void NotifyCardHeldChanged(int side, CardActor* card);
// The first-appearance advice of the card's identifier, once per identifier and game.
void ShowFirstAppearanceTip(CardActor* card);
void ClearFirstAppearanceTips();
bool IsHumanAllowedToAct();
// Hand order: by sort key, ties by creation order.
bool CompareHandCards(const CardActor* a, const CardActor* b);
