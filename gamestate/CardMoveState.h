// The words the learner's card moves in the physical lesson keep between frames: when the last card was drawn,
// whether a land was played this turn, the untap prompt and library drag bytes, the combat-damage box's creature
// and the creature the learner tried to bury while it survives.
#pragma once

#include <array>
#include <cstdint>

class CardActor;

struct CardMoveState {
    // Millisecond clock of the last card taken into the hand.
    std::uint32_t lastDrawTime = 0;
    // The human turn count when a land was played; -1 when none this game.
    int landPlayedTurn = -1;
    // Lands played after the first turn while the turn advice was not holding them back.
    int laterTurnLands = 0;
    // The turn advice's counters that a land play (and a finished payment) starts again.
    std::array<int, 3> adviceCounters{};
    // Set while the untap step waits for the learner to untap.
    bool untapPromptUp = false;
    // A library card was picked up; the card behaviour reads it.
    bool libraryDrag = false;
    // The creature and the damage it took that the combat-damage box shows.
    CardActor* damageBoxCreature = nullptr;
    int damageBoxAmount = 0;
    // The creature the learner tried to bury although it survives; it holds its place until the box is answered.
    CardActor* survivingCreature = nullptr;
};

CardMoveState& GetCardMoveState();
// A new game: every word back to its start. The count of lost-damage explanations is kept for the program run.
void ResetCardMoveState();

// Whether a land was played in the human's current turn, and marking one played.
bool IsLandPlayedThisTurn();
void MarkLandPlayed();

// How often the lost excess damage has been explained while the program runs (at most twice).
int GetNonTrampleExplained();
void CountNonTrampleExplained();
