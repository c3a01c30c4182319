// The human's hand on the table. Until the hand layout exists a card is left where it is.
#pragma once

class CardActor;

// Keeps the card's rectangle on the visible table; with alsoPosition its position moves as well as its target.
void ClampCardActorToTable(CardActor* card, bool alsoPosition);
