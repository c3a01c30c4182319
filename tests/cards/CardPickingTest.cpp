#include "cards/CardPicking.h"
#include "cards/TableScene.h"
#include "tests/cards/TableBehaviourFixture.h"

namespace {

using tabletest::TableBehaviourTest;

class CardPickingTest : public TableBehaviourTest {
protected:
    void SetUp() override
    {
        TableBehaviourTest::SetUp();
        m_Card = NewHandCard();
        ShowCardWindow(m_Card, 100, 400, 166, 498);
        MouseAt(120, 420);
        UpdateCardUnderCursor();  // the first frame after the reset picks nothing
    }

    // Rests the mouse for ms milliseconds in one frame.
    static void Rest(std::uint32_t ms)
    {
        plat::headless::AdvanceTime(ms);
        UpdateCardZoom();
    }

    CardActor* m_Card = nullptr;
};

TEST_F(CardPickingTest, FirstFrameAfterAResetPicksNothingTheNextPicksTheCardUnderTheMouse)
{
    ResetTableInput();
    UpdateCardUnderCursor();
    EXPECT_EQ(GetTableInput().pointedCard, nullptr);
    UpdateCardUnderCursor();
    EXPECT_EQ(GetTableInput().pointedCard, m_Card);
    EXPECT_EQ(GetTableInput().hoveredCard, m_Card);
    EXPECT_EQ(GetTableInput().lastPointedCard, m_Card);
}

TEST_F(CardPickingTest, MouseOnTheClientsRightOrBottomEdgeCountsAsOutside)
{
    for (const auto& [x, y] : {std::pair{800, 10}, std::pair{10, 600}, std::pair{-1, 10}}) {
        UpdateCardUnderCursor();
        ASSERT_EQ(GetTableInput().pointedCard, m_Card);
        MouseAt(x, y);
        UpdateCardUnderCursor();
        EXPECT_EQ(GetTableInput().pointedCard, nullptr) << x << "," << y;
        EXPECT_EQ(GetTableInput().windowUnderMouse, nullptr);
        EXPECT_EQ(GetTableInput().lastPointedCard, m_Card);
        MouseAt(120, 420);
    }
}

TEST_F(CardPickingTest, HoverTimelineZoomsAt500AndShowsThePopupAt1000Online)
{
    SetMode(3);
    UpdateCardZoom();  // the timer starts on the card
    struct Step {
        std::uint32_t advance;
        bool zoom;
        bool popup;
    };
    const Step steps[] = {{499, false, false}, {1, true, false}, {499, true, false}, {1, true, true}};
    std::uint32_t total = 0;
    for (const Step& step : steps) {
        Rest(step.advance);
        total += step.advance;
        EXPECT_EQ(GetTableInput().zoomShown, step.zoom) << total << " ms";
        EXPECT_EQ(GetTableInput().popupShown, step.popup) << total << " ms";
    }
    Rest(9000);
    EXPECT_EQ(GetTableInput().hoverElapsed, HOVER_PINNED_MS);
    EXPECT_TRUE(GetTableInput().zoomShown);
}

TEST_F(CardPickingTest, PhysicalLessonZoomsButShowsNoPopupOutsideTheIntro)
{
    UpdateCardZoom();
    Rest(1200);
    EXPECT_TRUE(GetTableInput().zoomShown);
    EXPECT_FALSE(GetTableInput().popupShown);
}

TEST_F(CardPickingTest, PressStopsTimingAndADragRestartsIt)
{
    UpdateCardZoom();
    Rest(300);
    MouseState.leftHeld = 1;
    plat::headless::AdvanceTime(400);
    EXPECT_FALSE(UpdateCardZoom());
    EXPECT_FALSE(GetTableInput().zoomShown);
    MouseState.leftHeld = 0;
    Rest(100);
    // The pressed frame did not count, but the time since the last reading does.
    EXPECT_EQ(GetTableInput().hoverElapsed, 800u);

    CardActor* const other = NewHandCard();
    SetDraggedCard(other);
    Rest(600);
    EXPECT_EQ(GetTableInput().hoverElapsed, 0u);
    EXPECT_FALSE(GetTableInput().zoomShown);
}

TEST_F(CardPickingTest, ALibraryCardRestartsTheTimerAtThePopup)
{
    m_Card->SetInLibrary(true);
    SetMode(3);
    UpdateCardZoom();
    Rest(1000);
    EXPECT_EQ(GetTableInput().hoverElapsed, 0u);
    EXPECT_FALSE(GetTableInput().popupShown);
}

TEST_F(CardPickingTest, PreviewRequestHoldsItsCardForItsDurationThenEnds)
{
    CardActor* const shown = NewCard(1);
    RequestCardPreview(shown, PREVIEW_REQUEST_MS);
    UpdateCardUnderCursor();
    EXPECT_EQ(GetTableInput().focusedCard, shown);
    plat::headless::AdvanceTime(3000);
    UpdateCardUnderCursor();
    EXPECT_TRUE(GetTableInput().previewRequested);
    plat::headless::AdvanceTime(1);
    UpdateCardUnderCursor();
    EXPECT_FALSE(GetTableInput().previewRequested);
}

TEST_F(CardPickingTest, RemovedCardLeavesEveryPickingReference)
{
    UpdateCardUnderCursor();
    RequestCardPreview(m_Card, PREVIEW_REQUEST_MS);
    RemoveActor(m_Card);
    const TableInputState& input = GetTableInput();
    EXPECT_EQ(input.pointedCard, nullptr);
    EXPECT_EQ(input.lastPointedCard, nullptr);
    EXPECT_EQ(input.requestedCard, nullptr);
    UpdateCardUnderCursor();
    EXPECT_EQ(input.pointedCard, nullptr);
}

} // namespace
