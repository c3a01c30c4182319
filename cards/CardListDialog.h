// A message box that shows cards as a grid of card windows sized in whole cards, with scroll buttons when there
// are more rows than fit, and cards that may be dragged and slide back to their places when dropped.
#pragma once

#include "gui/Messagebox.h"

#include <memory>
#include <vector>

class CardActor;
class CardWindow;
class GUI_Button;

constexpr float CARD_LIST_DRAG_DEPTH = 4.0f;
constexpr float CARD_LIST_REST_DEPTH = 5.0f;
constexpr float CARD_LIST_RETURN_RATE = 300.0f;

class CardListDialog : public Messagebox {
public:
    // index: the card's place among the returning cards (their number when it was not returning).
    using MayDragTest = bool (*)(CardActor* card, int index);
    // index: the card's place in the list.
    using DroppedNotification = void (*)(CardActor* card, int index);

    CardListDialog(int player, std::uint32_t kind);
    ~CardListDialog() override;

    void SetRect(int left, int top, int right, int bottom, bool layout) override;
    void Update() override;
    bool HandleInput(const GUI_InputEvent& event) override;
    void OnCaptureLost() override;
    void Layout(int arrangement, int spacing) override;
    // Lays the list out again after the table changed size, keeping it on the screen.
    virtual void Relayout();
    // Sizes the window so that its text rectangle holds exactly that grid of cards.
    virtual void SetGridSize(int columns, int rows);

    CardWindow* AddCardWindow(CardActor* card);
    // The dialog makes and owns the card's actor; null when the actor cannot be made.
    CardWindow* AddCardById(int id);
    void ClearCards();
    void LayoutGrid();

    void SetCardsMovable(bool movable) { m_bCardsMovable = movable; }
    void SetMayDragTest(MayDragTest test) { m_MayDrag = test; }
    void SetDroppedNotification(DroppedNotification notification) { m_Dropped = notification; }

    int GetPlayer() const { return m_Player; }
    int GetFirstRow() const { return m_FirstRow; }
    int GetTotalRows() const { return m_TotalRows; }
    int GetVisibleRows() const { return m_VisibleRows; }
    int GetCardCount() const { return static_cast<int>(m_CardWindows.size()); }
    CardWindow* GetCardWindow(int index) const;
    GUI_Button* GetScrollUpButton() const { return m_pScrollUp.get(); }
    GUI_Button* GetScrollDownButton() const { return m_pScrollDown.get(); }
    CardWindow* GetDraggedWindow() const { return m_pDragged; }
    bool IsReturning(const CardWindow* window) const;

protected:
    void EndDrag();
    int IndexOf(const CardWindow* window) const;
    void SetScrollButtonsShown(bool shown);
    // Steps 2 to 7 of the grid's layout: rows, the first row shown, and each card's place in the text area.
    void PlaceGrid();

    int m_Player = 0;
    std::vector<CardWindow*> m_CardWindows;
    std::vector<std::unique_ptr<CardActor>> m_SpawnedActors;
    int m_FirstRow = 0;
    int m_TotalRows = 0;
    int m_VisibleRows = 0;
    std::unique_ptr<GUI_Button> m_pScrollUp;
    std::unique_ptr<GUI_Button> m_pScrollDown;
    CardWindow* m_pDragged = nullptr;
    std::vector<CardWindow*> m_Returning;
    int m_DragOffsetX = 0;
    int m_DragOffsetY = 0;
    int m_HomeX = 0;
    int m_HomeY = 0;
    bool m_bCardsMovable = false;
    MayDragTest m_MayDrag = nullptr;
    DroppedNotification m_Dropped = nullptr;
    int m_GridRows = -1;
    int m_GridColumns = -1;
};
