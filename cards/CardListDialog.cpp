#include "cards/CardListDialog.h"

#include "cards/CardActor.h"
#include "cards/CardWindow.h"
#include "engine/core/Easing.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Manager.h"
#include "rules/Decks.h"
#include "rules/GameGlobals.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int CARD_GAP = 5;
constexpr int GRID_SLACK = 10;

std::unique_ptr<GUI_Button> MakeScrollButton(const char16_t* up, const char16_t* down, const char16_t* over,
                                             const char16_t* disabled)
{
    auto button = std::make_unique<GUI_Button>(GUI_KIND_BUTTON);
    button->SetShowUpImage(true);
    button->SetShowDownImage(true);
    button->SetShowMouseOverImage(true);
    button->SetUpImage(up, true);
    button->SetDownImage(down, true);
    button->SetMouseOverImage(over, true);
    button->SetDisabledImage(disabled, true);
    button->SizeToUpImage();
    return button;
}

void PlaceActor(CardActor* card, float x, float y)
{
    if (card == nullptr)
        return;
    card->m_Position.x = x;
    card->m_Position.y = y;
    card->m_TargetPoint.x = x;
    card->m_TargetPoint.y = y;
}

} // namespace

CardListDialog::CardListDialog(int player, std::uint32_t kind) : Messagebox(kind), m_Player(player)
{
    m_pScrollUp = MakeScrollButton(u"buttons\\ScrollUp.bmp", u"buttons\\ScrollUp_Down.bmp",
                                   u"buttons\\ScrollUp_MO.bmp", u"buttons\\ScrollUp_Disabled.bmp");
    m_pScrollDown = MakeScrollButton(u"buttons\\ScrollDown.bmp", u"buttons\\ScrollDown_Down.bmp",
                                     u"buttons\\ScrollDown_MO.bmp", u"buttons\\ScrollDown_Disabled.bmp");
    AddChild(m_pScrollUp.get());
    AddChild(m_pScrollDown.get());
    SetTextMargins(5, 0, 0, 5);
}

CardListDialog::~CardListDialog()
{
    ClearCards();
    // The scroll buttons are owned here, not by the window tree.
    RemoveChild(m_pScrollUp.get());
    RemoveChild(m_pScrollDown.get());
}

CardWindow* CardListDialog::GetCardWindow(int index) const
{
    return index >= 0 && index < GetCardCount() ? m_CardWindows[static_cast<std::size_t>(index)] : nullptr;
}

bool CardListDialog::IsReturning(const CardWindow* window) const
{
    return std::find(m_Returning.begin(), m_Returning.end(), window) != m_Returning.end();
}

int CardListDialog::IndexOf(const CardWindow* window) const
{
    const auto found = std::find(m_CardWindows.begin(), m_CardWindows.end(), window);
    return found != m_CardWindows.end() ? static_cast<int>(found - m_CardWindows.begin()) : -1;
}

// ---- Cards ----------------------------------------------------------------------------------------------------------

CardWindow* CardListDialog::AddCardWindow(CardActor* card)
{
    const GameDisplay& display = *GetGameDisplay();
    auto* const window = new CardWindow(GUI_KIND_CARD);
    window->SetCardActor(card);
    window->SetRect(m_Left, m_Top, m_Left + display.GetCardWidth(), m_Top + display.GetCardHeight(), true);
    AddChild(window);
    // Cards lie under the box's buttons, which the grid may reach (the Close button sits in its last row).
    m_Children.pop_back();
    m_Children.insert(m_Children.begin() + static_cast<std::ptrdiff_t>(m_CardWindows.size()), window);
    m_CardWindows.push_back(window);
    return window;
}

CardWindow* CardListDialog::AddCardById(int id)
{
    CardActor* const card = SpawnCardActor(id, m_Player);
    if (card == nullptr)
        return nullptr;
    m_SpawnedActors.emplace_back(card);
    return AddCardWindow(card);
}

