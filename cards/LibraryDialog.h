// The cards of a player's library from the next card to draw, as many as an effect lets the player see; the
// spell-effect code may let the player drag them.
#pragma once

#include "cards/CardListDialog.h"

constexpr std::uint32_t LIBRARY_DIALOG_KIND = 12;

class LibraryDialog : public CardListDialog {
public:
    LibraryDialog(int player, int maximum);
    ~LibraryDialog() override;

    void Relayout() override;
    void SetGridSize(int columns, int rows) override;

    void FillCards();
    int GetShownCount() const { return m_ShownCount; }

private:
    int m_ShownCount = 0;
};
