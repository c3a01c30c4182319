// Per-frame board steps and queries of the rules that the table calls. Those the rules have not built yet do the
// least that keeps the table consistent.
#pragma once

#include <cstdint>

class CardActor;

// The two highlight flags of a card's window: a bar across its bottom edge, or just below it.
constexpr std::uint32_t CARD_FLAG_HIGHLIGHT_ACROSS = 0x20000000;
constexpr std::uint32_t CARD_FLAG_HIGHLIGHT_BELOW = 0x10000000;

// While the intro shows the table: draws the permanents of both rows and gives the placed ones card windows.
void UpdateBoardCensus();
// The human's library cards not yet drawn; with countDragged, cards being dragged off the pile count as drawn.
int CardsLeftInLibrary(bool countDragged);
// A card in a special slot, in the library, or held.
bool IsCardBusy(const CardActor* card);
bool IsCardInDelayedSet(const CardActor* card);
