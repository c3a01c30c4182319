// The pale explanation panel that opens beside a message box: the text of one game term or card, an OK button
// and up to two links to related explanations. The fixed table of links and their visited flags live here.
#pragma once

#include "gui/Messagebox.h"

#include <string>

constexpr int EXPLANATION_LINK_COUNT = 25;

class ExplanatoryWindow : public Messagebox {
public:
    ExplanatoryWindow();
    ~ExplanatoryWindow() override = default;

    void DrawBackground() override;
    void DrawFrame() override;
    std::unique_ptr<TextButton> NewButton() override;

    void SetExplanation(int link);
    void AddRelatedLinks(int link);

private:
    std::uint16_t m_FillColour = 0;
    std::uint16_t m_FrameColour = 0;
};

// A new game clears them.
void ResetExplanationLinksVisited();
bool IsExplanationLinkVisited(int link);
// Empty when the index is outside the table or the caption has no text.
void GetExplanationLinkText(std::u16string& out, int link);
void GetExplanationTextKey(std::u16string& out, int link);
