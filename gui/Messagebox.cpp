#include "gui/Messagebox.h"

#include "engine/core/LanguageManager.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/Wave.h"
#include "gui/ExplanatoryWindow.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "gui/GUI_TextButton.h"
#include "gui/TextButton.h"

#include <algorithm>

namespace {

constexpr int TEXT_DEPTH_AFTER = 19999;
// Extra windows sit this far from the text's left and above the button row.
constexpr int EXTRA_WINDOW_INDENT = 10;
constexpr int EXTRA_WINDOW_GAP = 8;
constexpr int BUTTON_TEXT_PADDING = 32;

Messagebox* s_pQuitWarning = nullptr;

int TextureHeight(int id)
{
    return id < 0 ? 0 : GetGameDisplay()->GetTextureRecord(id).height;
}

int MeasureWidth(std::u16string_view text, int font)
{
    int width = 0;
    int height = 0;
    int ascent = 0;
    if (text.empty() || !GetRaster()->MeasureText(text, font, width, height, ascent))
        return 0;
    return width;
}

GUI_Colour Unpack(std::uint32_t colour)
{
    return GUI_Colour{colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF, 255};
}

} // namespace

void SetWindowColor(GUI_TextButton* window, int red, int green, int blue, int alpha)
{
    if (window == nullptr)
        return;
    window->SetTextColour(GUI_Colour{static_cast<std::uint32_t>(red), static_cast<std::uint32_t>(green),
                                     static_cast<std::uint32_t>(blue), static_cast<std::uint32_t>(alpha)});
    window->Invalidate(false);
}

Messagebox::Messagebox(std::uint32_t kind) : Dialog(kind)
{
    SetSkin(IsOnlineLesson() ? u"GUI\\Skins\\Online.skn" : u"GUI\\Skins\\Physical.skn", true, false);
    SetBorderMode(BORDER_SKIN);
    for (std::size_t i = 0; i < m_ButtonPieces.size(); ++i) {
        m_ButtonPieces[i] = GetTextureByName(DIALOG_BUTTON_FACES[i]);
    }
}

Messagebox::~Messagebox()
{
    ClearButtons();
    ClearExtraWindows();
    CloseExplanation();
}

void Messagebox::DeleteDetached(GUI_Window* window)
{
    GUI_Manager* const manager = GetGUIManager();
    if (manager->IsDispatching())
        manager->DeleteWindowLater(window);
    else
        delete window;
}

// ---- Text -----------------------------------------------------------------------------------------------------------

void Messagebox::SetText(const char16_t* text, bool /*copy*/, bool /*owned*/)
{
    if (text == nullptr) {
        m_Text.clear();
        m_bHasText = false;
        return;
    }
    CopyText(text);
}

void Messagebox::CopyText(std::u16string_view text)
{
    m_Text.assign(text);
    m_bHasText = !text.empty();
    if (m_bHasText)
        m_TextBlockKey.clear();
}

FormattedText* Messagebox::GetTextBlock() const
{
    return m_TextBlockKey.empty() ? nullptr : ::GetFormattedText(m_TextBlockKey);
}

void Messagebox::SetTextBlock(FormattedText* record, bool resize, bool withButtonRow, int count, int arrangement)
{
    m_TextBlockKey = record != nullptr ? record->m_Key : std::u16string();
    if (record == nullptr)
        return;
    record->m_Width = -1;
    const int textHeight = GUI_System::DrawFormattedText(record, m_TextRect, MESSAGEBOX_FONT, 0,
                                                             PackColour(255, 255, 255), -1, 0, true);
    if (!resize)
        return;
    int height = textHeight + (GetHeight() - m_TextRect.Height());
    if (withButtonRow)
        height += GetButtonRowExtent(count, arrangement);
    record->m_Width = GetWidth();
    record->m_Height = height;
    const int oldHeight = GetHeight();
    SetRect(m_Left, m_Top, m_Right, m_Top + height, true);
    const int dy = GetHeight() - oldHeight;
    for (GUI_Window* const child : std::vector<GUI_Window*>(m_Children)) {
        child->MoveBy(0, dy, true);
    }
}

