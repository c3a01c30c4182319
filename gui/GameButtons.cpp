#include "gui/GameButtons.h"

#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gui/GUI_System.h"

#include <algorithm>

namespace {

constexpr std::uint32_t DRAW_KEYED = 0x80000000u;
constexpr int TEXT_DEPTH_AFTER = 19999;

int TextureWidth(int id)
{
    return id < 0 ? 0 : GetGameDisplay()->GetTextureRecord(id).width;
}

int TextureHeight(int id)
{
    return id < 0 ? 0 : GetGameDisplay()->GetTextureRecord(id).height;
}

} // namespace

const char16_t* const DIALOG_BUTTON_FACES[12] = {
    u"physdlgbtn-l",      u"physdlgbtn-c",      u"physdlgbtn-r",      u"physdlgbtn-l_mo",
    u"physdlgbtn-c_mo",   u"physdlgbtn-r_mo",   u"physdlgbtn-l_down", u"physdlgbtn-c_down",
    u"physdlgbtn-r_down", u"physdlgbtn-l_disabled", u"physdlgbtn-c_disabled", u"physdlgbtn-r_disabled",
};

TextButton::TextButton() : GUI_Window(GUI_KIND_GAME_TEXTBUTTON), GUI_Button(GUI_KIND_GAME_TEXTBUTTON)
{
    SetBorderMode(BORDER_NONE);
    SetFaceNames(DIALOG_BUTTON_FACES);
}

void TextButton::SetFaceNames(const char16_t* const (&names)[12])
{
    int ids[12];
    for (int i = 0; i < 12; ++i) {
        ids[i] = GetTextureByName(names[i]);
    }
    SetUpFacePieces(ids[0], ids[1], ids[2]);
    SetMouseOverFacePieces(ids[3], ids[4], ids[5]);
    SetDownFacePieces(ids[6], ids[7], ids[8]);
    SetDisabledFacePieces(ids[9], ids[10], ids[11]);
    GUI_Button::SetRect(m_Left, m_Top, m_Left + std::max(GetWidth(), TextureWidth(ids[1])),
                        m_Top + std::max(GetHeight(), TextureHeight(ids[1])), true);
}

void TextButton::SetText(const char16_t* text)
{
    m_Text = text != nullptr ? text : u"";
    m_pFormatted = nullptr;
}

void TextButton::SetFormattedText(FormattedText* record)
{
    m_pFormatted = record;
    if (record == nullptr)
        return;
    const int width = GUI_System::GetFormattedTextWidth(record, m_Font);
    GUI_System::DrawFormattedText(record, RasterRect{0, 0, width, 100000}, 11, 0, PackColour(255, 255, 255), -1, 0, true);
}

void TextButton::SetRect(int left, int top, int right, int bottom, bool layout)
{
    const auto& face = GetLook(LOOK_UP).face;
    right = std::max(right, left + TextureWidth(face[0]) + TextureWidth(face[2]));
    GUI_Button::SetRect(left, top, right, bottom, layout);
}

void TextButton::Draw()
{
    if (m_bHidden)
        return;
    ButtonLook look = LOOK_UP;
    std::uint32_t colour = m_NormalColour;
    if (m_bDisabled) {
        look = LOOK_DISABLED;
        colour = m_DisabledColour;
    } else if (IsPressed()) {
        look = LOOK_DOWN;
        colour = m_PressedColour;
    } else if (IsHighlighted()) {
        look = LOOK_MOUSEOVER;
        colour = m_HighlightedColour;
    }
    Raster* const raster = GetRaster();
    const auto& face = GetLook(look).face;
    const int leftWidth = TextureWidth(face[0]);
    const int rightWidth = TextureWidth(face[2]);
    const int width = std::max(GetWidth(), leftWidth + rightWidth);
    const auto x = static_cast<float>(m_Left);
    const auto y = static_cast<float>(m_Top);
    if (face[0] >= 0)
        raster->DrawTexture(face[0], x, y, x + leftWidth, y + TextureHeight(face[0]), m_Depth, DRAW_KEYED);
    if (face[1] >= 0)
        raster->DrawTextureTiled(face[1], x + leftWidth, y, x + width - rightWidth, y + TextureHeight(face[1]),
                                 m_Depth, DRAW_KEYED);
    if (face[2] >= 0)
        raster->DrawTexture(face[2], x + width - rightWidth, y, x + width, y + TextureHeight(face[2]), m_Depth,
                            DRAW_KEYED);

    raster->SetDepth(static_cast<int>(m_Depth));
    RasterRect rect{m_Left, m_Top, m_Right, m_Bottom};
    if (m_pFormatted != nullptr) {
        if (m_bShadow) {
            RasterRect shadow = rect;
            const int dy = (rect.Height() - m_pFormatted->m_Height) / 2;
            shadow.left += 1;
            shadow.right += 1;
            shadow.top += dy + 1;
            shadow.bottom += dy + 1;
            GUI_System::DrawFormattedText(m_pFormatted, shadow, m_Font, 1, m_ShadowColour, -1, 0, true);
            rect = RasterRect{shadow.left - 1, shadow.top - 1, shadow.right - 1, shadow.bottom - 1};
        }
        GUI_System::DrawFormattedText(m_pFormatted, rect, m_Font, 1, colour, -1, 0, true);
    } else if (!m_Text.empty()) {
        if (m_bShadow) {
            const RasterRect shadow{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
            raster->DrawText(m_Text, shadow, 4, m_Font, m_ShadowColour, false);
        }
        raster->DrawText(m_Text, rect, 4, m_Font, colour, false);
    }
    raster->SetDepth(TEXT_DEPTH_AFTER);
    m_bDirty = false;
}
