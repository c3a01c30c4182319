// Card lists: the grid sized in whole cards, scrolling, dragging a card and its slide home, the graveyard list's
// Close button and the library list's cards.
#include "cards/CardActor.h"
#include "cards/CardListDialog.h"
#include "cards/CardWindow.h"
#include "cards/CardWindows.h"
#include "cards/GraveyardDialog.h"
#include "cards/LibraryDialog.h"
#include "engine/core/Easing.h"
#include "gui/GUI_Button.h"
#include "rules/PlayerState.h"
#include "tests/gui/MessageboxFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

constexpr int CARD_W = 40;
constexpr int CARD_H = 50;

struct Drop {
    CardActor* card;
    int index;
};
std::vector<Drop> s_Drops;
std::vector<int> s_MayDragIndices;
bool s_MayDragAnswer = true;

class CardListDialogTest : public guitest::MessageboxFixture {
protected:
    void SetUp() override
    {
        MessageboxFixture::SetUp();
        AddString(u"STR_BUTTON_Close", u"Close");
        for (const char* const name : {"ScrollUp", "ScrollUp_Down", "ScrollUp_MO", "ScrollUp_Disabled", "ScrollDown",
                                       "ScrollDown_Down", "ScrollDown_MO", "ScrollDown_Disabled"}) {
            WriteImage(std::string("buttons/") + name + ".bmp", 16, 16, 0x2040A0);
        }
        GetGameDisplay()->m_CardWidth = CARD_W;
        GetGameDisplay()->m_CardHeight = CARD_H;
        s_Drops.clear();
        s_MayDragIndices.clear();
        s_MayDragAnswer = true;
        g_FrameMilliseconds = 0.0f;
    }
    void TearDown() override
    {
        for (int player = 0; player < 2; ++player) {
            CloseGraveyardDialog(player);
            GetPlayerState(player)->m_Graveyard.fill(nullptr);
            GetPlayerState(player)->m_GraveyardCount = 0;
        }
        GetGUIManager()->Clear();
        g_FrameMilliseconds = 0.0f;
        s_GameMode = 0;
        MessageboxFixture::TearDown();
    }

    // The human's graveyard holds the first count of the test's cards.
    void FillGraveyard(int count)
    {
        PlayerState& human = *GetPlayerState(0);
        human.m_Graveyard.fill(nullptr);
        for (int i = 0; i < count; ++i) {
            human.m_Graveyard[static_cast<std::size_t>(i)] = &m_Cards[static_cast<std::size_t>(i)];
        }
        human.m_GraveyardCount = count;
    }

    // A shown list at (10, 10) whose text area holds 3 columns and 2 rows of cards.
    std::unique_ptr<GraveyardDialog> MakeList(int cards)
    {
        FillGraveyard(cards);
        auto list = std::make_unique<GraveyardDialog>(0);
        list->SetRect(10, 10, 100, 100, true);
        list->SetGridSize(3, 2);
        GetGameDisplay()->RegisterWindow(list.get());
        return list;
    }

    static std::vector<bool> Hidden(const CardListDialog& list)
    {
        std::vector<bool> hidden;
        for (int i = 0; i < list.GetCardCount(); ++i) {
            hidden.push_back(list.GetCardWindow(i)->IsHidden());
        }
        return hidden;
    }

    std::array<CardActor, 8> m_Cards;
};

