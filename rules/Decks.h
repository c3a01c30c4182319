// Decks and game set-up: the deck lists of both sides for the lesson mode and the chosen colours, the shuffles,
// the deal test, the human's library actors and the CPU's opening hand, and the creation of card actors.
#pragma once

#include <array>

class CardActor;

constexpr int DECK_SIZE = 40;
constexpr int DEAL_TRIES = 1000;
// Colour indices of the colour-selection screen.
constexpr int COLOUR_WHITE = 0;
constexpr int COLOUR_BLUE = 1;
constexpr int COLOUR_BLACK = 2;
constexpr int COLOUR_RED = 3;
constexpr int COLOUR_GREEN = 4;

using DeckList = std::array<int, DECK_SIZE>;

// Null when the actor cannot be made; CreateCardActor also registers it.
CardActor* SpawnCardActor(int id, int owner);
CardActor* CreateCardActor(int id, int owner);

// The chosen colours: two for the human, three for the CPU.
void SetChosenColours(int human1, int human2, int cpu1, int cpu2, int cpu3);
// The first chosen colour of a side (its deck colour in the lesson's texts).
int GetDeckColour(int player);
// The forced first card of each side (0 none).
void SetForcedFirstCard(int player, int id);
int GetForcedFirstCard(int player);

void SetupDecks();
void SetupCpuDeck();
void BuildDeckFromRows(DeckList& deck, const int* row1, const int* row2, const int* row3);
void SetupOpeningHandMode3(int colour1, int colour2);
const std::array<int, 7>& GetForcedOpeningHand();
void ShuffleHumanLibrary();
void ShuffleCpuLibrary();
void ShuffleRestOfHumanLibrary();
void ShuffleRestOfCpuLibrary();
bool NeedsRedeal(int side);
void CreateLibraryActors();
void DealCpuOpeningHand();
int CountDeckMarkedCards();

void BuildHumanDeckBasic(DeckList& deck);
void BuildCpuDeckBasic(DeckList& deck);
void BuildHumanDeckAdvanced(DeckList& deck);
void BuildCpuDeckAdvanced(DeckList& deck);

const DeckList& GetDeckList(int player);
// The opening hand size (7, lowered by mulligans) and the mulligans left.
int GetOpeningHandSize();
void SetOpeningHandSize(int size);
// The online human driver's re-deal flag and the human's turn counter (mode 1 deals a new game in order).
void SetRedealFlag(bool redeal);
void SetHumanTurnCounter(int turns);
void ResetDeckState();
