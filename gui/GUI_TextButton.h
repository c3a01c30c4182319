// A push button with a text: a GUI_Button and a GUI_Label over one shared window. It draws the button's look
// and then the label's text, tinted by the button's state.
#pragma once

#include "gui/GUI_Button.h"
#include "gui/GUI_Label.h"

constexpr int GTBT_VERSION = 11;

class GUI_TextButton : public GUI_Button, public GUI_Label {
public:
    explicit GUI_TextButton(std::uint32_t kind = GUI_KIND_TEXTBUTTON);
    ~GUI_TextButton() override = default;

    void SetRect(int left, int top, int right, int bottom, bool layout) override;
    bool HandleInput(const GUI_InputEvent& event) override;
    void Draw() override;
    void Refresh() override;
    bool Load(const std::uint8_t* payload, std::size_t size, int versionTenths) override;
    bool Save(RecordWriter& writer) const override;
    void OnDeviceLost() override { GUI_Button::OnDeviceLost(); }
    void ReloadTextures() override { GUI_Button::ReloadTextures(); }
    void DrawText() override;

    void SetPressedTextColour(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a);
    void SetHighlightedTextColour(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a);
    void SetDisabledTextColour(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a);
    // The colour the text is drawn in now.
    const GUI_Colour& GetStateTextColour() const;

    GUI_Colour m_PressedTextColour{240, 192, 192, 255};
    GUI_Colour m_HighlightedTextColour{192, 240, 240, 255};
    GUI_Colour m_DisabledTextColour{192, 192, 192, 255};
};