void CardListDialog::ClearCards()
{
    // A drag in progress must not outlive its window.
    if (m_pDragged != nullptr) {
        m_pDragged = nullptr;
        GUI_Manager* const manager = GetGUIManager();
        if (manager->GetCaptureWindow() == this)
            manager->ReleaseCapture();
    }
    m_Returning.clear();
    const std::vector<CardWindow*> windows = std::move(m_CardWindows);
    m_CardWindows.clear();
    for (CardWindow* const window : windows) {
        RemoveChild(window);
        window->SetCardActor(nullptr);
        DeleteDetached(window);
    }
    std::vector<std::unique_ptr<CardActor>> spawned = std::move(m_SpawnedActors);
    m_SpawnedActors.clear();
    for (std::unique_ptr<CardActor>& card : spawned) {
        OnCardActorRemoved(card.get());
    }
}

void CardListDialog::LayoutGrid()
{
    m_Returning.clear();
    PlaceGrid();
    // The scroll buttons take the text area's right margin: with the margin changed the area is recomputed (a box
    // sized to its grid widens by it) and the grid placed again in it, or the buttons would stand past the box's
    // edge. A narrower area only adds rows, so the second placement needs the buttons as well.
    const bool scrolls = m_VisibleRows < m_TotalRows;
    const int margin = scrolls ? m_pScrollUp->GetWidth() : 0;
    if (margin != m_Margins[2]) {
        m_Margins[2] = margin;
        if (m_GridColumns >= 1 && m_GridRows >= 1)
            CardListDialog::SetGridSize(m_GridColumns, m_GridRows);
        else
            SetRect(m_Left, m_Top, m_Right, m_Bottom, true);
        PlaceGrid();
    }
    SetScrollButtonsShown(scrolls);
    if (scrolls) {
        m_pScrollUp->SetDisabled(m_FirstRow == 0);
        m_pScrollDown->SetDisabled(m_FirstRow + m_VisibleRows >= m_TotalRows);
    }
    RelayoutButtons();
}

void CardListDialog::PlaceGrid()
{
    const int n = GetCardCount();
    if (n == 0) {
        m_TotalRows = 0;
        m_VisibleRows = 0;
        m_FirstRow = 0;
        return;
    }
    const GameDisplay& display = *GetGameDisplay();
    const int cw = display.GetCardWidth();
    const int ch = display.GetCardHeight();
    const RasterRect& r = m_TextRect;
    const int w = r.right - r.left - GRID_SLACK;
    // The button row lies along the text area's bottom: the cards keep above it.
    const int h = r.bottom - r.top - GetButtonRowExtent(GetButtonCount(), m_Arrangement);
    // A text area narrower or lower than one card still shows one column and one row.
    const int columns = std::max(1, cw + CARD_GAP > 0 ? w / (cw + CARD_GAP) : 1);
    const int fitting = std::max(1, ch > 0 ? h / ch : 1);
    const int used = (cw + CARD_GAP) * columns - CARD_GAP;
    const int x0 = (w - used) / 2;
    m_TotalRows = (n + columns - 1) / columns;
    m_VisibleRows = std::min(fitting, m_TotalRows);
    if (m_FirstRow + m_VisibleRows > m_TotalRows)
        m_FirstRow = m_VisibleRows < m_TotalRows ? m_TotalRows - m_VisibleRows : 0;

    const int gap = (h - ch * m_VisibleRows) / (m_VisibleRows + 1);
    const int y0 = (h - ((ch + gap) * m_VisibleRows + gap)) / 2 + gap;
    int x = 0;
    int y = 0;
    for (int i = 0; i < n; ++i) {
        CardWindow* const window = m_CardWindows[static_cast<std::size_t>(i)];
        if (i < m_FirstRow * columns || i >= (m_FirstRow + fitting) * columns) {
            window->SetHidden(true);
            continue;
        }
        window->SetHidden(false);
        const int left = r.left + x0 + x;
        const int top = r.top + y0 + y;
        window->MoveTo(left, top, true);
        PlaceActor(window->GetCardActor(), static_cast<float>(left), static_cast<float>(top));
        x += cw + CARD_GAP;
        if (x + cw > used) {
            x = 0;
            y += ch + gap;
        }
    }
}