void Messagebox::SetTextColor(int red, int green, int blue)
{
    m_TextColour = PackColour(static_cast<std::uint32_t>(red), static_cast<std::uint32_t>(green),
                              static_cast<std::uint32_t>(blue));
}

void Messagebox::SetTextMargins(int left, int top, int right, int bottom)
{
    m_Margins[0] = left;
    m_Margins[1] = top;
    m_Margins[2] = right;
    m_Margins[3] = bottom;
    SetRect(m_Left, m_Top, m_Right, m_Bottom, true);
}

void Messagebox::SetTextRect(const RasterRect& rect)
{
    m_TextRect = RasterRect{rect.left + m_Margins[0], rect.top + m_Margins[1], rect.right - m_Margins[2],
                            rect.bottom - m_Margins[3]};
}

// ---- Geometry -------------------------------------------------------------------------------------------------------

int Messagebox::GetInsetLeft() const
{
    int l = 0, t = 0, r = 0, b = 0;
    GetSkinInsets(l, t, r, b);
    return m_Frame[FRAME_LEFT] >= 0 ? FramePieceWidth(FRAME_LEFT) : l;
}

int Messagebox::GetInsetTop() const
{
    int l = 0, t = 0, r = 0, b = 0;
    GetSkinInsets(l, t, r, b);
    return m_Frame[FRAME_TOP] >= 0 ? FramePieceHeight(FRAME_TOP) : t;
}

int Messagebox::GetInsetRight() const
{
    int l = 0, t = 0, r = 0, b = 0;
    GetSkinInsets(l, t, r, b);
    return m_Frame[FRAME_RIGHT] >= 0 ? FramePieceWidth(FRAME_RIGHT) : r;
}

int Messagebox::GetInsetBottom() const
{
    int l = 0, t = 0, r = 0, b = 0;
    GetSkinInsets(l, t, r, b);
    return m_Frame[FRAME_BOTTOM] >= 0 ? FramePieceHeight(FRAME_BOTTOM) : b;
}

void Messagebox::SetRect(int left, int top, int right, int bottom, bool layout)
{
    Dialog::SetRect(left, top, right, bottom, layout);
    // Margins may reach past thin borders; the text and the button row laid out in it stay inside the box.
    m_TextRect = RasterRect{std::max(m_Left, m_Left + GetInsetLeft() + m_Margins[0]),
                            std::max(m_Top, m_Top + GetInsetTop() + m_Margins[1]),
                            std::min(m_Right, m_Right - GetInsetRight() - m_Margins[2]),
                            std::min(m_Bottom, m_Bottom - GetInsetBottom() - m_Margins[3])};
    const RasterRect strip{0, 0, GetWidth(), GetInsetTop()};
    SetDragArea(&strip);
    PlaceExplanation(nullptr, 0);
}

void Messagebox::SetScaledSize(int width, int height)
{
    const float scale = GetLanguageManager()->GetTextScale();
    SetSize(static_cast<int>(static_cast<float>(width) * scale), height);
}

void Messagebox::FitWidthToLines(const char16_t* text)
{
    const std::u16string_view source = text != nullptr ? std::u16string_view(text) : std::u16string_view(m_Text);
    int widest = 0;
    std::size_t start = 0;
    while (start <= source.size()) {
        const std::size_t end = std::min(source.find(u'\n', start), source.size());
        widest = std::max(widest, MeasureWidth(source.substr(start, end - start), m_Font));
        if (end == source.size())
            break;
        start = end + 1;
        if (start < source.size() && source[start] == u'\r')
            ++start;
    }
    SetRect(m_Left, m_Top,
            m_Left + widest + GetInsetLeft() + GetInsetRight() + m_Margins[0] + m_Margins[2], m_Bottom, true);
    RelayoutButtons();
}

