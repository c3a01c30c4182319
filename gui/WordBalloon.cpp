#include "gui/WordBalloon.h"

#include <algorithm>

#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "gui/GUI_System.h"
#include "gui/TextButton.h"

namespace {

constexpr const char16_t* BALLOON_SKIN = u"GUI\\Skins\\WordBalloon.skn";
constexpr const char16_t* POINTER_RB = u"borders\\WordBalloon_RBPtr.bmp";
constexpr const char16_t* POINTER_LT = u"borders\\WordBalloon_LTPtr.bmp";

WordBalloonQueries s_Queries;

const char16_t* const BALLOON_BUTTON_FACES[12] = {
    u"physoppbtn-l",      u"physoppbtn-c",      u"physoppbtn-r",      u"physoppbtn-l_mo",
    u"physoppbtn-c_mo",   u"physoppbtn-r_mo",   u"physoppbtn-l_down", u"physoppbtn-c_down",
    u"physoppbtn-r_down", u"physoppbtn-l_dis",  u"physoppbtn-c_dis",  u"physoppbtn-r_dis",
};

} // namespace

void SetWordBalloonQueries(const WordBalloonQueries& queries)
{
    s_Queries = queries;
}

const WordBalloonQueries& GetWordBalloonQueries()
{
    return s_Queries;
}

WordBalloon::WordBalloon() : Messagebox(WORD_BALLOON_KIND)
{
    SetSkin(BALLOON_SKIN, true, false);
    SetTextColor(255, 255, 255);
    SetTextMargins(-4, -2, -4, -2);
}

WordBalloon::~WordBalloon()
{
    if (m_PointerTexture >= 0)
        GUI_System::ReleaseTexture(m_PointerTexture);
}

std::unique_ptr<TextButton> WordBalloon::NewButton()
{
    std::unique_ptr<TextButton> button = Messagebox::NewButton();
    button->SetShadow(false);
    button->SetDisabledColour(PackColour(128, 128, 128));
    button->SetFaceNames(BALLOON_BUTTON_FACES);
    return button;
}

void WordBalloon::CreateButtons(int set)
{
    Messagebox::CreateButtons(set);
    for (int i = 0; i < GetButtonCount(); ++i) {
        TextButton* const button = GetButton(i);
        if (button->GetKind() != TEXT_BUTTON_KIND)
            continue;
        button->SetNormalColour(PackColour(255, 255, 255));
        button->SetHighlightedColour(PackColour(255, 255, 224));
        button->SetPressedColour(PackColour(64, 64, 0));
    }
}

void WordBalloon::SetPointerSide(int side)
{
    if (side == m_PointerSide)
        return;
    m_PointerSide = side;
    // Forced: the same skin name would otherwise keep the corner the pointer replaced.
    SetSkin(BALLOON_SKIN, true, true);
    if (m_PointerTexture >= 0)
        GUI_System::ReleaseTexture(m_PointerTexture);
    m_PointerTexture = -1;
    if (side != POINTER_BOTTOM_RIGHT && side != POINTER_TOP_LEFT)
        return;
    SkinPieceSlot& corner = m_Pieces[side == POINTER_BOTTOM_RIGHT ? PIECE_RB : PIECE_LT];
    m_ReplacedCornerWidth = corner.element != nullptr ? corner.element->GetTextureWidth() : 0;
    m_PointerTexture = GUI_System::LoadBitmap(side == POINTER_BOTTOM_RIGHT ? POINTER_RB : POINTER_LT, false);
    AttachPointer();
    SetRect(m_Left, m_Top, m_Right, m_Bottom, true);
}

void WordBalloon::AttachPointer()
{
    GUI_ImageElement* const corner = m_Pieces[m_PointerSide == POINTER_BOTTOM_RIGHT ? PIECE_RB : PIECE_LT].element.get();
    if (m_PointerTexture < 0 || corner == nullptr)
        return;
    Raster* const raster = GetRaster();
    corner->Set(m_PointerTexture, 0, 0, raster->GetTextureWidth(m_PointerTexture),
                raster->GetTextureHeight(m_PointerTexture), SIZE_MODE_NATURAL, SIZE_MODE_NATURAL);
}

void WordBalloon::SetRect(int left, int top, int right, int bottom, bool layout)
{
    Messagebox::SetRect(left, top, right, bottom, layout);
    const RasterRect none{0, 0, 0, 0};
    SetDragArea(&none);
    PlacePointer();
}

