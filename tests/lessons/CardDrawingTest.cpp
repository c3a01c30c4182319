#include "gui/Messagebox.h"
#include "lessons/CardDrawing.h"
#include "lessons/LessonBox.h"
#include "lessons/TableFlow.h"
#include "tests/lessons/LessonFixture.h"

namespace {

using lessontest::LessonTest;

class CardDrawingTest : public LessonTest {
protected:
    static std::vector<CardActor*> HeldCards()
    {
        std::vector<CardActor*> held;
        for (int i = 0; i < GetActorCount(); ++i) {
            CardActor* const card = AsCardActor(GetActorAt(i));
            if (card != nullptr && card->IsHeld())
                held.push_back(card);
        }
        return held;
    }

    static void Arrive(CardActor* card) { card->m_Position = card->m_TargetPoint; }
};

TEST_F(CardDrawingTest, CardsAreDrawnOneAfterAnotherOnceEachArrives)
{
    FillHumanLibrary(10);
    Human().m_CardsToDraw = 2;
    EXPECT_EQ(DrawPendingCards(), 1);
    ASSERT_EQ(HeldCards().size(), 1u);
    CardActor* const first = HeldCards()[0];
    first->m_TargetPoint.x = first->m_Position.x + 50.0f;
    EXPECT_FALSE(first->IsInLibrary());
    EXPECT_EQ(Human().m_NextDrawIndex, 1);

    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(DrawPendingCards(), 1);
    EXPECT_EQ(HeldCards().size(), 1u) << "no second card while the first flies";

    Arrive(first);
    EXPECT_EQ(DrawPendingCards(), 0);
    EXPECT_EQ(HeldCards().size(), 2u);
    EXPECT_EQ(Human().m_NextDrawIndex, 2);
}

TEST_F(CardDrawingTest, DrawingFromAnEmptyLibraryLosesAndClosesTheBox)
{
    FillHumanLibrary(3);
    Human().m_NextDrawIndex = 3;
    Human().m_CardsToDraw = 1;
    auto* box = new Messagebox();
    SetLessonBox(box);
    GetGameDisplay()->RegisterWindow(box);

    EXPECT_EQ(DrawPendingCards(), 0);
    EXPECT_TRUE(Human().HasLost());
    EXPECT_EQ(GetLessonBox(), nullptr);
    EXPECT_TRUE(HeldCards().empty());
}

TEST_F(CardDrawingTest, RemovedCardInFlightDoesNotStallTheDraw)
{
    FillHumanLibrary(10);
    Human().m_CardsToDraw = 2;
    DrawPendingCards();
    CardActor* const first = HeldCards()[0];
    first->m_TargetPoint.x = first->m_Position.x + 50.0f;
    RemoveActor(first);
    PurgeRemovedActors();
    EXPECT_EQ(DrawPendingCards(), 0);
}

TEST_F(CardDrawingTest, DealtCardsFillTheHandRowAndTheLastPointTakesTheRest)
{
    std::vector<CardActor*> dealt;
    for (int i = 0; i < 22; ++i) {
        dealt.push_back(Card(30, PLAYER_HUMAN, true));
        dealt.back()->SetInLibrary(true);
        dealt.back()->m_DealMark = 1;
    }
    CardActor* const other = Card(31, PLAYER_HUMAN, true);
    other->m_TargetPoint.x = -7.0f;
    bool placed = false;
    PlaceDealtCardsInHand(&placed);
    EXPECT_TRUE(placed);

    const GameDisplay& display = *GetGameDisplay();
    for (int i = 0; i < 22; ++i) {
        const int point = std::min(i, HAND_SLOT_COUNT - 1);
        EXPECT_EQ(dealt[i]->m_TargetPoint.x, static_cast<float>(display.m_HandSlots[point].x)) << i;
        EXPECT_EQ(dealt[i]->m_TargetPoint.y, static_cast<float>(display.m_HandSlots[0].y)) << i;
        EXPECT_EQ(dealt[i]->m_DealMark, 0);
        EXPECT_FALSE(dealt[i]->IsInLibrary());
    }
    EXPECT_EQ(other->m_TargetPoint.x, -7.0f) << "a card never dealt stays where it was";

    placed = false;
    PlaceDealtCardsInHand(&placed);
    EXPECT_FALSE(placed);
}

} // namespace