void CardListDialog::SetScrollButtonsShown(bool shown)
{
    for (GUI_Button* const button : {m_pScrollUp.get(), m_pScrollDown.get()}) {
        if (shown && !HasChild(button))
            AddChild(button);
        else if (!shown && HasChild(button))
            RemoveChild(button);
    }
}

// ---- Size and place -------------------------------------------------------------------------------------------------

void CardListDialog::SetGridSize(int columns, int rows)
{
    m_GridColumns = columns;
    m_GridRows = rows;
    const GameDisplay& display = *GetGameDisplay();
    const int width = GetInsetLeft() + GetInsetRight() + (display.GetCardWidth() + CARD_GAP) * columns +
                      m_Margins[0] + GRID_SLACK + m_Margins[2];
    // The button row is laid out along the text area's bottom: the grid gets room above it.
    const int height = GetInsetTop() + GetInsetBottom() + display.GetCardHeight() * rows +
                       GetButtonRowExtent(GetButtonCount(), m_Arrangement) + m_Margins[1] + m_Margins[3];
    SetRect(m_Left, m_Top, m_Left + width, m_Top + height, true);
}

void CardListDialog::Relayout()
{
    if (m_GridColumns >= 1 && m_GridRows >= 1)
        SetGridSize(m_GridColumns, m_GridRows);
    const RasterRect& screen = s_ScreenRect;
    int dx = m_Right > screen.right ? screen.right - m_Right : 0;
    int dy = m_Bottom > screen.bottom ? screen.bottom - m_Bottom : 0;
    if (m_Left + dx < screen.left)
        dx = screen.left - m_Left;
    if (m_Top + dy < screen.top)
        dy = screen.top - m_Top;
    if (dx != 0 || dy != 0)
        MoveBy(dx, dy, true);
    RelayoutButtons();
}

void CardListDialog::SetRect(int left, int top, int right, int bottom, bool layout)
{
    const int oldLeft = m_Left;
    const int oldTop = m_Top;
    Messagebox::SetRect(left, top, right, bottom, layout);
    // The cards' actors follow the window by the distance it really moved (the screen may have held it back).
    const float dx = static_cast<float>(m_Left - oldLeft);
    const float dy = static_cast<float>(m_Top - oldTop);
    if (dx == 0.0f && dy == 0.0f)
        return;
    for (CardWindow* const window : m_CardWindows) {
        if (CardActor* const card = window->GetCardActor()) {
            card->m_Position.x += dx;
            card->m_Position.y += dy;
            card->m_TargetPoint.x += dx;
            card->m_TargetPoint.y += dy;
        }
    }
}

void CardListDialog::Layout(int arrangement, int spacing)
{
    Messagebox::Layout(arrangement, spacing);
    if (!m_pScrollUp || !m_pScrollDown)
        return;
    m_pScrollUp->MoveTo(m_TextRect.right, m_TextRect.top, true);
    m_pScrollDown->MoveTo(m_TextRect.right, m_TextRect.bottom - m_pScrollDown->GetHeight(), true);
}

// ---- Frames and input -----------------------------------------------------------------------------------------------

void CardListDialog::Update()
{
    for (CardWindow* const window : std::vector<CardWindow*>(m_Returning)) {
        CardActor* const card = window->GetCardActor();
        if (card == nullptr) {
            std::erase(m_Returning, window);
            continue;
        }
        StepTowards(card->m_Position.x, card->m_Position.y, card->m_TargetPoint.x, card->m_TargetPoint.y,
                    CARD_LIST_RETURN_RATE);
        window->MoveTo(static_cast<int>(std::lround(card->m_Position.x)),
                       static_cast<int>(std::lround(card->m_Position.y)), true);
        if (card->m_Position.x == card->m_TargetPoint.x && card->m_Position.y == card->m_TargetPoint.y) {
            window->SetDepth(CARD_LIST_REST_DEPTH);
            std::erase(m_Returning, window);
        }
    }
    Messagebox::Update();
}

