#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/CardWindows.h"
#include "engine/scene/Actor.h"
#include "gui/GUI_Manager.h"
#include "rules/BoardSteps.h"
#include "rules/GameGlobals.h"
#include "rules/PlayerState.h"
#include "tests/gui/GuiFixture.h"

#include <memory>
#include <vector>

namespace {

class BoardCensusTest : public guitest::GuiFixture {
protected:
    void TearDown() override
    {
        DestroyAllActors();
        PurgeRemovedActors();
        DestroyAllCardWindows();
        ResetRulesState();
        guitest::GuiFixture::TearDown();
    }

    // A card of the type on the table at (x, y), resting where it was sent.
    CardActor& Place(int type, float x, float y, int subType = SUBTYPE_NONE)
    {
        m_cards.push_back(std::make_unique<CARD>());
        CARD& card = *m_cards.back();
        card.m_CardType = type;
        card.m_SubType = subType;
        auto* actor = new CardActor();
        actor->SetCard(&card);
        actor->SetOwner(PLAYER_HUMAN);
        actor->m_Held = 0;
        actor->m_InLibrary = false;
        actor->SetTapState(TAP_READY);
        actor->m_Position = {x, y, 0.0f};
        actor->m_TargetPoint = {x, y, 0.0f};
        RegisterActor(actor);
        return *actor;
    }

    // The card window under the point, or null.
    static CardActor* CardAt(int x, int y) { return GetCardWindowActor(GetGUIManager()->GetWindowAt(x, y)); }

    std::vector<std::unique_ptr<CARD>> m_cards;
};

TEST_F(BoardCensusTest, PlacedPermanentsGetWindowsAndMovingOrHiddenOnesDoNot)
{
    CardActor& ready = Place(CT_CREATURE, 10, 10);
    CardActor& tappedMoving = Place(CT_LAND, 100, 10);
    tappedMoving.SetTapState(TAP_TAPPED);
    tappedMoving.m_TargetPoint = {300, 300, 0};
    CardActor& moving = Place(CT_ARTIFACT, 200, 10);
    moving.m_TargetPoint = {300, 300, 0};
    CardActor& dragging = Place(CT_CREATURE, 300, 10);
    dragging.m_Dragging = true;
    CardActor& held = Place(CT_CREATURE, 400, 10);
    held.m_Held = 1;
    CardActor& leaving = Place(CT_CREATURE, 500, 10);
    leaving.SetExitMove(1);
    CardActor& host = Place(CT_CREATURE, 10, 200);
    CardActor& aura = Place(CT_ENCHANT, 100, 200);
    aura.SetHost(&host);
    CardActor& global = Place(CT_ENCHANT, 200, 200, ENCH_GLOBAL);
    global.SetHost(&host);

    UpdateBoardCensus();

    EXPECT_EQ(CardAt(12, 12), &ready);
    EXPECT_EQ(CardAt(102, 12), &tappedMoving) << "a tapped card gets its window while it still travels";
    EXPECT_EQ(CardAt(202, 12), nullptr) << "still travelling";
    EXPECT_EQ(CardAt(302, 12), nullptr) << "not yet placed";
    EXPECT_EQ(CardAt(402, 12), nullptr) << "held";
    EXPECT_EQ(CardAt(502, 12), nullptr) << "leaving";
    EXPECT_EQ(CardAt(102, 202), nullptr) << "an aura is drawn with its host";
    EXPECT_EQ(CardAt(202, 202), &global);
    EXPECT_FLOAT_EQ(tappedMoving.m_Rotation.z, 1.5707964f);
    EXPECT_FLOAT_EQ(ready.m_Rotation.z, 0.0f);
    EXPECT_FLOAT_EQ(ready.m_Position.z, 200.0f);
    EXPECT_FLOAT_EQ(held.m_Position.z, 0.0f);
}

TEST_F(BoardCensusTest, HighlightBelowTheCardLengthensItsWindow)
{
    CardActor& below = Place(CT_CREATURE, 10, 10);
    below.m_Flags |= CARD_FLAG_HIGHLIGHT_BELOW;
    CardActor& across = Place(CT_CREATURE, 200, 10);
    across.m_Flags |= CARD_FLAG_HIGHLIGHT_ACROSS;
    UpdateBoardCensus();
    EXPECT_EQ(CardAt(12, 10 + BASE_CARD_HEIGHT + 4), &below);
    EXPECT_EQ(CardAt(202, 10 + BASE_CARD_HEIGHT + 4), nullptr);
    EXPECT_EQ(CardAt(202, 10 + BASE_CARD_HEIGHT - 4), &across);
}

} // namespace