void Messagebox::AutoSize()
{
    int height = GetHeight();
    if (FormattedText* const block = GetTextBlock()) {
        block->m_Width = -1;
        height = GUI_System::DrawFormattedText(block, m_TextRect, MESSAGEBOX_FONT, 0, PackColour(255, 255, 255),
                                                   -1, 0, true);
    } else if (m_bHasText) {
        RasterRect measured;
        GetRaster()->DrawTextNow(m_Text, m_TextRect, &measured, 0, m_Font);
        height = measured.Height();
    }
    height += GetButtonRowExtent(GetButtonCount(), m_Arrangement);
    for (std::size_t i = 0; i < m_ExtraWindows.size(); ++i) {
        height += m_ExtraWindows[i]->GetHeight() + (i > 0 ? m_Spacing : 0);
    }
    if (!m_ExtraWindows.empty())
        height += 4;
    height += GetInsetTop() + GetInsetBottom() + m_Margins[1] + m_Margins[3];
    SetRect(m_Left, m_Top, m_Right, m_Top + height, true);
    RelayoutButtons();
}

// ---- Standard buttons -----------------------------------------------------------------------------------------------

std::unique_ptr<TextButton> Messagebox::NewButton()
{
    return std::make_unique<TextButton>();
}

TextButton* Messagebox::FinishButton(std::unique_ptr<TextButton> button, std::uint32_t normal,
                                     std::uint32_t highlighted, std::uint32_t pressed, int font, int width,
                                     int position)
{
    button->SetNormalColour(normal);
    button->SetHighlightedColour(highlighted);
    button->SetPressedColour(pressed);
    button->SetFont(font);
    button->SetTag(GetButtonCount());
    button->SetClickEffect(MESSAGEBOX_CLICK_EFFECT);
    button->SetRect(m_Left, m_Top, m_Left + width, m_Top + button->GetHeight(), true);
    TextButton* const raw = button.release();
    InsertButton(raw, position);
    AddChild(raw);
    RelayoutButtons();
    return raw;
}

TextButton* Messagebox::AddButton(const char16_t* text, std::uint32_t normal, std::uint32_t highlighted,
                                  std::uint32_t pressed, int font, int width, int position)
{
    std::unique_ptr<TextButton> button = NewButton();
    button->SetText(text);
    if (width < 0)
        width = MeasureWidth(text != nullptr ? text : u"", font) + BUTTON_TEXT_PADDING;
    width = std::max(width, MESSAGEBOX_MIN_BUTTON_WIDTH);
    return FinishButton(std::move(button), normal, highlighted, pressed, font, width, position);
}

TextButton* Messagebox::AddFormattedButton(FormattedText* record, std::uint32_t normal, std::uint32_t highlighted,
                                           std::uint32_t pressed, int font, int width, int position)
{
    std::unique_ptr<TextButton> button = NewButton();
    button->SetFont(font);
    button->SetFormattedText(record);
    if (width < 0)
        width = (record != nullptr ? GUI_System::GetFormattedTextWidth(record, font) : 0) + BUTTON_TEXT_PADDING;
    return FinishButton(std::move(button), normal, highlighted, pressed, font, width, position);
}

void Messagebox::InsertButton(TextButton* button, int position)
{
    if (position >= 0 && position < GetButtonCount())
        m_Buttons.insert(m_Buttons.begin() + position, button);
    else
        m_Buttons.push_back(button);
}

