// The card a dragged card was let go over.
#pragma once

class CardActor;

// The first card on the table, other than the dragged one, whose rectangle holds the dragged card's centre.
CardActor* GetDropTargetCard(const CardActor* dragged);
