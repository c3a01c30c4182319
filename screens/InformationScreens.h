// The three menus of the information screens that only lead on: learn more (screen 4), the web links (17) and
// more about the online game (18).
#pragma once

#include "screens/GameInterface.h"

class LearnMoreInterface : public GameInterface {
public:
    LearnMoreInterface();
    bool HandleInput(const GUI_InputEvent& event) override;
};

class VarrowLinksInterface : public GameInterface {
public:
    VarrowLinksInterface();
    bool HandleInput(const GUI_InputEvent& event) override;
};

class MoreAboutOnlineInterface : public GameInterface {
public:
    MoreAboutOnlineInterface();
    bool HandleInput(const GUI_InputEvent& event) override;
};
