// The standard button of the message boxes: three face pieces (left end, tiled centre, right end) with a centred
// plain or formatted text in the colour of its state.
#pragma once

#include "gui/GUI_Button.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

struct FormattedText;

constexpr std::uint32_t TEXT_BUTTON_KIND = 5;
constexpr int TEXT_BUTTON_FONT = 8;
constexpr int TEXT_BUTTON_TEXT_DEPTH_AFTER = 19999;

// Colours are red in the low byte, then green, then blue.
constexpr std::uint32_t PackColour(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return r | (g << 8) | (b << 16);
}

// The message boxes' standard faces: left, centre and right of the up, mouse-over, down and disabled looks.
extern const char16_t* const DIALOG_BUTTON_FACES[12];

class TextButton : public GUI_Button {
public:
    TextButton();

    void SetRect(int left, int top, int right, int bottom, bool layout) override;
    void Draw() override;

    // Drops the formatted text.
    void SetText(const char16_t* text);
    // Kept by the record's key and fetched again whenever it is drawn, since every scene load frees the records.
    // Null drops it.
    void SetFormattedText(const FormattedText* record);
    // The record of this scene, or null.
    FormattedText* GetFormattedText() const;
    // Other faces by texture name, in the order of DIALOG_BUTTON_FACES; the button grows to the centre piece.
    void SetFaceNames(const char16_t* const (&names)[12]);
    void SetFont(int font) { m_Font = font; }
    int GetFont() const { return m_Font; }
    bool HasShadow() const { return m_bShadow; }
    std::uint32_t GetNormalColour() const { return m_NormalColour; }
    std::uint32_t GetHighlightedColour() const { return m_HighlightedColour; }
    std::uint32_t GetPressedColour() const { return m_PressedColour; }
    std::uint32_t GetDisabledColour() const { return m_DisabledColour; }
    void SetNormalColour(std::uint32_t colour) { m_NormalColour = colour; }
    void SetHighlightedColour(std::uint32_t colour) { m_HighlightedColour = colour; }
    void SetPressedColour(std::uint32_t colour) { m_PressedColour = colour; }
    void SetDisabledColour(std::uint32_t colour) { m_DisabledColour = colour; }
    void SetShadowColour(std::uint32_t colour) { m_ShadowColour = colour; }
    void SetShadow(bool shadow) { m_bShadow = shadow; }

    const std::u16string& GetText() const { return m_Text; }
    const std::u16string& GetFormattedKey() const { return m_FormattedKey; }
    // The colour the text is drawn in now.
    std::uint32_t GetStateColour() const;

private:
    // The face pieces of the current state, left, centre, right.
    const std::array<int, 3>& GetStatePieces() const;
    // Width of the up look's end pieces together; a missing piece counts 0.
    int GetEndPiecesWidth() const;
    void LayOutFormattedText(FormattedText* record) const;
    void DrawPieces() const;
    void DrawLabel() const;

    std::u16string m_Text;
    int m_Font = TEXT_BUTTON_FONT;
    std::uint32_t m_NormalColour = PackColour(255, 255, 255);
    std::uint32_t m_HighlightedColour = PackColour(192, 240, 240);
    std::uint32_t m_PressedColour = PackColour(240, 192, 192);
    std::uint32_t m_DisabledColour = PackColour(192, 192, 192);
    std::uint32_t m_ShadowColour = PackColour(0, 0, 0);
    std::u16string m_FormattedKey;
    bool m_bShadow = true;
};

// Size of a registry texture; 0 by 0 for none (ids below 1: id 0 stands for a missing name).
int GetPieceWidth(int texture);
int GetPieceHeight(int texture);
