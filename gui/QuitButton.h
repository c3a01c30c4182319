// The game screen's quit button: a text button whose click opens the quit warning.
#pragma once

#include "gui/GUI_TextButton.h"

#include <memory>

class QuitButton : public GUI_TextButton {
public:
    QuitButton();

    bool HandleInput(const GUI_InputEvent& event) override;

    // Something the button may own; it goes with the button.
    std::unique_ptr<GUI_Window> m_pOwned;
};
