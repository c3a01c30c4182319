// The two player records, human first. Until the rules exist a record keeps its life totals and what the card
// actors and the table read of it: the bonus statistics, the land mana and the graveyard.
#pragma once

#include "cards/CardRecords.h"
#include "rules/ManaCost.h"

#include <array>

class CardActor;

constexpr int PLAYER_HUMAN = 0;
constexpr int PLAYER_CPU = 1;
constexpr int STARTING_LIFE = 20;
constexpr int GRAVEYARD_CAPACITY = 40;

struct PlayerState {
    // The previous total is kept; reset is passed on for the rules (the console passes 0).
    static void SetLife(int player, int value, int reset);
    static int GetLife(int player);

    // What global enchantments give every creature of the player: power, toughness and keywords.
    CreatureStats m_CreatureBonus;
    // The player's lands counted by the colour they produce.
    ManaCost m_LandMana;
    std::array<CardActor*, GRAVEYARD_CAPACITY> m_Graveyard{};
    int m_GraveyardCount = 0;
    int m_LibraryCount = 0;
    int m_NextDrawIndex = 0;
};

// The record of player 0 or 1; null for any other number.
PlayerState* GetPlayerState(int player);
