// What the physical lesson's drop handling offers the card table. Until the lesson exists a drop does nothing.
#pragma once

class CardActor;

// A human card that left play because it was countered; the turn driver and the drop handling read and clear it.
extern CardActor* g_CounteredCard;

// Called for every drag that ends.
void HandleCardDropPhysical(CardActor* card);
