#include "gui/GUI_System.h"
#include "gui/OldDialog.h"

#include "engine/core/LanguageManager.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gui/GUI_Manager.h"
#include "gui/OldButton.h"
#include "gui/TextButton.h"

#include <algorithm>

namespace {

constexpr int ENGLISH = 1;
constexpr int BUTTON_INSET = 14;
constexpr int ARROW_OVERHANG = 9;
constexpr int ARROW_TOP = 18;
constexpr int TEXT_MARGIN = 5;
constexpr int TEXT_FONT = 11;
constexpr int LINE_FONT = 7;
constexpr int LINE_INDENT = 20;
constexpr int LINE_HEIGHT = 20;
constexpr int CARD_ROW_LEFT = 16;
constexpr int CARD_ROW_TOP = 23;
// The arrow row leaves this much of the screen's width to the rest of the table.
constexpr int ARROW_ROW_RESERVE = 336;
constexpr int TEXT_DEPTH_AFTER = 19999;
constexpr std::uint32_t WHITE = 0x00FFFFFF;
// Colours as the raster takes them, 0x00BBGGRR.
constexpr std::uint32_t LINE_HOVER_COLOUR = 0x0000FFFF;
constexpr std::uint32_t LINE_COLOUR = 0x00FFFF00;

OldDialogActions s_Rules;

bool PointIn(const RasterRect& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

int TextureWidthByName(std::u16string_view name)
{
    return GetPieceWidth(GetTextureByName(name));
}

int TextureHeightByName(std::u16string_view name)
{
    return GetPieceHeight(GetTextureByName(name));
}

} // namespace

void SetOldDialogActions(const OldDialogActions& actions)
{
    s_Rules = actions;
}

OldDialog::OldDialog() : Dialog(OLD_DIALOG_KIND)
{
    m_Left = m_Top = m_Right = m_Bottom = 0;
}

OldDialog::~OldDialog()
{
    // Detached first: the window part would delete its children again.
    DetachButtons();
}

void OldDialog::SetText(std::u16string_view text)
{
    m_Text = text;
}

void OldDialog::SetTextBlock(std::u16string_view key, bool roomForOk)
{
    m_TextBlockKey = key;
    m_bRoomForOk = roomForOk;
}

void OldDialog::SetLines(const std::vector<std::u16string>* lines)
{
    if (lines != nullptr)
        m_Lines = *lines;
    else
        m_Lines.clear();
}

void OldDialog::SetSize(int width, int height, bool usePosition, int x, int y)
{
    const LanguageManager* const language = GetLanguageManager();
    const bool english = language != nullptr && language->GetLanguageId() == ENGLISH;
    if (!english && !IsOnlineLesson() && width < OLD_DIALOG_MIN_WIDTH && height < OLD_DIALOG_MIN_HEIGHT) {
        width = OLD_DIALOG_MIN_WIDTH;
        height = OLD_DIALOG_MIN_HEIGHT;
    }
    if (!usePosition || m_bTitleDragging) {
        x = m_Left;
        y = m_Top;
    }
    if (x + width > s_ScreenRect.right)
        x = s_ScreenRect.right - width;
    if (y + height > s_ScreenRect.bottom)
        y = s_ScreenRect.bottom - height;
    m_Left = x;
    m_Top = y;
    m_Right = x + width;
    m_Bottom = y + height;
    m_TitleStrip = RasterRect{x, y, x + width, y + OLD_DIALOG_TITLE_HEIGHT};
    if (!m_bSized) {
        m_bSized = true;
        m_bTitleDragging = false;
    }
    m_TextRect = RasterRect{m_Left, m_Top, m_Right, m_Bottom};
}

void OldDialog::DetachButtons()
{
    for (OldButton* const button : {m_pButtonA.get(), m_pButtonB.get()}) {
        if (button != nullptr)
            RemoveChild(button);
    }
}

void OldDialog::SetButtons(int mode, const char16_t* normal, const char16_t* highlighted, const char16_t* pressed,
                           std::uint32_t clickEffect, int player, int count)
{
    DetachButtons();
    m_Mode = mode;
    m_ModePlayer = player;
    m_ModeCount = count;
    if (mode == OLD_DIALOG_ONE_BUTTON || mode == OLD_DIALOG_TWO_PART_BUTTON) {
        if (m_pButtonA == nullptr)
            m_pButtonA = std::make_unique<OldButton>();
        if (mode == OLD_DIALOG_ONE_BUTTON)
            m_pButtonA->Set(0, normal, highlighted, highlighted, nullptr, nullptr, clickEffect);
        else
            m_pButtonA->Set(OLD_BUTTON_TWO_PART, normal, highlighted, highlighted, pressed, pressed, clickEffect);
        const std::u16string_view image = normal != nullptr ? normal : u"";
        const int width = TextureWidthByName(image);
        const int height = TextureHeightByName(image);
        const int x = m_Right - (width + BUTTON_INSET);
        const int y = m_Bottom - (height + BUTTON_INSET);
        m_pButtonA->SetRect(x, y, x + width, y + height, false);
        AddChild(m_pButtonA.get());
        return;
    }
    if (mode != OLD_DIALOG_ARROWS)
        return;
    if (m_pButtonA == nullptr)
        m_pButtonA = std::make_unique<OldButton>();
    if (m_pButtonB == nullptr)
        m_pButtonB = std::make_unique<OldButton>();
    m_pButtonA->Set(0, u"arrowleftup", u"arrowleftup", u"arrowleftdown", nullptr, nullptr, clickEffect);
    m_pButtonB->Set(0, u"arrowrightup", u"arrowrightup", u"arrowrightdown", nullptr, nullptr, clickEffect);
    const int leftX = m_Left - ARROW_OVERHANG;
    const int arrowY = m_Top + ARROW_TOP;
    m_pButtonA->SetRect(leftX, arrowY, leftX + TextureWidthByName(u"arrowleftup"),
                        arrowY + TextureHeightByName(u"arrowleftup"), false);
    const int rightWidth = TextureWidthByName(u"arrowrightup");
    const int rightX = m_Right - rightWidth + ARROW_OVERHANG;
    m_pButtonB->SetRect(rightX, arrowY, rightX + rightWidth, arrowY + TextureHeightByName(u"arrowrightup"), false);
    AddChild(m_pButtonA.get());
    AddChild(m_pButtonB.get());
}

RasterRect OldDialog::GetTextArea() const
{
    return RasterRect{m_Left + FramePieceWidth(FRAME_LEFT) + TEXT_MARGIN, m_Top + FramePieceHeight(FRAME_TOP) + TEXT_MARGIN,
                      m_Right - FramePieceWidth(FRAME_RIGHT) - TEXT_MARGIN,
                      m_Bottom - FramePieceHeight(FRAME_BOTTOM) - TEXT_MARGIN};
}

// The box grows or shrinks to its formatted text, its buttons moving with its bottom.
void OldDialog::DrawTextBlock()
{
    FormattedText* const record = GetFormattedText(m_TextBlockKey);
    if (record == nullptr) {
        DrawFrame();
        return;
    }
    RasterRect area = GetTextArea();
    const int measured = GUI_System::DrawFormattedText(record, area, TEXT_FONT, 0, WHITE, -1, 0, false);
    int height = measured + (GetHeight() - area.Height()) + 4;
    if (m_bRoomForOk)
        height += TextureHeightByName(u"psok");
    const int change = height - GetHeight();
    if (change != 0) {
        SetSize(GetWidth(), height, true, m_Left, m_Top);
        for (GUI_Window* const child : std::vector<GUI_Window*>(m_Children)) {
            child->MoveBy(0, change, true);
        }
        area = GetTextArea();
    }
    DrawFrame();
    Raster* const raster = GetRaster();
    raster->SetDepth(static_cast<int>(m_Depth));
    GUI_System::DrawFormattedText(record, area, TEXT_FONT, 0, WHITE, -1, 0, false);
    raster->SetDepth(TEXT_DEPTH_AFTER);
}

void OldDialog::DrawText()
{
    if (!m_TextBlockKey.empty()) {
        DrawTextBlock();
        return;
    }
    DrawFrame();
    if (m_Text.empty())
        return;
    Raster* const raster = GetRaster();
    raster->SetDepth(static_cast<int>(m_Depth));
    raster->DrawText(m_Text, GetTextArea(), 0, TEXT_FONT, WHITE, false);
    raster->SetDepth(TEXT_DEPTH_AFTER);
}

void OldDialog::DrawLines()
{
    m_HoveredLine = 0;
    if (m_Lines.empty())
        return;
    const int x = MouseState.x;
    const int y = MouseState.y;
    const bool mouseOver = PointIn(RasterRect{m_Left, m_Top, m_Right, m_Bottom}, x, y);
    const int count = static_cast<int>(m_Lines.size());
    Raster* const raster = GetRaster();
    raster->SetDepth(static_cast<int>(m_Depth));
    for (int i = 0; i < count; ++i) {
        const int lineTop = m_Bottom - LINE_INDENT - count * LINE_HEIGHT + i * LINE_HEIGHT;
        const RasterRect line{m_Left + LINE_INDENT, lineTop, m_Right - LINE_INDENT, lineTop + LINE_HEIGHT};
        const bool hovered = mouseOver && PointIn(line, x, y);
        if (hovered)
            m_HoveredLine = i + 1;
        raster->DrawText(m_Lines[static_cast<std::size_t>(i)], line, 0, LINE_FONT,
                         hovered ? LINE_HOVER_COLOUR : LINE_COLOUR, false);
    }
    raster->SetDepth(TEXT_DEPTH_AFTER);
    if (m_HoveredLine != 0 && MouseState.leftClicked != 0)
        MouseState.leftClicked = 0;
}

void OldDialog::DrawLibraryRow(int player, int first, int count) const
{
    if (s_Rules.GetLibraryCardTexture == nullptr)
        return;
    GameDisplay* const display = GetGameDisplay();
    int x = m_Left + CARD_ROW_LEFT;
    const float y = static_cast<float>(s_ScreenRect.top + m_Top + CARD_ROW_TOP);
    for (int k = 0; k < count; ++k) {
        const int texture = s_Rules.GetLibraryCardTexture(player, first + k);
        if (texture < 0)
            return;
        display->DrawTexture(texture, static_cast<float>(x), y, m_Depth, 0, 0);
        x += display->GetTextureRecord(texture).width;
    }
}

void OldDialog::Draw()
{
    m_bDrawn = true;
    DrawText();
    DrawLines();
    if (m_Mode == OLD_DIALOG_LIBRARY_ROW) {
        DrawLibraryRow(m_ModePlayer, 0, m_ModeCount);
    } else if (m_Mode == OLD_DIALOG_ARROWS) {
        const int scroll = s_Rules.GetLibraryScroll != nullptr ? s_Rules.GetLibraryScroll() : 0;
        const int first = s_Rules.GetLibraryCardTexture != nullptr ? s_Rules.GetLibraryCardTexture(0, scroll) : -1;
        const int cardWidth = first >= 0 ? GetGameDisplay()->GetTextureRecord(first).width : 0;
        if (cardWidth > 0)
            DrawLibraryRow(0, scroll, std::max(0, (s_ScreenRect.right - ARROW_ROW_RESERVE) / cardWidth));
    }
    GUI_Window::Draw();
    // Read after the buttons have drawn: they find the part under the pointer as they draw, so the answer is
    // this frame's and not the last one's.
    const int tagA = m_pButtonA != nullptr && HasChild(m_pButtonA.get()) ? m_pButtonA->GetTag() : 0;
    if (m_Mode == OLD_DIALOG_ARROWS) {
        const int tagB = m_pButtonB != nullptr && HasChild(m_pButtonB.get()) ? m_pButtonB->GetTag() : 0;
        m_Result = tagA != 0 ? 1 : tagB != 0 ? 2 : 0;
    } else {
        m_Result = tagA;
    }
}

void OldDialog::MoveWindowTo(int x, int y)
{
    const int dx = x - m_Left;
    const int dy = y - m_Top;
    if (dx == 0 && dy == 0)
        return;
    for (GUI_Window* const child : std::vector<GUI_Window*>(m_Children)) {
        child->MoveBy(dx, dy, true);
    }
    m_Left += dx;
    m_Right += dx;
    m_Top += dy;
    m_Bottom += dy;
    m_TitleStrip = RasterRect{m_Left, m_Top, m_Right, m_Top + OLD_DIALOG_TITLE_HEIGHT};
    m_TextRect = RasterRect{m_Left, m_Top, m_Right, m_Bottom};
}

void OldDialog::KeepInsideScreen()
{
    int x = m_Left;
    int y = m_Top;
    if (m_TitleStrip.left < s_ScreenRect.left)
        x = s_ScreenRect.left;
    else if (m_TitleStrip.right > s_ScreenRect.right)
        x = s_ScreenRect.right - GetWidth();
    if (m_TitleStrip.top < s_ScreenRect.top)
        y = s_ScreenRect.top;
    else if (m_Bottom > s_ScreenRect.bottom)
        y = s_ScreenRect.bottom - GetHeight();
    MoveWindowTo(x, y);
}

bool OldDialog::UpdateDrag()
{
    if (!m_bDrawn || !m_bSized)
        return false;
    const int x = MouseState.x;
    const int y = MouseState.y;
    if (!m_bTitleDragging) {
        const RasterRect strip{m_TitleStrip.left, m_TitleStrip.top, m_TitleStrip.right + 1, m_TitleStrip.bottom + 1};
        if (MouseState.leftClicked != 0 && PointIn(strip, x, y) && GetGUIManager()->GetWindowAt(x, y) == this) {
            m_bTitleDragging = true;
            m_TitleOffsetX = x - m_TitleStrip.left;
            m_TitleOffsetY = y - m_TitleStrip.top;
        }
        if (!m_bTitleDragging) {
            if (GetGameDisplay()->m_RelayoutRequested)
                KeepInsideScreen();
            return false;
        }
    }
    if (MouseState.leftHeld == 0) {
        m_bTitleDragging = false;
        return false;
    }
    MoveWindowTo(x - m_TitleOffsetX, y - m_TitleOffsetY);
    KeepInsideScreen();
    return true;
}
