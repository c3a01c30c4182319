// The card actors the intros move by hand: the CPU's hand put back and dealt again, the learner's hand carried
// onto the library pile, the opening hand taken at once when the intro is skipped.
#pragma once

#include "engine/raster/RasterTypes.h"

class CardActor;

bool IsInsideRect(const RasterRect& rect, int x, int y);
bool RectsOverlap(const RasterRect& a, const RasterRect& b);
// Moves a card's top-left corner a step toward (x, y), or there at once; true once it is there.
bool GlideCard(CardActor* card, int x, int y, bool snap);

// Removes every card the CPU holds; the number removed.
int RemoveCpuHand();
int CountCpuHand();
// Deals the CPU a new hand of that many cards from the top of its library. The animated deal belongs to the hand
// animation; until it can deal a given number, the cards are held at once.
void StartCpuHandDeal(int cards);
bool IsCpuHandDealt();

// The learner's held card under the point (not one still in the library), or null.
CardActor* FindHumanHandCardAt(int x, int y);
// The dragged card under the mouse and the rest of the hand lined up behind it, each a little further.
void FollowDraggedCard(CardActor* dragged, int x, int y, int spacing);
// Every card of the learner's hand heads for the pile.
void SendHumanHandToPile(const RasterRect& pile, bool snap);
// Cards that reached the pile are removed; the number still on their way.
int RemoveHumanHandAtPile(const RasterRect& pile, bool snap);
// Every deck-marked card of the learner leaves the library into the hand at once.
void TakeDeckCardsIntoHand();

// The CPU's opening hand has been dealt by the drawing hand (it is at rest after dealing).
bool IsCpuOpeningHandDealt();
// The learner's second deck colour, read from the basic lands of the deck (the first colour when there is none).
int GetSecondDeckColour();
