// The menus' message box overlay: a formatted text in a centred box over a full-screen backdrop, with one to
// three buttons whose index the owner polls as the result.
#pragma once

#include "screens/OverlayInterface.h"

#include <string_view>

class GUI_Window;

class MessageBoxInterface : public OverlayInterface {
public:
    MessageBoxInterface();

    bool HandleInput(const GUI_InputEvent& event) override;

    void SetText(std::u16string_view key);
    // 0 OK, 1 Cancel, 2 Yes and No, 3 Yes, No and Cancel; other kinds change nothing.
    void SetButtons(int kind);
    void FitButtons();
    // 0 row from the left, 1 centred row, 2 row from the right, 3 column at the left, 4 column at the right.
    void ArrangeButtons(int arrangement, int gap);
    void Rearrange();

    int m_Arrangement = 1;
    int m_Gap = 5;

private:
    GUI_Window* Button(int index) const;
};
