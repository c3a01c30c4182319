// Drawing the human's cards one at a time from the library pile to the hand, placing a dealt hand in the hand
// row, and the glow under a highlighted card.
#pragma once

class CardActor;

// One frame of drawing; the next card starts only once the previous one has reached its place. Returns the
// human's cards still to draw.
int DrawPendingCards();
// Every dealt card goes to the hand row in actor-list order; placed becomes true when one was placed.
void PlaceDealtCardsInHand(bool* placed = nullptr);
void DrawCardGlow(const CardActor* card);
