// Questions about the table and the per-owner steps of a turn, walked over the card actors of the actor list in
// its order (creation order): the first card found keeps a tie.
#pragma once

#include "rules/ManaCost.h"

#include <vector>

class Actor;
class CardActor;

// The card actors of the actor list, in list order.
std::vector<CardActor*> GetCardActors();

// ---- Counting and finding ------------------------------------------------------------------------------------
int CountTappedLandsAndCreatures(int player, int* lands, int* creatures);
bool HumanHasLandInHand();
int CountLandsInHand(int player);
int CountCpuHandCards();
int CountAttackingCreatures(int player);
int CountAttackingFlyers(int player);
int CountBlockersOfPlayer(int player);
int CountUntappedCreatures(int player);
int CountCreaturesReadyToAttack(int player);
int CountCreaturesSharingColour(int player, const ManaCost& colours);
int CountCardsPayableWith(int player, const ManaCost& colours);
// Newest land first: the first acting land of the player that gives something the cost still needs.
CardActor* FindLandForCost(int player, const ManaCost& cost);
int CountArtifactLikeCards(int player);
int CountEnchantmentsInPlay(int player);
CardActor* FindStrongestHumanAttacker();
CardActor* FindStrongestUntappedHumanCreature();
CardActor* FindStrongestCreatureGoingToGraveyard(int player);
int CountBrailmelAuras(const CardActor* card);
bool HasSelevmarAttached(const CardActor* card);
bool IsAnyCardMoving();
// The player's colours of a card: the coloured counters of its cost.
bool SharesColour(const CardActor& card, const ManaCost& colours);

// ---- Per-owner steps -----------------------------------------------------------------------------------------
void UntapHumanCards();
bool HumanHasNoTappedCards();
bool UntapCpuCards();
void ReadySickNonLands(int player);
void PutLeavingCardsIntoGraveyard();
// Sends a leaving card to its owner's graveyard at once: exit move +1, tap state 0, no host, appended to the
// owner's graveyard (a card already listed, or a full graveyard, is refused), out of the pending set.
void PutCardIntoGraveyard(CardActor* card);
bool RemoveFromGraveyard(CardActor* card);
void CastCardAtChosenTarget(CardActor* card);
void ActivateAtChosenTarget(CardActor* card);

// ---- Block links (online lesson) -----------------------------------------------------------------------------
struct BlockLink {
    CardActor* blocker = nullptr;
    float points[6] = {-1.0f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f};
};
void AddBlockLink(CardActor* blocker);
void RemoveBlockLink(const CardActor* blocker);
void ClearBlockLinkMap();
const std::vector<BlockLink>& GetBlockLinks();

// ---- The human's library draw --------------------------------------------------------------------------------
// The actors of the human's dealt library cards, and the card being drawn.
constexpr int LIBRARY_ACTOR_CAPACITY = 40;
void SetLibraryActor(int index, CardActor* card);
CardActor* GetLibraryActor(int index);
void ClearLibraryActors();
void ForgetLibraryActor(const Actor* actor);
CardActor* GetCardBeingDrawn();
void SetCardBeingDrawn(CardActor* card);
void PopNextLibraryCard();