bool CardListDialog::HandleInput(const GUI_InputEvent& event)
{
    if (event.IsMouse() && (event.code == GUI_MOUSE_LEFT_DOWN || event.code == GUI_MOUSE_LEFT_DBLCLK)) {
        m_pDragged = nullptr;
        CardWindow* const window =
            HitTest(event.x, event.y) ? WindowCast<CardWindow>(GetGUIManager()->GetWindowAt(event.x, event.y)) : nullptr;
        CardActor* const card = window != nullptr && IndexOf(window) >= 0 ? window->GetCardActor() : nullptr;
        if (card != nullptr) {
            const auto returning = std::find(m_Returning.begin(), m_Returning.end(), window);
            const bool wasReturning = returning != m_Returning.end();
            const int index = static_cast<int>(returning - m_Returning.begin());
            // The test is a choice as well: it runs on every press, the drag only where cards may move.
            const bool chosen = m_MayDrag == nullptr || m_MayDrag(card, index);
            const bool allowed = m_bCardsMovable && chosen;
            if (allowed) {
                if (wasReturning) {
                    m_Returning.erase(returning);
                    m_DragOffsetX = event.x - static_cast<int>(card->m_Position.x);
                    m_DragOffsetY = event.y - static_cast<int>(card->m_Position.y);
                }
                m_pDragged = window;
                window->SetDepth(CARD_LIST_DRAG_DEPTH);
                m_HomeX = static_cast<int>(card->m_TargetPoint.x);
                m_HomeY = static_cast<int>(card->m_TargetPoint.y);
                if (!wasReturning) {
                    m_DragOffsetX = event.x - m_HomeX;
                    m_DragOffsetY = event.y - m_HomeY;
                }
                if (GUI_Interface* const screen = GetInterface())
                    screen->SetCapture(this);
                else
                    GetGUIManager()->SetCapture(this);
                return true;
            }
        }
    } else if (event.IsMouse() && event.code == GUI_MOUSE_LEFT_UP) {
        if (m_pDragged != nullptr) {
            EndDrag();
            return true;
        }
    } else if (event.IsMove() && m_pDragged != nullptr) {
        if ((event.keys & GUI_KEY_LBUTTON) == 0)
            EndDrag();
        else
            m_pDragged->MoveTo(event.x - m_DragOffsetX, event.y - m_DragOffsetY, true);
        return true;
    } else if (event.type == GUI_EVENT_COMMAND && event.sender != nullptr) {
        if (event.sender == m_pScrollUp.get()) {
            if (m_FirstRow == 0)
                return false;
            --m_FirstRow;
            LayoutGrid();
            return true;
        }
        if (event.sender == m_pScrollDown.get()) {
            if (m_FirstRow + 1 + m_VisibleRows > m_TotalRows)
                return false;
            ++m_FirstRow;
            LayoutGrid();
            return true;
        }
    }
    return Messagebox::HandleInput(event);
}

void CardListDialog::EndDrag()
{
    CardWindow* const window = m_pDragged;
    if (window == nullptr)
        return;
    CardActor* const card = window->GetCardActor();
    if (card != nullptr) {
        card->m_Position.x = static_cast<float>(window->GetLeft());
        card->m_Position.y = static_cast<float>(window->GetTop());
        card->m_TargetPoint.x = static_cast<float>(m_HomeX);
        card->m_TargetPoint.y = static_cast<float>(m_HomeY);
    }
    m_Returning.push_back(window);
    const int index = IndexOf(window);
    m_pDragged = nullptr;
    if (GUI_Interface* const screen = GetInterface())
        screen->ReleaseCapture();
    else if (GetGUIManager()->GetCaptureWindow() == this)
        GetGUIManager()->ReleaseCapture();
    if (m_Dropped != nullptr)
        m_Dropped(card, index);
}

void CardListDialog::OnCaptureLost()
{
    EndDrag();
    Messagebox::OnCaptureLost();
}