// The pointer starts where the corner it replaces started and reaches past the window's edge by the difference
// of their widths; the neighbouring edge runs up to it. Placed from the window's rectangle, so that repeated
// layouts give the same result.
void WordBalloon::PlacePointer()
{
    if (m_PointerTexture < 0)
        return;
    Raster* const raster = GetRaster();
    const int width = raster->GetTextureWidth(m_PointerTexture);
    const int height = raster->GetTextureHeight(m_PointerTexture);
    const int d = width - m_ReplacedCornerWidth;
    GUI_ImageElement* const top = m_Pieces[PIECE_T].element.get();
    if (m_PointerSide == POINTER_BOTTOM_RIGHT) {
        GUI_ImageElement* const corner = m_Pieces[PIECE_RB].element.get();
        GUI_ImageElement* const bottom = m_Pieces[PIECE_B].element.get();
        if (corner != nullptr)
            corner->SetRect(m_Right - m_ReplacedCornerWidth, m_Bottom - height, width, height);
        if (bottom != nullptr && top != nullptr)
            bottom->SetSize(top->GetWidth() + d, top->GetHeight());
        // The right edge ends where a pointer taller than the corner begins: the wedge opens into the balloon.
        GUI_ImageElement* const right = m_Pieces[PIECE_R].element.get();
        if (right != nullptr && right->GetY() + right->GetHeight() > m_Bottom - height) {
            const int edgeBottom = std::max(right->GetY(), m_Bottom - height);
            right->SetRect(right->GetX(), right->GetY(), right->GetWidth(), edgeBottom - right->GetY());
        }
    } else if (m_PointerSide == POINTER_TOP_LEFT) {
        GUI_ImageElement* const corner = m_Pieces[PIECE_LT].element.get();
        if (corner != nullptr)
            corner->SetRect(m_Left - d, m_Top, width, height);
        const GUI_ImageElement* const rightCorner = m_Pieces[PIECE_RT].element.get();
        const int topRight = m_Right - (rightCorner != nullptr ? rightCorner->GetWidth() : 0);
        if (top != nullptr)
            top->SetRect(m_Left + m_ReplacedCornerWidth, top->GetY(), topRight - m_Left - m_ReplacedCornerWidth,
                         top->GetHeight());
        // The left edge is drawn after the corner: it starts below a pointer taller than the corner.
        GUI_ImageElement* const left = m_Pieces[PIECE_L].element.get();
        if (left != nullptr && m_Top + height > left->GetY()) {
            const int edgeBottom = left->GetY() + left->GetHeight();
            const int edgeTop = std::min(m_Top + height, edgeBottom);
            left->SetRect(left->GetX(), edgeTop, left->GetWidth(), edgeBottom - edgeTop);
        }
    }
}

void WordBalloon::RecalcLayout()
{
    Messagebox::RecalcLayout();
    const RasterRect none{0, 0, 0, 0};
    SetDragArea(&none);
}

void WordBalloon::ReloadTextures()
{
    const int left = m_Left, top = m_Top, right = m_Right, bottom = m_Bottom;
    GUI_Window::ReloadTextures();
    if (m_PointerTexture >= 0)
        GUI_System::ReloadBitmap(m_PointerTexture, m_PointerSide == POINTER_BOTTOM_RIGHT ? POINTER_RB : POINTER_LT,
                                 true, false);
    // Reloading gave the corner its skin image back.
    AttachPointer();
    SetRect(left, top, right, bottom, true);
}

void WordBalloon::Update()
{
    Messagebox::Update();
    if (s_Queries.IsSituationChanged == nullptr || !s_Queries.IsSituationChanged())
        return;
    const bool busy = s_Queries.IsTaggedActorBusy != nullptr && s_Queries.IsTaggedActorBusy(this);
    const char16_t* const respond = ::GetString(u"PHYSDLG_BUTTON_Respond");
    for (int i = 0; i < GetButtonCount(); ++i) {
        const bool isRespond = respond != nullptr && GetButton(i)->GetText() == respond;
        const bool cannotRespond = s_Queries.CanPlayerRespond != nullptr && !s_Queries.CanPlayerRespond(0);
        SetButtonDisabled(i, isRespond ? busy || cannotRespond : busy);
        SetDisabled(busy);
    }
}