void Messagebox::CreateButtons(int set)
{
    static const char16_t* const SETS[5][3] = {
        {u"STR_OK", nullptr, nullptr},
        {u"STR_Cancel", nullptr, nullptr},
        {u"STR_OK", u"STR_Cancel", nullptr},
        {u"STR_Yes", u"STR_No", nullptr},
        {u"STR_Yes", u"STR_No", u"STR_Cancel"},
    };
    ClearButtons();
    if (set < 0 || set >= 5)
        return;
    for (const char16_t* const key : SETS[set]) {
        if (key == nullptr)
            break;
        AddButton(::GetString(key), PackColour(255, 255, 255), PackColour(224, 248, 248), PackColour(36, 83, 83),
                  MESSAGEBOX_BUTTON_FONT, -1, -1);
    }
    MakeButtonsSameWidth();
}

void Messagebox::ClearButtons()
{
    const std::vector<TextButton*> buttons = std::move(m_Buttons);
    m_Buttons.clear();
    for (TextButton* const button : buttons) {
        RemoveChild(button);
        DeleteDetached(button);
    }
}

void Messagebox::MakeButtonsSameWidth()
{
    if (m_Buttons.empty())
        return;
    int widest = 0;
    for (const TextButton* const button : m_Buttons) {
        widest = std::max(widest, button->GetWidth());
    }
    for (TextButton* const button : m_Buttons) {
        button->SetRect(button->GetLeft(), button->GetTop(), button->GetLeft() + widest, button->GetBottom(), true);
    }
    RelayoutButtons();
}

void Messagebox::SetButtonDisabled(int index, bool disabled)
{
    if (TextButton* const button = GetButton(index))
        button->SetDisabled(disabled);
}

bool Messagebox::IsButtonDisabled(int index) const
{
    const TextButton* const button = GetButton(index);
    return button != nullptr && button->IsDisabled();
}

TextButton* Messagebox::GetButton(int index) const
{
    return index >= 0 && index < GetButtonCount() ? m_Buttons[static_cast<std::size_t>(index)] : nullptr;
}

int Messagebox::GetButtonRowExtent(int count, int arrangement) const
{
    if (count < 1)
        return 0;
    const int h = TextureHeight(m_ButtonPieces[1]);
    switch (arrangement) {
    case 0:
    case 1:
        return h + 8;
    case 2:
    case 3:
    case 4:
        return count * h + (count - 1) * m_Spacing;
    default:
        return 0;
    }
}

void Messagebox::Layout(int arrangement, int spacing)
{
    m_Arrangement = arrangement;
    m_Spacing = spacing;
    if (m_Buttons.empty() && m_ExtraWindows.empty())
        return;
    const RasterRect& r = m_TextRect;
    switch (arrangement) {
    case 0: {
        int x = r.left;
        for (TextButton* const b : m_Buttons) {
            b->MoveTo(x, r.bottom - b->GetHeight(), true);
            x += b->GetWidth() + spacing;
        }
        break;
    }
    case 1: {
        int right = r.right;
        for (auto it = m_Buttons.rbegin(); it != m_Buttons.rend(); ++it) {
            (*it)->MoveTo(right - (*it)->GetWidth(), r.bottom - (*it)->GetHeight(), true);
            right -= (*it)->GetWidth() + spacing;
        }
        break;
    }
    case 2:
    case 3:
    case 4: {
        int bottom = r.bottom;
        for (auto it = m_Buttons.rbegin(); it != m_Buttons.rend(); ++it) {
            TextButton* const b = *it;
            const int x = arrangement == 2   ? r.left
                          : arrangement == 3 ? r.right - b->GetWidth()
                                             : r.left + (r.Width() - b->GetWidth()) / 2;
            b->MoveTo(x, bottom - b->GetHeight(), true);
            bottom -= b->GetHeight() + spacing;
        }
        break;
    }
    case 5: {
        int sum = 0;
        for (const TextButton* const b : m_Buttons) {
            sum += b->GetHeight();
        }
        const int count = GetButtonCount();
        const int gap = count >= 2 && sum < r.Height() ? (r.Height() - sum) / (count - 1) : 0;
        int top = r.top;
        for (auto it = m_Buttons.rbegin(); it != m_Buttons.rend(); ++it) {
            (*it)->MoveTo(r.right - (*it)->GetWidth(), top, true);
            top += (*it)->GetHeight() + gap;
        }
        break;
    }
    default:
        break;
    }

    int y = r.bottom;
    if ((arrangement == 0 || arrangement == 1) && !m_Buttons.empty()) {
        y = m_Buttons.front()->GetTop();
        for (const TextButton* const b : m_Buttons) {
            y = std::min(y, b->GetTop());
        }
    }
    y -= EXTRA_WINDOW_GAP;
    for (auto it = m_ExtraWindows.rbegin(); it != m_ExtraWindows.rend(); ++it) {
        (*it)->MoveTo(r.left + EXTRA_WINDOW_INDENT, y - (*it)->GetHeight(), true);
        y -= (*it)->GetHeight() + spacing;
    }
}

