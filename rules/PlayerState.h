// The two player records, human first: mana pool, library, graveyard, life and the loss state, damage
// prevention and the bonuses a player's global enchantments give to that player's creatures.
#pragma once

#include "cards/CardRecords.h"
#include "rules/ManaCost.h"

#include <array>

class CardActor;

constexpr int PLAYER_HUMAN = 0;
constexpr int PLAYER_CPU = 1;
constexpr int STARTING_LIFE = 20;
constexpr int GRAVEYARD_CAPACITY = 40;
constexpr int LIBRARY_CAPACITY = 40;

// Loss states.
constexpr int LOSS_NONE = 0;
constexpr int LOSS_LIFE = 1;
constexpr int LOSS_EMPTY_LIBRARY = 2;

struct PlayerState {
    PlayerState() = default;

    // Back to the constructed state with library and graveyard emptied; life stays 0 for the caller to set.
    void ResetCounters();
    // With reset: life and previous life 20, loss state 0. Else previous := life, life := value; below 1 loses.
    void SetLife(int value, bool reset);
    void ChangeLife(int delta) { SetLife(m_Life + delta, false); }
    // Prevention is used up first when asked; a negative amount deals nothing. Returns the damage dealt.
    int TakeDamage(int amount, bool usePrevention);
    void SetDisplayedLife(int value) { m_DisplayedLife = value; }
    int GetDisplayedLife() const { return m_DisplayedLife; }
    // Setting it loses the game by an empty library unless the player already lost.
    void SetDrewFromEmptyLibrary(bool flag);
    int GetLife() const { return m_Life; }
    bool HasLost() const { return m_Life < 1 || m_LossState != LOSS_NONE; }
    // Set once the player has declared attackers this turn; the drivers clear it at each turn's start.
    void SetAttackDeclared(bool declared) { m_AttackDeclared = declared; }
    bool IsAttackDeclared() const { return m_AttackDeclared; }

    // Player-indexed forms for the console; an index other than 0 or 1 is ignored (life 0).
    static void SetLife(int player, int value, int reset);
    static int GetLife(int player);
    static int HasManaInPool(int player);
    static void ClearManaPool(int player);

    ManaCost m_ManaPool;
    // Card identifiers in draw order; 0 an empty slot.
    std::array<int, LIBRARY_CAPACITY> m_Library{};
    std::array<CardActor*, GRAVEYARD_CAPACITY> m_Graveyard{};
    int m_CardsToDraw = 0;
    int m_PreventDamage = 0;
    int m_DamageThisTurn = 0;
    bool m_TurnFlag = false;
    // What global enchantments give every creature of the player: power, toughness and keywords.
    CreatureStats m_CreatureBonus;
    // The colours of the mana lands the player can tap, summed.
    ManaCost m_LandColours;
    int m_Life = 0;
    int m_PreviousLife = 0;
    int m_DisplayedLife = 0;
    bool m_FlowFlag = false;
    bool m_DrewFromEmptyLibrary = false;
    bool m_AttackDeclared = false;
    int m_LossState = LOSS_NONE;
    // Graveyard length, library length and the next-draw index, kept with the record.
    int m_GraveyardCount = 0;
    int m_LibraryCount = 0;
    int m_NextDrawIndex = 0;
    // The library list's scroll position (the human's).
    int m_LibraryScroll = 0;
    // The CPU's mana as its display shows it (the mana it set aside for a payment).
    ManaCost m_ShownMana;
};

// The record of player 0 or 1; null for any other number.
PlayerState* GetPlayerState(int player);
// Both records back to the constructed state (tests and the rules' reset).
void ResetPlayerStates();