TEST_F(CardListDialogTest, SevenCardsInAThreeByTwoGridScrollRowByRow)
{
    auto list = MakeList(7);
    // Three columns, the scroll buttons' margin and the Close button's row.
    EXPECT_EQ(list->GetWidth(), 166);
    EXPECT_EQ(list->GetHeight(), 133);
    EXPECT_EQ(list->GetTotalRows(), 3);
    EXPECT_EQ(list->GetVisibleRows(), 2);
    EXPECT_EQ(Hidden(*list), (std::vector<bool>{false, false, false, false, false, false, true}));
    // Rows without a gap (the text area is exactly two cards high), centred across; each actor stands where its window is, and rests there.
    const std::array<std::pair<int, int>, 4> places = {{{17, 10}, {62, 10}, {107, 10}, {17, 60}}};
    for (std::size_t i = 0; i < places.size(); ++i) {
        const CardWindow* const window = list->GetCardWindow(static_cast<int>(i));
        EXPECT_EQ(window->GetLeft(), places[i].first) << i;
        EXPECT_EQ(window->GetTop(), places[i].second) << i;
        EXPECT_EQ(window->GetWidth(), CARD_W);
        EXPECT_EQ(m_Cards[i].m_Position.x, static_cast<float>(places[i].first));
        EXPECT_EQ(m_Cards[i].m_TargetPoint.y, static_cast<float>(places[i].second));
    }

    GUI_Button* const up = list->GetScrollUpButton();
    GUI_Button* const down = list->GetScrollDownButton();
    ASSERT_TRUE(list->HasChild(up));
    ASSERT_TRUE(list->HasChild(down));
    EXPECT_TRUE(up->IsDisabled());
    EXPECT_FALSE(down->IsDisabled());
    EXPECT_EQ(up->GetLeft(), 160);
    EXPECT_EQ(down->GetBottom(), 138);

    ClickWindow(down);
    EXPECT_EQ(list->GetFirstRow(), 1);
    EXPECT_EQ(Hidden(*list), (std::vector<bool>{true, true, true, false, false, false, false}));
    EXPECT_EQ(list->GetCardWindow(3)->GetTop(), 10);
    EXPECT_EQ(list->GetCardWindow(6)->GetTop(), 60);
    EXPECT_FALSE(up->IsDisabled());
    EXPECT_TRUE(down->IsDisabled());

    // Past the last row the click is refused; scrolling up shows the first rows again.
    GUI_InputEvent command;
    command.type = GUI_EVENT_COMMAND;
    command.sender = down;
    EXPECT_FALSE(list->HandleInput(command));
    EXPECT_EQ(list->GetFirstRow(), 1);
    ClickWindow(up);
    EXPECT_EQ(list->GetFirstRow(), 0);
    command.sender = up;
    EXPECT_FALSE(list->HandleInput(command));

    // An emptied list has no rows and no scroll buttons.
    FillGraveyard(0);
    list->FillCards();
    EXPECT_EQ(list->GetCardCount(), 0);
    EXPECT_EQ(list->GetTotalRows(), 0);
    EXPECT_EQ(list->GetVisibleRows(), 0);
    EXPECT_FALSE(list->HasChild(up));
    EXPECT_FALSE(list->HasChild(down));
}

TEST_F(CardListDialogTest, GridSmallerThanOneCardStillShowsOneColumnAndRow)
{
    FillGraveyard(3);
    GraveyardDialog list(0);
    for (const RasterRect& rect : {RasterRect{0, 0, 20, 20}, RasterRect{0, 0, 0, 0}, RasterRect{50, 50, 40, 40}}) {
        list.SetRect(rect.left, rect.top, rect.right, rect.bottom, true);
        list.FillCards();
        EXPECT_EQ(list.GetTotalRows(), 3);
        EXPECT_EQ(list.GetVisibleRows(), 1);
        EXPECT_EQ(Hidden(list), (std::vector<bool>{false, true, true}));
    }
}