// ---- Extra windows --------------------------------------------------------------------------------------------------

GUI_TextButton* Messagebox::CreateTextButton(const char16_t* text, std::uint32_t normal, std::uint32_t highlighted,
                                             std::uint32_t pressed, int font, int position)
{
    auto* window = new GUI_TextButton(GUI_KIND_TEXTBUTTON);
    window->SetBorderMode(BORDER_NONE);
    window->SetFont(font);
    window->SetText(text != nullptr ? text : u"");
    window->SetTextColour(Unpack(normal));
    const GUI_Colour high = Unpack(highlighted);
    const GUI_Colour down = Unpack(pressed);
    window->SetHighlightedTextColour(high.r, high.g, high.b, 255);
    window->SetPressedTextColour(down.r, down.g, down.b, 255);
    window->SetTag(GetExtraWindowCount());
    window->SetClickEffect(MESSAGEBOX_CLICK_EFFECT);
    window->SetAlignment(0, 1);
    window->SetFitToText(true, true);
    if (position >= 0 && position < GetExtraWindowCount())
        m_ExtraWindows.insert(m_ExtraWindows.begin() + position, window);
    else
        m_ExtraWindows.push_back(window);
    AddChild(window);
    RelayoutButtons();
    return window;
}

void Messagebox::ClearExtraWindows()
{
    const std::vector<GUI_TextButton*> windows = std::move(m_ExtraWindows);
    m_ExtraWindows.clear();
    for (GUI_TextButton* const window : windows) {
        RemoveChild(window);
        DeleteDetached(window);
    }
}

GUI_TextButton* Messagebox::GetExtraWindow(int index) const
{
    return index >= 0 && index < GetExtraWindowCount() ? m_ExtraWindows[static_cast<std::size_t>(index)] : nullptr;
}

GUI_TextButton* Messagebox::FindExtraWindowByTag(int tag) const
{
    for (GUI_TextButton* const window : m_ExtraWindows) {
        if (window->GetTag() == tag)
            return window;
    }
    return nullptr;
}

int Messagebox::GetExtraWindowsWidth() const
{
    int widest = 0;
    for (const GUI_TextButton* const window : m_ExtraWindows) {
        widest = std::max(widest, window->GetWidth());
    }
    return m_Margins[0] + widest + EXTRA_WINDOW_INDENT + m_Margins[2];
}

void Messagebox::ColorLinkLabels()
{
    for (GUI_TextButton* const window : m_ExtraWindows) {
        if (IsExplanationLinkVisited(window->GetTag()))
            SetWindowColor(window, 0, 160, 224, 255);
        else
            SetWindowColor(window, 255, 192, 0, 255);
    }
}

// ---- Explanation ----------------------------------------------------------------------------------------------------

void Messagebox::OpenExplanation(int link)
{
    const RasterRect& screen = s_ScreenRect;
    if (m_pExplanation == nullptr) {
        m_pExplanation = new ExplanatoryWindow();
        m_ExplanationSide = EXPLAIN_RIGHT;
        m_pExplanation->SetSize(std::max(screen.right - m_Right, m_Left), 0);
    }
    m_pExplanation->SetExplanation(link);
    m_pExplanation->MoveTo(m_Right, m_Top, true);
    if (!HasChild(m_pExplanation))
        AddChild(m_pExplanation);
    PlaceExplanation(nullptr, 0);
}

