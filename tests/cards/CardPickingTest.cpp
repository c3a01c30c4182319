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

namespace {

TEST_F(CardPickingTest, FocusedCardIsCopiedForThePreviewAndTheCopyLetsGoOfRemovedCards)
{
    CardActor* const host = NewCard(1);
    m_Card->SetDamage(2);
    m_Card->SetTapState(TAP_NEW);
    m_Card->SetHost(host);
    m_Card->m_Position.Set(30.0f, 40.0f, 0.0f);
    GetTableInput().focusedCard = m_Card;
    UpdateCardUnderCursor();
    const CardActor& copy = GetPreviewCopy();
    EXPECT_NE((copy.m_Flags & ACTOR_FLAG_PREVIEW_COPY), 0u);
    EXPECT_EQ((m_Card->m_Flags & ACTOR_FLAG_PREVIEW_COPY), 0u);
    EXPECT_EQ(copy.GetDamage(), 2);
    EXPECT_EQ(copy.GetTapState(), TAP_NEW);
    EXPECT_EQ(copy.GetOwner(), 0);
    EXPECT_FLOAT_EQ(copy.m_Position.y, 40.0f);
    EXPECT_FALSE(IsActorRegistered(&copy));
    EXPECT_EQ(copy.GetHost(), host);
    ForgetTableCard(host);
    EXPECT_EQ(copy.GetHost(), nullptr);
}

TEST_F(CardPickingTest, OnlineZoomYieldsLeftOfAndBelowTheHoverCorner)
{
    SetMode(3);
    GetGameDisplay()->m_HoverCorner = MatPoint{200, 300};
    UpdateCardZoom();
    ASSERT_EQ(GetTableInput().hoveredCard, m_Card);
    // (120, 420) lies left of and below the corner: the timing stops with the zoom shown.
    EXPECT_FALSE(UpdateCardZoom());
    EXPECT_TRUE(GetTableInput().zoomShown);
    // On the corner's own column the rule does not hold.
    GetGameDisplay()->m_HoverCorner = MatPoint{120, 300};
    EXPECT_TRUE(UpdateCardZoom());
    GetGameDisplay()->m_HoverCorner = MatPoint{};
}

} // namespace
