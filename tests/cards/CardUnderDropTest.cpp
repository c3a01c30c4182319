#include "cards/Card.h"
#include "engine/scene/GameDisplay.h"
#include "rules/TargetPrompt.h"
#include "tests/cards/TableBehaviourFixture.h"

namespace {

class CardUnderDropTest : public tabletest::TableBehaviourTest {
protected:
    CardActor* Placed(float x, float y)
    {
        CardActor* const card = NewCard();
        card->SetCard(&m_creature);
        card->SetHeld(false);
        card->SetInLibrary(false);
        card->m_Position.x = x;
        card->m_Position.y = y;
        return card;
    }

    CARD m_creature;
};

TEST_F(CardUnderDropTest, LooksThroughTheDroppedCardAndPrefersItsTopLeftCorner)
{
    m_creature.m_CardType = CT_CREATURE;
    const RasterRect savedScreen = s_ScreenRect;
    s_ScreenRect = RasterRect{0, 0, 800, 600};
    CardActor* const dropped = Placed(200.0f, 200.0f);
    int width = 0;
    int height = 0;
    GetGameDisplay()->GetCardDrawSize(dropped, width, height, false);
    ASSERT_GT(width, 2);
    CardActor* const underRight = Placed(0.0f, 0.0f);
    CardActor* const underLeft = Placed(0.0f, 0.0f);
    // Both corners of the top edge lie on other cards; the dropped card's own window covers both.
    ShowCardWindow(underRight, 200 + width - 2, 190, 200 + width + 40, 205);
    ShowCardWindow(underLeft, 160, 190, 202, 205);
    ShowCardWindow(dropped, 199, 199, 201 + width, 201 + height);

    EXPECT_EQ(FindCardUnderCardEdge(dropped), underLeft);
    RemoveActor(underLeft);
    EXPECT_EQ(FindCardUnderCardEdge(dropped), underRight) << "a window of a removed actor is passed over";
    EXPECT_EQ(FindCardUnderCardEdge(nullptr), nullptr);

    // Points on or beyond the screen's edges are skipped.
    CardActor* const offScreen = Placed(-500.0f, -500.0f);
    ShowCardWindow(underRight, 0, 0, 5, 5);
    EXPECT_EQ(FindCardUnderCardEdge(offScreen), nullptr);
    s_ScreenRect = savedScreen;
}

} // namespace
