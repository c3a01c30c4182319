// A player's graveyard as a card list with a Close button; the table code opens and closes it.
#pragma once

#include "cards/CardListDialog.h"

constexpr std::uint32_t GRAVEYARD_DIALOG_KIND = 11;

class GraveyardDialog : public CardListDialog {
public:
    explicit GraveyardDialog(int player);
    ~GraveyardDialog() override;

    bool HandleInput(const GUI_InputEvent& event) override;
    void Relayout() override;
    void SetGridSize(int columns, int rows) override;

    // The list again from the player's graveyard.
    void FillCards();
};
