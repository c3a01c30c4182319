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
// The human's library cards not yet drawn, the card actors still lying on the pile included; with all, also those
// on their way off it (dragged or still gliding).
int CardsLeftInLibrary(bool all);
// A card in a special slot, in the library, or held.
bool IsCardBusy(const CardActor* card);
// A card leaving play that the CPU's bury hand has taken on: the table keeps its place for the hand.
bool IsCardInDelayedSet(const CardActor* card);
