// The game's own buttons. TextButton: the standard button of message boxes, three face pieces and a centred
// text. Only what the message boxes need is here yet.
#pragma once

#include "gui/GUI_Button.h"

#include <string>

struct FormattedText;

constexpr std::uint32_t GUI_KIND_GAME_TEXTBUTTON = 5;

// Colours in buttons are 0x00BBGGRR.
constexpr std::uint32_t PackColour(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return r | (g << 8) | (b << 16);
}

class TextButton : public GUI_Button {
public:
    TextButton();

    void SetRect(int left, int top, int right, int bottom, bool layout) override;
    void Draw() override;

    void SetText(const char16_t* text);
    const std::u16string& GetText() const { return m_Text; }
    void SetFormattedText(FormattedText* record);
    FormattedText* GetFormattedText() const { return m_pFormatted; }
    void SetFont(int font) { m_Font = font; }
    int GetFont() const { return m_Font; }
    void SetNormalColour(std::uint32_t colour) { m_NormalColour = colour; }
    void SetHighlightedColour(std::uint32_t colour) { m_HighlightedColour = colour; }
    void SetPressedColour(std::uint32_t colour) { m_PressedColour = colour; }
    void SetDisabledColour(std::uint32_t colour) { m_DisabledColour = colour; }
    std::uint32_t GetNormalColour() const { return m_NormalColour; }
    std::uint32_t GetHighlightedColour() const { return m_HighlightedColour; }
    std::uint32_t GetPressedColour() const { return m_PressedColour; }
    std::uint32_t GetDisabledColour() const { return m_DisabledColour; }
    void SetShadow(bool shadow) { m_bShadow = shadow; }
    bool HasShadow() const { return m_bShadow; }
    // Face pieces by texture name: the four looks' left, centre and right, as twelve names in that order.
    void SetFaceNames(const char16_t* const (&names)[12]);

private:
    std::u16string m_Text;
    int m_Font = 8;
    std::uint32_t m_NormalColour = PackColour(255, 255, 255);
    std::uint32_t m_HighlightedColour = PackColour(192, 240, 240);
    std::uint32_t m_PressedColour = PackColour(240, 192, 192);
    std::uint32_t m_DisabledColour = PackColour(192, 192, 192);
    std::uint32_t m_ShadowColour = 0;
    FormattedText* m_pFormatted = nullptr;
    bool m_bShadow = true;
};

// The twelve face names of the message boxes' standard buttons.
extern const char16_t* const DIALOG_BUTTON_FACES[12];
