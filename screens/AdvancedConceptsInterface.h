// The advanced concepts (screen 19): nine topics, each a short series of slides paged through.
#pragma once

#include "screens/GameInterface.h"

#include <string>

class GUI_Window;

constexpr int ADVANCED_TOPIC_COUNT = 9;

class AdvancedConceptsInterface : public GameInterface {
public:
    AdvancedConceptsInterface();

    bool HandleInput(const GUI_InputEvent& event) override;
    void Refresh() override;

    void ShowTopic(int topic);
    void ShowSlide();
    void SetSlide(int slide);
    void UpdateSlideButtons();
    GUI_Window* GetTopicButton(int topic) const;
    static int GetSlideCount(int topic);
    // Empty for a topic without slides.
    static std::u16string GetSlidePath(int topic, int slide);

    int m_Slide = 0;
    int m_Topic = -1;
};

// "%d/%d" of a one-based position and a count.
std::u16string FormatPosition(int position, int count);
