// The language choice overlay: one button per installed language in a centred box; the owner polls the chosen
// language id.
#pragma once

#include "screens/OverlayInterface.h"

class LanguageSelectInterface : public OverlayInterface {
public:
    LanguageSelectInterface();

    bool HandleInput(const GUI_InputEvent& event) override;

    // Arranges the buttons for an install kind (1 the western set, 2 the Chinese and Korean set, 3 Russian).
    void Setup(int installKind);

    int m_InstallKind = 0;
};

// The language id of the Chinese button: traditional with InstallType 2, else simplified.
int GetChineseLanguageId();
