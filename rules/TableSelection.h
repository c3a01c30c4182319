// The table's selection slots: what the learner points at, and the card being prepared, paid or X-collected.
// Shared by the table input, the payment and the lesson flows.
#pragma once

class CardActor;

// Ability steps of the selected-card driver.
constexpr int ABILITY_IDLE = 0;
constexpr int ABILITY_CHOOSE_TARGET = 1;
constexpr int ABILITY_PAY = 2;
constexpr int ABILITY_ACTIVATE = 3;

struct TableSelection {
    CardActor* selectedCard = nullptr;
    CardActor* pendingAbility = nullptr;
    CardActor* pendingSpell = nullptr;
    bool spellPayment = false;
    CardActor* xCostCard = nullptr;
    int abilityStep = ABILITY_IDLE;
    bool blocking = false;
    bool xCostCollecting = false;
    bool settingsMenuOpen = false;
};

TableSelection& GetTableSelection();
void ClearTableSelection();
// Clears every slot that holds the card.
void ForgetSelectedCard(const CardActor* card);
