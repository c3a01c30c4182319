#include "gui/GUI_System.h"
#include "gui/TextButton.h"

#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"

#include <algorithm>

namespace {

// The looks in the order of the face-name lists.
constexpr ButtonLook FACE_ORDER[LOOK_COUNT] = {LOOK_UP, LOOK_MOUSEOVER, LOOK_DOWN, LOOK_DISABLED};
constexpr int TEXT_LAYOUT_HEIGHT = 100000;
constexpr int LAYOUT_FONT = 11;
constexpr std::uint32_t WHITE = 0x00FFFFFF;
constexpr int ALIGN_CENTRED_BOTH = 4;
constexpr int STYLE_CENTRED = 1;

} // namespace

const char16_t* const DIALOG_BUTTON_FACES[12] = {
    u"physdlgbtn-l",      u"physdlgbtn-c",          u"physdlgbtn-r",          u"physdlgbtn-l_mo",
    u"physdlgbtn-c_mo",   u"physdlgbtn-r_mo",       u"physdlgbtn-l_down",     u"physdlgbtn-c_down",
    u"physdlgbtn-r_down", u"physdlgbtn-l_disabled", u"physdlgbtn-c_disabled", u"physdlgbtn-r_disabled",
};

int GetPieceWidth(int texture)
{
    return texture > 0 ? GetGameDisplay()->GetTextureRecord(texture).width : 0;
}

int GetPieceHeight(int texture)
{
    return texture > 0 ? GetGameDisplay()->GetTextureRecord(texture).height : 0;
}

TextButton::TextButton() : GUI_Window(TEXT_BUTTON_KIND), GUI_Button(TEXT_BUTTON_KIND)
{
    SetFaceNames(DIALOG_BUTTON_FACES);
    const int centre = GetLook(LOOK_UP).face[1];
    SetRect(0, 0, GetPieceWidth(centre), GetPieceHeight(centre), true);
}

void TextButton::SetFaceNames(const char16_t* const (&names)[12])
{
    for (int i = 0; i < LOOK_COUNT; ++i) {
        const char16_t* const* const piece = &names[i * 3];
        GetLook(FACE_ORDER[i]).face = {GetTextureByName(piece[0]), GetTextureByName(piece[1]),
                                       GetTextureByName(piece[2])};
    }
    const int centre = GetLook(LOOK_UP).face[1];
    SetRect(m_Left, m_Top, m_Left + std::max(GetWidth(), GetPieceWidth(centre)),
            m_Top + std::max(GetHeight(), GetPieceHeight(centre)), true);
}

int TextButton::GetEndPiecesWidth() const
{
    const std::array<int, 3>& up = GetLook(LOOK_UP).face;
    return GetPieceWidth(up[0]) + GetPieceWidth(up[2]);
}

void TextButton::SetRect(int left, int top, int right, int bottom, bool layout)
{
    right = std::max(right, left + GetEndPiecesWidth());
    GUI_Button::SetRect(left, top, right, bottom, layout);
}

void TextButton::SetText(const char16_t* text)
{
    m_Text = text != nullptr ? std::u16string(text) : std::u16string();
    m_FormattedKey.clear();
}

FormattedText* TextButton::GetFormattedText() const
{
    return m_FormattedKey.empty() ? nullptr : ::GetFormattedText(m_FormattedKey);
}

void TextButton::LayOutFormattedText(FormattedText* record) const
{
    const int width = GUI_System::GetFormattedTextWidth(record, m_Font);
    GUI_System::DrawFormattedText(record, RasterRect{0, 0, width, TEXT_LAYOUT_HEIGHT}, LAYOUT_FONT, 0, WHITE, -1, 0, false);
}

void TextButton::SetFormattedText(const FormattedText* record)
{
    m_FormattedKey = record != nullptr ? record->m_Key : std::u16string();
    if (FormattedText* const current = GetFormattedText())
        LayOutFormattedText(current);
}

const std::array<int, 3>& TextButton::GetStatePieces() const
{
    if (IsDisabled())
        return GetLook(LOOK_DISABLED).face;
    if (IsPressed())
        return GetLook(LOOK_DOWN).face;
    if (IsHighlighted())
        return GetLook(LOOK_MOUSEOVER).face;
    return GetLook(LOOK_UP).face;
}

std::uint32_t TextButton::GetStateColour() const
{
    if (IsDisabled())
        return m_DisabledColour;
    if (IsPressed())
        return m_PressedColour;
    if (IsHighlighted())
        return m_HighlightedColour;
    return m_NormalColour;
}

void TextButton::DrawPieces() const
{
    const std::array<int, 3>& pieces = GetStatePieces();
    const int leftWidth = GetPieceWidth(pieces[0]);
    const int rightWidth = GetPieceWidth(pieces[2]);
    const int width = std::max(GetWidth(), leftWidth + rightWidth);
    const float top = static_cast<float>(m_Top);
    Raster* const raster = GetRaster();
    float x = static_cast<float>(m_Left);
    if (leftWidth > 0)
        raster->DrawTexture(pieces[0], x, top, x + static_cast<float>(leftWidth),
                            top + static_cast<float>(GetPieceHeight(pieces[0])), m_Depth, PRIM_COLOR_KEY);
    x += static_cast<float>(leftWidth);
    const int centreWidth = width - leftWidth - rightWidth;
    if (pieces[1] > 0 && centreWidth > 0)
        raster->DrawTextureTiled(pieces[1], x, top, x + static_cast<float>(centreWidth),
                                 top + static_cast<float>(GetPieceHeight(pieces[1])), m_Depth, PRIM_COLOR_KEY);
    x += static_cast<float>(centreWidth);
    if (rightWidth > 0)
        raster->DrawTexture(pieces[2], x, top, x + static_cast<float>(rightWidth),
                            top + static_cast<float>(GetPieceHeight(pieces[2])), m_Depth, PRIM_COLOR_KEY);
}

void TextButton::DrawLabel() const
{
    Raster* const raster = GetRaster();
    raster->SetDepth(static_cast<int>(m_Depth));
    RasterRect rect{m_Left, m_Top, m_Right, m_Bottom};
    const std::uint32_t colour = GetStateColour();
    if (FormattedText* const record = GetFormattedText()) {
        // The record keeps the width it was laid out for; a new scene's record is laid out again.
        if (record->m_Width < 0)
            LayOutFormattedText(record);
        const int centring = (rect.Height() - record->m_Height) / 2;
        rect.top += centring;
        rect.bottom += centring;
        if (m_bShadow) {
            const RasterRect shadow{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
            GUI_System::DrawFormattedText(record, shadow, m_Font, STYLE_CENTRED, m_ShadowColour, -1, 0, false);
        }
        GUI_System::DrawFormattedText(record, rect, m_Font, STYLE_CENTRED, colour, -1, 0, false);
    } else if (!m_Text.empty()) {
        if (m_bShadow) {
            const RasterRect shadow{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
            raster->DrawText(m_Text, shadow, ALIGN_CENTRED_BOTH, m_Font, m_ShadowColour, false);
        }
        raster->DrawText(m_Text, rect, ALIGN_CENTRED_BOTH, m_Font, colour, false);
    }
    raster->SetDepth(TEXT_BUTTON_TEXT_DEPTH_AFTER);
}

void TextButton::Draw()
{
    if (m_bHidden)
        return;
    DrawPieces();
    DrawLabel();
    DrawChildren();
    m_bDirty = false;
}
