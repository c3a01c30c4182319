// Placeholder until the card-list dialogs are built: a plain window that only remembers how many cards it lists.
#pragma once

#include "gui/GUI_Window.h"

class GraveyardDialog : public GUI_Window {
public:
    explicit GraveyardDialog(int player) : GUI_Window(GUI_KIND_WINDOW), m_Player(player) {}

    void Fill(int cardCount) { m_CardCount = cardCount; }
    int GetPlayer() const { return m_Player; }
    int GetCardCount() const { return m_CardCount; }

private:
    int m_Player = 0;
    int m_CardCount = 0;
};
