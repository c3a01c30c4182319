#include "cards/CardIds.h"
#include "cards/TableInput.h"
#include "engine/core/StringTable.h"
#include "engine/scene/GameDisplay.h"
#include "gui/ExplanatoryWindow.h"
#include "gui/GUI_TextButton.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "lessons/LessonBox.h"
#include "lessons/PhysicalBlocks.h"
#include "tests/lessons/LessonFixture.h"

#include <functional>

namespace {

using lessontest::LessonTest;

class PhysicalBlocksTest : public LessonTest {
protected:
    void TearDown() override
    {
        ResetPhysicalBlocks();
        s_HumanBlockStep = 0;
        s_FirstBlockShown = 0;
        LessonTest::TearDown();
    }

    // The learner picks the blocker up and drops it on the attacker.
    static void DragOnto(CardActor* blocker, const CardActor* attacker)
    {
        GetTableInput().pointedCard = blocker;
        MouseState.leftClicked = 1;
        DeclarePhysicalBlocks();
        ASSERT_EQ(GetBlockerInHand(), blocker);
        blocker->EndDrag();
        blocker->m_Position = attacker->m_Position;
        MouseState.leftClicked = 1;
        DeclarePhysicalBlocks();
    }
};

TEST_F(PhysicalBlocksTest, RefusalsComeInOrderAndUnblockableIsRefusedSilently)
{
    struct Case {
        const char* name;
        int attackerId;
        std::function<void(CardActor& blocker, CardActor& attacker)> setUp;
        int row;
        bool box;
    };
    const auto none = [](CardActor&, CardActor&) {};
    const Case cases[] = {
        {"plain block", 30, none, 0, false},
        {"tapped blocker before the flying attacker",
         30,
         [](CardActor& b, CardActor& a) {
             b.SetTapState(TAP_TAPPED);
             a.GetStats().flying = true;
         },
         1, true},
        {"target not attacking", 30, [](CardActor&, CardActor& a) { a.SetAttacking(false); }, 2, true},
        {"cannot block", 30, [](CardActor& b, CardActor&) { b.GetStats().hasCannotBlock = true; }, 4, true},
        {"unblockable attacker", 30, [](CardActor&, CardActor& a) { a.GetStats().isUnblockable = true; }, 10, false},
        {"ground blocker on a flyer", 30, [](CardActor&, CardActor& a) { a.GetStats().flying = true; }, 5, true},
        {"flyer on a flyer",
         30,
         [](CardActor& b, CardActor& a) {
             a.GetStats().flying = true;
             b.GetStats().flying = true;
         },
         0, false},
        {"reach on a flyer",
         30,
         [](CardActor& b, CardActor& a) {
             a.GetStats().flying = true;
             b.GetStats().flyBlock = true;
         },
         0, false},
        {"nobody blocks it", CD_QUELINVIN, none, 7, false},
        {"ground creature on the one only flyers and walls block", CD_JAVUNGAST, none, 8, false},
        {"flyer on it", CD_JAVUNGAST, [](CardActor& b, CardActor&) { b.GetStats().flying = true; }, 0, false},
        {"wall on it", CD_JAVUNGAST, [](CardActor& b, CardActor&) { b.GetStats().isWall = true; }, 0, false},
        {"landwalk with the land on the human's side",
         30,
         [this](CardActor&, CardActor& a) {
             a.GetStats().walk = ManaCost(0, 1, 0, 0, 0, 0);
             Card(CD_MOUNTAIN1, PLAYER_HUMAN);
         },
         9, false},
        {"landwalk without the land", 30,
         [](CardActor&, CardActor& a) { a.GetStats().walk = ManaCost(0, 1, 0, 0, 0, 0); }, 0, false},
    };
    for (const Case& c : cases) {
        CardActor* const blocker = Card(31, PLAYER_HUMAN);
        CardActor* const attacker = Card(c.attackerId, PLAYER_CPU);
        attacker->SetAttacking(true);
        c.setUp(*blocker, *attacker);
        const BlockRefusal refusal = CheckPhysicalBlock(*blocker, *attacker);
        EXPECT_EQ(refusal.row, c.row) << c.name;
        EXPECT_EQ(refusal.key != nullptr, c.box) << c.name;
        DestroyAllActors();
        PurgeRemovedActors();
    }
}

// The refusals that have an explanation offer its link, coloured as unread; pressed, it opens the explanation and
// shows as read while the refusal stays up.
TEST_F(PhysicalBlocksTest, RefusalsWithAnExplanationOfferItsLink)
{
    AddString(u"PHYSEXPL_LINK_ENCHANTMENT", u"Enchantments");
    AddString(u"PHYSEXPL_LINK_FLYING", u"Flying");
    struct Case {
        const char* name;
        std::function<void(CardActor& blocker, CardActor& attacker)> setUp;
        int link;
    };
    const Case cases[] = {
        {"a blocker carrying Selevmar",
         [this](CardActor& b, CardActor&) { b.AttachCard(Card(CD_SELEVMAR, PLAYER_HUMAN)); }, 0},
        {"a ground blocker on a flyer", [](CardActor&, CardActor& a) { a.GetStats().flying = true; }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetExplanationLinksVisited();
        s_FirstBlockShown = 1;
        s_HumanBlockStep = 1;
        CardActor* const blocker = Card(31, PLAYER_HUMAN);
        CardActor* const attacker = Card(30, PLAYER_CPU);
        attacker->SetAttacking(true);
        c.setUp(*blocker, *attacker);
        DragOnto(blocker, attacker);
        Messagebox* const box = GetShownLessonBox(33);
        ASSERT_NE(box, nullptr);
        GUI_TextButton* const link = box->FindExtraWindowByTag(c.link);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->GetTextColour(), (GUI_Colour{255, 192, 0, 255}));
        GUI_InputEvent press;
        press.type = GUI_EVENT_COMMAND;
        press.sender = link;
        box->HandleInput(press);
        DeclarePhysicalBlocks();
        EXPECT_NE(box->GetExplanation(), nullptr);
        EXPECT_EQ(link->GetTextColour(), (GUI_Colour{0, 160, 224, 255}));
        EXPECT_EQ(GetBadBlocker(), blocker) << "the refusal waits for its answer";
        DeleteLessonBox();
        ResetPhysicalBlocks();
        DestroyAllActors();
        PurgeRemovedActors();
    }
    ClearStringTables();
}

// A new refusal box opens at the advice position; one that takes over an error box drops its buttons and link.
TEST_F(PhysicalBlocksTest, ARefusalIsPlacedWhenNewAndResetWhenItTakesABoxOver)
{
    for (const bool takesOver : {false, true}) {
        SCOPED_TRACE(takesOver ? "takes an error box over" : "new");
        ForgetLessonBoxPlace();
        if (takesOver)
            ShowErrorBoxWithLink();
        s_FirstBlockShown = 1;
        s_HumanBlockStep = 1;
        CardActor* const blocker = Card(31, PLAYER_HUMAN);
        CardActor* const attacker = Card(30, PLAYER_CPU);
        blocker->SetTapState(TAP_TAPPED);
        attacker->SetAttacking(true);
        DragOnto(blocker, attacker);
        Messagebox* const box = GetShownLessonBox(33);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->GetButtonCount(), 1) << "OK only";
        EXPECT_EQ(box->GetExtraWindowCount(), 0);
        if (!takesOver)
            EXPECT_TRUE(IsAtAdvicePosition(box));
        DeleteLessonBox();
        ResetPhysicalBlocks();
        DestroyAllActors();
        PurgeRemovedActors();
    }
}

