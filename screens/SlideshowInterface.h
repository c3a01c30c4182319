// The slide shows (screens 22 to 24): about the game, building a first deck, and the credits.
#pragma once

#include "screens/GameInterface.h"

#include <string>

class SlideshowInterface : public GameInterface {
public:
    SlideshowInterface();

    bool HandleInput(const GUI_InputEvent& event) override;
    void Refresh() override;
    void OnResize(int width, int height) override;

    void SetShow(int show);
    void ShowSlide();
    void SetSlide(int slide);
    void UpdateSlideButtons();
    static int GetSlideCount(int show);
    static std::u16string GetSlidePath(int show, int slide);

    int m_Slide = 0;
    int m_Show = -1;
};