void Messagebox::CloseExplanation()
{
    if (m_pExplanation == nullptr)
        return;
    ExplanatoryWindow* const window = m_pExplanation;
    m_pExplanation = nullptr;
    RemoveChild(window);
    DeleteDetached(window);
}

void Messagebox::PlaceExplanation(const int* sides, int pass)
{
    // After a failed side, the others in this order.
    static const int FALLBACK[4][4] = {{1, 3, 2, -1}, {3, 2, 0, -1}, {0, 1, 3, -1}, {2, 0, 1, -1}};
    ExplanatoryWindow* const w = m_pExplanation;
    if (w == nullptr)
        return;
    const RasterRect& screen = s_ScreenRect;
    for (;;) {
        int x = 0;
        int y = 0;
        switch (m_ExplanationSide) {
        case EXPLAIN_LEFT:
            x = m_Left - w->GetWidth();
            y = m_Top - (w->GetHeight() - GetHeight()) / 2;
            break;
        case EXPLAIN_ABOVE:
            x = m_Left - (w->GetWidth() - GetWidth()) / 2;
            y = m_Top - w->GetHeight();
            break;
        case EXPLAIN_BELOW:
            x = m_Left - (w->GetWidth() - GetWidth()) / 2;
            y = m_Bottom;
            break;
        default:
            m_ExplanationSide = EXPLAIN_RIGHT;
            x = m_Right;
            y = m_Top - (w->GetHeight() - GetHeight()) / 2;
            break;
        }
        w->MoveTo(x, y, true);
        const bool horizontal = m_ExplanationSide == EXPLAIN_LEFT || m_ExplanationSide == EXPLAIN_RIGHT;
        if (horizontal ? w->GetLeft() == x : w->GetTop() == y)
            return;
        if (sides == nullptr)
            sides = FALLBACK[m_ExplanationSide];
        if (*sides < 0)
            break;
        m_ExplanationSide = *sides++;
    }

    const int need = w->GetExtraWindowsWidth();
    if (pass == 0) {
        if (need <= screen.right - m_Right) {
            m_ExplanationSide = EXPLAIN_RIGHT;
            w->SetSize(screen.right - m_Right, w->GetHeight());
        } else if (need <= m_Left) {
            m_ExplanationSide = EXPLAIN_LEFT;
            w->SetSize(m_Left, w->GetHeight());
        } else {
            w->SetSize(screen.right - screen.left, w->GetHeight());
            w->AutoSize();
            if (w->GetHeight() <= screen.bottom - m_Bottom)
                m_ExplanationSide = EXPLAIN_BELOW;
            else if (w->GetHeight() <= m_Top)
                m_ExplanationSide = EXPLAIN_ABOVE;
            else
                return;
            PlaceExplanation(nullptr, 1);
            return;
        }
        w->AutoSize();
        PlaceExplanation(nullptr, 1);
        return;
    }
    if (pass == 1) {
        m_ExplanationSide = EXPLAIN_RIGHT;
        const int avail = std::max({0, m_Left, screen.right - m_Right});
        if (avail >= need) {
            w->SetSize(avail, w->GetHeight());
            w->AutoSize();
            PlaceExplanation(nullptr, 2);
        }
    }
}

// ---- Drawing and input ----------------------------------------------------------------------------------------------

void Messagebox::Draw()
{
    if (!PrepareDraw())
        return;
    DrawBackground();
    DrawFrame();
    DrawText();
    DrawChildren();
    m_bDirty = false;
}

void Messagebox::DrawFrame()
{
    const bool anyPiece = std::any_of(m_Frame.begin(), m_Frame.end(), [](int id) { return id >= 0; });
    if (anyPiece)
        Dialog::DrawFrame();
    else
        DrawBorder();
}

