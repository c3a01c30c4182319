// Per-frame board steps and queries of the rules that the table calls. Until the rules build them they do the
// least that keeps the table consistent.
#pragma once

class CardActor;

void UpdateBoardCensus();
// The human's library cards not yet drawn; with countDragged, cards being dragged off the pile count as drawn.
int CardsLeftInLibrary(bool countDragged);
// A card in a special slot, in the library, or held.
bool IsCardBusy(const CardActor* card);
bool IsCardInDelayedSet(const CardActor* card);
