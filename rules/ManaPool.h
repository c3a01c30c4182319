// Mana sources, the players' pools and available mana, paying from a pool, the human's payment state, and mana
// burn.
#pragma once

#include "rules/ManaCost.h"

#include <vector>

class CardActor;

constexpr int TAPPED_LAND_CAPACITY = 20;

// Payment verdicts of the physical lesson.
constexpr int PAY_EXACT = 0;
constexpr int PAY_NOTHING_YET = 1;
constexpr int PAY_TOO_LITTLE = 2;
constexpr int PAY_TOO_MUCH = 3;
constexpr int PAY_WRONG_COLOURS = 4;

// A card that taps for mana (the CPU also counts a colour choice).
bool IsManaSource(const CardActor& card, bool forCpu);
const ManaCost& GetManaProduction(const CardActor& card);

void UpdateHumanAvailableMana();
void UpdateCpuAvailableMana();
const ManaCost& GetAvailableMana(int player);
void AddToPlayerPool(const ManaCost& amount, int player);
// All or nothing: a pool that cannot cover the cost is left as it was.
bool PayFromPool(const ManaCost& cost, ManaCost& pool);
bool PayFromPlayerPool(const ManaCost& cost, int player);
void ReturnPaidToPool(int player);
void ClearPlayerManaPool(int player);
bool IsPoolUnambiguous(int player);
bool HumanPoolCovers(const ManaCost& cost);
void ComputeOutstandingCost(CardActor& card, bool isAbility);
// Newest first: the tapped sources whose production fits into the amount, paid out of it.
void CollectSourcesForMana(std::vector<CardActor*>& sources, ManaCost& amount);
void SettleTappedSources();
// Only the human (0) burns; the CPU's pool is left alone.
void ApplyManaBurn(int player);
void AppendTappedLand(CardActor* card);
void UndoLastTappedLand();
// One step of the human's running payment; true when the cost is paid (or empty). clickedRow is the pool row
// under a pending click (GetManaPoolSymbolAt), -1 for none.
// The string key of the online prompt for generic mana: it names lands when the pool alone cannot cover it.
const char16_t* PaymentPromptKey(const ManaCost& pool, int costGeneric);
bool BeginManaPayment(CardActor& card, bool isAbility, int clickedRow = -1);
// The pool row (0 white, 1 blue, 2 black, 3 red, 4 green, 5 generic; +10 while a colour choice is pending) under
// the mouse inside the pool panel, or -1.
int GetManaPoolSymbolAt(int mouseX, int mouseY, int left, int top, int right, int bottom, bool clickPending,
                        bool colourChoicePending);
// The pool row under this frame's click on the human's status panel (where the pool counts are drawn), or -1.
int GetClickedPoolRow();
// Takes one mana of the row's colour from the human's pool into out (1 in that counter).
bool TakePoolSymbol(int row, ManaCost& out);
int CheckManaPaymentPhysical(const CardActor& card, bool isAbility);
int PayAbilityCost(CardActor& card);

// The payment state of the human.
struct PaymentState {
    bool paying = false;
    bool undoRequest = false;
    CardActor* tappedLands[TAPPED_LAND_CAPACITY] = {};
    ManaCost outstanding;
    ManaCost paidSoFar;
    // The symbols of the payment prompt: kind 0 none, 1 white, 2 blue, 3 black, 4 red, 5 green, 5 + n generic n.
    struct Symbol {
        int kind = 0;
        int x = 0;
        int y = 0;
    } symbols[5];
};
PaymentState& GetPaymentState();
// Everything above back to its start (a new game, tests).
void ResetManaPoolState();
