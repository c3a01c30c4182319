// The toolkit's text window: a text given by string key (looked up through the host) or literally, drawn plain
// by the raster or as a formatted text through the host's layout, placed in a nine-way grid inside the window
// less four margins, optionally with a one-pixel shadow; it can size its window to fit the text.
#pragma once

#include "gui/GUI_Window.h"

#include <string>

struct FormattedText;

constexpr int GLBL_VERSION = 11;
constexpr int LABEL_DEFAULT_FONT = 11;
constexpr int LABEL_TEXT_DEPTH_AFTER = 19999;
// The height of the rectangle in which a formatted text is laid out to be measured.
constexpr int LABEL_LAYOUT_HEIGHT = 100000;

class GUI_Label : public virtual GUI_Window {
public:
    explicit GUI_Label(std::uint32_t kind = GUI_KIND_LABEL);
    ~GUI_Label() override = default;

    virtual void SetTextID(std::u16string_view key);
    virtual void SetText(std::u16string_view text);
    virtual void DrawText();

    void SetRect(int left, int top, int right, int bottom, bool layout) override;
    void Draw() override;
    void Refresh() override;
    bool Load(const std::uint8_t* payload, std::size_t size, int versionTenths) override;
    bool Save(RecordWriter& writer) const override;

    void SetFont(int font);
    int GetFont() const { return m_Font; }
    void SetShadow(bool shadow);
    bool HasShadow() const { return m_bShadow; }
    void SetFitToText(bool fit, bool apply);
    void SetFormatted(bool formatted) { m_bFormatted = formatted; }
    void SetAlignment(int horizontal, int vertical);
    void SetMargins(int left, int top, int right, int bottom);
    void SetTextColour(const GUI_Colour& colour);
    const GUI_Colour& GetTextColour() const { return m_TextColour; }
    void SetShadowColour(const GUI_Colour& colour) { m_ShadowColour = colour; }
    // The key alone, looked up when the label is loaded (the data tool has no string tables).
    void SetTextKeyOnly(std::u16string_view key) { m_TextKey = key; }
    static int GetAlignmentCode(int horizontal, int vertical);
    RasterRect GetTextRect() const;
    void UpdateFormattedText();
    void FitToText();
    const std::u16string& GetTextID() const { return m_TextKey; }
    // The plain text shown; empty for a formatted label.
    const std::u16string& GetResolvedText() const { return m_ResolvedText; }
    bool IsFormatted() const { return m_bFormatted; }
    bool IsFitToText() const { return m_bFitToText; }
    // The host's record for the key, fetched now (records die with each scene load).
    FormattedText* GetFormattedRecord() const;
    // Drawing starts this far down the text rectangle; negative scrolls the text up.
    void SetTextOffset(int pixels) { m_TextOffset = pixels; }
    int GetTextOffset() const { return m_TextOffset; }
    // The height of the text laid out for the text rectangle's width.
    int GetTextHeight();

    bool m_bFlagA = true;
    std::uint32_t m_ValueB = 0;
    bool m_bFlagC = false;
    std::uint32_t m_ValueD = 0;

protected:
    bool LoadLabelRecord(const std::uint8_t* payload, std::size_t size, int versionTenths);
    bool SaveLabelRecord(RecordWriter& writer, bool withChildren) const;
    void DrawTextIn(const RasterRect& rect, const GUI_Colour& colour);

    std::u16string m_TextKey;
    int m_Font = LABEL_DEFAULT_FONT;
    GUI_Colour m_TextColour;
    int m_HorizontalAlignment = 1;
    int m_VerticalAlignment = 1;
    int m_Margins[4] = {};
    bool m_bFormatted = false;
    bool m_bFitToText = false;
    bool m_bShadow = false;
    GUI_Colour m_ShadowColour{0, 0, 0, 255};
    std::u16string m_ResolvedText;
    int m_TextOffset = 0;
};

// 0x00BBGGRR, as the raster's text takes it.
std::uint32_t PackTextColour(const GUI_Colour& colour);