TEST_F(CardListDialogTest, DroppedCardSlidesHomeAndCanBeGrabbedOnTheWay)
{
    auto list = MakeList(4);
    list->SetCardsMovable(true);
    list->SetDroppedNotification([](CardActor* card, int index) { s_Drops.push_back({card, index}); });
    list->SetMayDragTest([](CardActor*, int index) {
        s_MayDragIndices.push_back(index);
        return s_MayDragAnswer;
    });
    CardWindow* const window = list->GetCardWindow(0);
    GUI_Manager& manager = *GetGUIManager();

    // Grabbed inside its corner, the card follows the mouse with that offset, above the others.
    manager.DispatchEvent(Mouse(GUI_MOUSE_LEFT_DOWN, 20, 15, GUI_KEY_LBUTTON));
    EXPECT_EQ(list->GetDraggedWindow(), window);
    EXPECT_EQ(manager.GetCaptureWindow(), list.get());
    EXPECT_EQ(window->GetDepth(), CARD_LIST_DRAG_DEPTH);
    MoveTo(100, 100, GUI_KEY_LBUTTON);
    EXPECT_EQ(window->GetLeft(), 97);
    EXPECT_EQ(window->GetTop(), 95);
    manager.DispatchEvent(Mouse(GUI_MOUSE_LEFT_UP, 100, 100));
    EXPECT_EQ(list->GetDraggedWindow(), nullptr);
    EXPECT_EQ(manager.GetCaptureWindow(), nullptr);
    ASSERT_EQ(s_Drops.size(), 1u);
    EXPECT_EQ(s_Drops[0].card, &m_Cards[0]);
    EXPECT_EQ(s_Drops[0].index, 0);
    EXPECT_TRUE(list->IsReturning(window));
    EXPECT_EQ(m_Cards[0].m_Position.x, 97.0f);
    EXPECT_EQ(m_Cards[0].m_TargetPoint.x, 17.0f);

    // A fifth of the way home in a 40 ms frame.
    g_FrameMilliseconds = 40.0f;
    list->Update();
    EXPECT_EQ(window->GetLeft(), 81);
    EXPECT_EQ(window->GetTop(), 78);
    EXPECT_EQ(window->GetDepth(), CARD_LIST_DRAG_DEPTH);

    // Refused, the press leaves the card sliding.
    s_MayDragAnswer = false;
    manager.DispatchEvent(Mouse(GUI_MOUSE_LEFT_DOWN, 85, 85, GUI_KEY_LBUTTON));
    manager.DispatchEvent(Mouse(GUI_MOUSE_LEFT_UP, 85, 85));
    EXPECT_EQ(list->GetDraggedWindow(), nullptr);
    EXPECT_TRUE(list->IsReturning(window));
    // Allowed, the grab point stays under the mouse and the card leaves the returning cards.
    s_MayDragAnswer = true;
    manager.DispatchEvent(Mouse(GUI_MOUSE_LEFT_DOWN, 85, 85, GUI_KEY_LBUTTON));
    EXPECT_EQ(list->GetDraggedWindow(), window);
    EXPECT_FALSE(list->IsReturning(window));
    MoveTo(150, 150, GUI_KEY_LBUTTON);
    EXPECT_EQ(window->GetLeft(), 146);
    EXPECT_EQ(window->GetTop(), 143);
    // A move without the button ends the drag as a drop.
    MoveTo(150, 150);
    EXPECT_EQ(list->GetDraggedWindow(), nullptr);
    EXPECT_EQ(s_Drops.size(), 2u);
    EXPECT_EQ(s_MayDragIndices, (std::vector<int>{0, 0, 0}));

    g_FrameMilliseconds = 1000.0f;
    list->Update();
    EXPECT_EQ(window->GetLeft(), 17);
    EXPECT_EQ(window->GetTop(), 10);
    EXPECT_EQ(window->GetDepth(), CARD_LIST_REST_DEPTH);
    EXPECT_FALSE(list->IsReturning(window));
}

TEST_F(CardListDialogTest, CardsNotMovableAreNotDragged)
{
    auto list = MakeList(4);
    GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_LEFT_DOWN, 20, 15, GUI_KEY_LBUTTON));
    MoveTo(100, 100, GUI_KEY_LBUTTON);
    EXPECT_EQ(list->GetDraggedWindow(), nullptr);
    EXPECT_EQ(list->GetCardWindow(0)->GetLeft(), 17);
    EXPECT_NE(GetGUIManager()->GetCaptureWindow(), list.get());
}

TEST_F(CardListDialogTest, ClearingTheCardsMidDragLeavesNoDanglingDrag)
{
    auto list = MakeList(4);
    list->SetCardsMovable(true);
    GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_LEFT_DOWN, 20, 15, GUI_KEY_LBUTTON));
    ASSERT_NE(list->GetDraggedWindow(), nullptr);
    FillGraveyard(1);
    list->FillCards();
    EXPECT_EQ(list->GetDraggedWindow(), nullptr);
    MoveTo(100, 100, GUI_KEY_LBUTTON);
    GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_LEFT_UP, 100, 100));
    EXPECT_EQ(list->GetCardWindow(0)->GetLeft(), 17);
}

