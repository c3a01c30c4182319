// The explanation pages (screens 20 and 21): paying costs and combat, each a few pages of a picture and a text
// that scrolls when it does not fit.
#pragma once

#include "screens/GameInterface.h"

#include <memory>
#include <string>

class GUI_Label;
class GUI_ScrollBar;
class GUI_Window;

class ExplainInterface : public GameInterface {
public:
    ExplainInterface();
    ~ExplainInterface() override;

    void Update() override;
    bool HandleInput(const GUI_InputEvent& event) override;
    void Refresh() override;
    void OnResize(int width, int height) override;

    void SetTopic(int topic);
    void ShowPage();
    void SetPage(int page);
    void UpdatePageButtons();
    void SetTextOffset(int pixels);
    GUI_Window* GetTopicButton(int topic) const;
    static int GetPageCount(int topic);
    static std::u16string GetSlidePath(int topic, int page);
    static std::u16string GetTextKey(int topic, int page);

    GUI_ScrollBar* GetScrollBar() const { return m_pScrollBar.get(); }

    int m_Page = 0;
    int m_Topic = -1;
    int m_LastScrollPosition = -1;

private:
    GUI_Label* GetTextLabel() const;
    int GetLineStep() const;

    std::unique_ptr<GUI_ScrollBar> m_pScrollBar;
};