// However the refusal's box goes (deleted while a card-specific dialog shows or the life token is busy, or reused
// for a clean-up request), the refused pair goes with it, and the learner can block again.
TEST_F(PhysicalBlocksTest, ARefusalEndsWithItsBoxHoweverTheBoxGoes)
{
    struct Case {
        const char* name;
        std::function<void()> takeBoxAway;
    };
    const Case cases[] = {
        {"answered", [] { Click(GetLessonBox(), 0); }},
        {"deleted by a card-specific dialog or a busy life token", [] { DeleteLessonBox(); }},
        {"reused for a clean-up request",
         [] {
             Messagebox* const box = ReuseLessonBox();
             box->SetKind(14);
             GetGameDisplay()->RegisterWindow(box);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s_FirstBlockShown = 1;
        s_HumanBlockStep = 1;
        CardActor* const blocker = Card(31, PLAYER_HUMAN);
        CardActor* const attacker = Card(30, PLAYER_CPU);
        attacker->SetAttacking(true);
        blocker->SetTapState(TAP_TAPPED);
        DragOnto(blocker, attacker);
        ASSERT_EQ(GetBadBlocker(), blocker);
        ASSERT_NE(GetShownLessonBox(33), nullptr);
        c.takeBoxAway();
        DeclarePhysicalBlocks();
        EXPECT_EQ(GetBadBlocker(), nullptr);
        EXPECT_EQ(blocker->m_Flags & (1u << 29), 0u) << "the highlight goes with the pair";

        blocker->SetTapState(TAP_READY);
        DragOnto(blocker, attacker);
        EXPECT_EQ(blocker->GetBlockedAttacker(), attacker) << "the next block succeeds";
        DeleteLessonBox();
        ResetPhysicalBlocks();
        DestroyAllActors();
        PurgeRemovedActors();
    }
}

} // namespace