void Messagebox::DrawText()
{
    Raster* const raster = GetRaster();
    raster->SetDepth(static_cast<int>(m_Depth));
    // The text stays above the button row, so a text taller than the box never covers the buttons.
    RasterRect rect = m_TextRect;
    rect.bottom -= GetButtonRowExtent(GetButtonCount(), m_Arrangement);
    if (FormattedText* const block = GetTextBlock())
        GUI_System::DrawFormattedText(block, rect, m_Font, 0, m_TextColour, -1, 0, true);
    else if (m_bHasText)
        raster->DrawText(m_Text, rect, 0, m_Font, m_TextColour, false);
    raster->SetDepth(TEXT_DEPTH_AFTER);
}

bool Messagebox::HandleInput(const GUI_InputEvent& event)
{
    if (event.type == GUI_EVENT_COMMAND && event.sender != nullptr) {
        for (TextButton* const button : m_Buttons) {
            if (static_cast<GUI_Window*>(button) == event.sender) {
                m_Answer = button->GetTag();
                PlayEffect(static_cast<int>(button->GetClickEffect()), 255, 0, 0, 0, nullptr);
                return true;
            }
        }
        for (GUI_TextButton* const window : m_ExtraWindows) {
            if (static_cast<GUI_Window*>(window) == event.sender) {
                m_ChosenExtraWindow = window->GetTag();
                PlayEffect(static_cast<int>(window->GetClickEffect()), 255, 0, 0, 0, nullptr);
                return true;
            }
        }
    }
    const bool handled = Dialog::HandleInput(event);
    if (m_pExplanation == nullptr || event.type != GUI_EVENT_COMMAND)
        return handled;
    if (m_pExplanation->GetAnswer() == 0) {
        CloseExplanation();
    } else if (m_pExplanation->GetPressedButton() >= 0) {
        const int link = m_pExplanation->GetPressedButton();
        SetWindowColor(m_pExplanation->FindExtraWindowByTag(link), 0, 160, 224, 255);
        OpenExplanation(link);
        m_pExplanation->ClearPressedButton();
        ColorLinkLabels();
    }
    return handled;
}

void Messagebox::RecalcLayout()
{
    const RasterRect strip{0, 0, GetWidth(), GetInsetTop()};
    SetDragArea(&strip);
    Dialog::RecalcLayout();
    RelayoutButtons();
    m_Answer = -1;
    m_ChosenExtraWindow = -1;
}

void Messagebox::Reset()
{
    ClearButtons();
    ClearExtraWindows();
    CloseExplanation();
    m_Answer = -1;
    m_ChosenExtraWindow = -1;
    m_Arrangement = 1;
}

// ---- The quit warning -----------------------------------------------------------------------------------------------

void ShowQuitWarning()
{
    if (s_pQuitWarning != nullptr)
        return;
    s_pQuitWarning = new Messagebox(DIALOG_KIND_MESSAGEBOX);
    s_pQuitWarning->SetScaledSize(300, 200);
    s_pQuitWarning->Reset();
    s_pQuitWarning->SetKind(QUIT_WARNING_KIND);
    s_pQuitWarning->SetText(::GetString(u"QuitGameWarning"), false, false);
    s_pQuitWarning->CreateButtons(3);
    s_pQuitWarning->AutoSize();
    s_pQuitWarning->CenterOnScreen();
    GetGameDisplay()->RegisterWindow(s_pQuitWarning);
    GetGameDisplay()->SetQuitButtonDisabled(true);
}

Messagebox* GetQuitWarningBox()
{
    return s_pQuitWarning;
}

void DeleteQuitWarningBox()
{
    Messagebox* const box = s_pQuitWarning;
    s_pQuitWarning = nullptr;
    if (box == nullptr)
        return;
    GetGameDisplay()->UnregisterWindow(box);
    delete box;
}