// On its first show the list takes the panel's rectangle, or its grid size: the Close button and the scroll
// buttons lie inside the box and clear of every card shown.
TEST_F(CardListDialogTest, ButtonsAndScrollArrowsKeepInsideTheBoxAndOffTheCards)
{
    struct Case {
        int cards;
        bool grid;
    };
    const auto meets = [](const GUI_Window& a, const GUI_Window& b) {
        return a.GetLeft() < b.GetRight() && b.GetLeft() < a.GetRight() && a.GetTop() < b.GetBottom() &&
               b.GetTop() < a.GetBottom();
    };
    for (const Case& c : {Case{7, false}, Case{2, false}, Case{7, true}}) {
        FillGraveyard(c.cards);
        GraveyardDialog list(0);
        list.SetRect(20, 20, 170, 120, true);
        if (c.grid)
            list.SetGridSize(3, 2);
        else
            list.FillCards();
        std::vector<const GUI_Window*> buttons{list.GetButton(0)};
        for (const GUI_Window* const arrow : {list.GetScrollUpButton(), list.GetScrollDownButton()}) {
            if (list.HasChild(arrow))
                buttons.push_back(arrow);
        }
        EXPECT_EQ(buttons.size(), c.cards == 7 ? 3u : 1u) << c.cards << " cards";
        for (const GUI_Window* const button : buttons) {
            EXPECT_TRUE(button->GetLeft() >= list.GetLeft() && button->GetRight() <= list.GetRight() &&
                        button->GetTop() >= list.GetTop() && button->GetBottom() <= list.GetBottom())
                << c.cards << " cards, grid " << c.grid << ": a button at " << button->GetLeft() << ","
                << button->GetTop() << " outside the box to " << list.GetRight() << "," << list.GetBottom();
            for (int i = 0; i < list.GetCardCount(); ++i) {
                const CardWindow* const card = list.GetCardWindow(i);
                EXPECT_FALSE(!card->IsHidden() && meets(*card, *button))
                    << c.cards << " cards, grid " << c.grid << ": card " << i << " under a button at "
                    << button->GetLeft() << "," << button->GetTop();
            }
        }
    }
}

TEST_F(CardListDialogTest, MovingTheListCarriesTheCardsAndStaysOnScreen)
{
    auto list = MakeList(4);
    list->MoveBy(20, 5, true);
    EXPECT_EQ(list->GetCardWindow(1)->GetLeft(), 82);
    EXPECT_EQ(m_Cards[1].m_Position.x, 82.0f);
    EXPECT_EQ(m_Cards[1].m_TargetPoint.y, 15.0f);

    // Relayout keeps the grid size and brings the list back inside the screen.
    list->MoveBy(guitest::SCREEN_WIDTH - 100, 0, false);
    list->Relayout();
    EXPECT_EQ(list->GetRight(), guitest::SCREEN_WIDTH);
    EXPECT_EQ(list->GetWidth(), 150);
    EXPECT_EQ(list->GetCardWindow(0)->GetLeft(), list->GetTextRect().left + 2);
}

TEST_F(CardListDialogTest, CloseButtonClosesTheGraveyardListThroughTheTable)
{
    s_GameMode = 1;
    FillGraveyard(3);
    GetGameDisplay()->m_Zones[3].rect = RasterRect{10, 10, 200, 200};
    OpenGraveyardDialog(0);
    ASSERT_TRUE(IsGraveyardDialogOpen(0));
    GraveyardDialog* list = nullptr;
    for (GUI_Window* const window : GetGUIManager()->GetWindows()) {
        if (auto* const found = WindowCast<GraveyardDialog>(window))
            list = found;
    }
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetCardCount(), 3);
    ASSERT_EQ(list->GetButtonCount(), 1);
    EXPECT_EQ(list->GetButton(0)->GetText(), u"Close");
    // The list is deleted after the click that closes it has been dispatched (the sanitizers watch this).
    ClickWindow(list->GetButton(0));
    EXPECT_FALSE(IsGraveyardDialogOpen(0));
}

TEST_F(CardListDialogTest, LibraryListShowsTheNextCardsToDrawAndOwnsTheirActors)
{
    PlayerState& cpu = *GetPlayerState(1);
    const PlayerState saved = cpu;
    cpu.m_LibraryCount = 10;
    cpu.m_NextDrawIndex = 7;
    for (const auto& [maximum, shown] : {std::pair{2, 2}, std::pair{5, 3}, std::pair{0, 0}}) {
        LibraryDialog list(1, maximum);
        EXPECT_EQ(list.GetShownCount(), shown) << maximum;
        list.SetRect(0, 0, 300, 100, true);
        list.FillCards();
        EXPECT_EQ(list.GetCardCount(), shown) << maximum;
        if (shown > 0) {
            EXPECT_NE(list.GetCardWindow(0)->GetCardActor(), nullptr);
        }
    }
    // A library that shrank after the list was made: the list stops at its end.
    LibraryDialog list(1, 3);
    cpu.m_LibraryCount = 8;
    list.FillCards();
    EXPECT_EQ(list.GetCardCount(), 1);
    cpu = saved;
}

} // namespace
