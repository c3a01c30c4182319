#include "cards/CardBehaviour.h"
#include "cards/HandLayout.h"
#include "cards/TableEffects.h"
#include "cards/TableScene.h"
#include "gamestate/AdviceState.h"
#include "gui/Messagebox.h"
#include "gamestate/PhysicalTurnState.h"
#include "rules/PlayerState.h"
#include "tests/cards/TableBehaviourFixture.h"

namespace {

using tabletest::TableBehaviourTest;

TEST(HeldCardDepthTest, DraggedInFrontThenLibraryThenFiveDeeperEveryFourSlots)
{
    struct Case {
        bool dragged;
        bool library;
        int key;
        float depth;
    };
    const Case cases[] = {{true, true, 40, 6.0f},  {false, true, 40, 7.0f}, {false, false, 0, 20.0f},
                          {false, false, 12, 35.0f}, {false, false, 16, 40.0f}, {false, false, 34, 60.0f},
                          {false, false, -2, 15.0f}, {false, false, 15980, 19995.0f},
                          {false, false, 16000, 19999.0f}, {false, false, SORT_KEY_LAST, 19999.0f}};
    for (const Case& c : cases)
        EXPECT_EQ(HeldCardDepth(c.dragged, c.library, c.key), c.depth) << c.key;
}

TEST(InsertionSlotTest, SlotAndMarkerByPosition)
{
    struct Case {
        int n, i, k;
        int slot, marker;
        bool between;
    };
    // Between slots 2 and 3 of five cards, a card from elsewhere (k = n) goes to slot 3 (sort key 10).
    const Case cases[] = {{5, 3, 5, 3, 3, true},  {5, 2, 2, 2, 2, false}, {5, 3, 2, 2, 2, false},
                          {5, 5, 5, 5, 4, false}, {0, 0, 0, 0, -1, false}, {5, 0, 5, 0, 0, true}};
    for (const Case& c : cases) {
        const InsertionSlot s = FindInsertionSlot(c.n, c.i, c.k);
        EXPECT_EQ(s.slot, c.slot) << c.n << " " << c.i << " " << c.k;
        EXPECT_EQ(s.markerSlot, c.marker) << c.n << " " << c.i << " " << c.k;
        EXPECT_EQ(s.between, c.between) << c.n << " " << c.i << " " << c.k;
    }
}

class HandLayoutTest : public TableBehaviourTest {};

TEST_F(HandLayoutTest, HandSortsBySortKeyAndRipplesUpFromTheHoveredCard)
{
    std::vector<CardActor*> hand;
    for (int key : {40, 0, 8, 30, 12})
        hand.push_back(NewHandCard()), hand.back()->SetSortKey(key);
    CardActor* const outside = NewCard(0);
    outside->SetInLibrary(false);
    UpdateHandCards();
    const auto& list = GetTableInput().handList;
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list.front(), hand[1]);
    EXPECT_EQ(list.back(), hand[0]);

    // The mouse rests on the first slot's card.
    const GameDisplay& display = *GetGameDisplay();
    ShowCardWindow(list[0], 10, 500, 70, 590);
    MouseAt(20, 520);
    UpdateHandLayout();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list[static_cast<std::size_t>(i)]->GetSortKey(), 4 * i);
    const float raised = static_cast<float>(display.m_HandSlots[0].y - display.GetCardHeight());
    EXPECT_EQ(list[0]->m_TargetPoint.y, raised);
    EXPECT_NE(list[1]->m_TargetPoint.y, raised);
    plat::headless::AdvanceTime(400);
    UpdateHandLayout();
    EXPECT_EQ(list[3]->m_TargetPoint.y, raised);
    EXPECT_NE(list[4]->m_TargetPoint.y, raised);
    plat::headless::AdvanceTime(1);
    UpdateHandLayout();
    EXPECT_EQ(list[4]->m_TargetPoint.y, raised);
}

TEST_F(HandLayoutTest, CardEasesTowardItsTargetUnlessTheEasingIsStopped)
{
    g_FrameMilliseconds = 16.0f;
    CardActor* const moving = NewCard(0);
    CardActor* const stopped = NewCard(0);
    for (CardActor* card : {moving, stopped}) {
        card->SetInLibrary(false);
        card->SetPlayedMark(1);
        card->m_TargetPoint = Vector3(300.0f, 200.0f, 0.0f);
    }
    stopped->m_EasingStopped = true;
    for (int frame = 0; frame < 400; ++frame) {
        CardBehaviour(moving);
        CardBehaviour(stopped);
    }
    EXPECT_EQ(moving->m_Position.x, 300.0f);
    EXPECT_EQ(moving->m_Position.y, 200.0f);
    EXPECT_EQ(stopped->m_Position.x, 0.0f);
}

// The phase bar reads the display's current phase: each turn state of the active player lights its step, so a
// combat step lit by a driver gives way to the second main phase and to the next turn's untap.
TEST_F(HandLayoutTest, ActivePlayersStateLightsThePhaseBarStep)
{
    Actor* const human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
    Actor* const cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
    SetPlayerActors(human, cpu);
    TableFlowState& flow = GetTableFlow();
    flow.gameStarted = true;
    GameDisplay& display = *GetGameDisplay();
    struct Case {
        bool humanTurn;
        int state;
        bool afterCombat;
        int lit;
        int phase;
    };
    const Case cases[] = {{false, 21, false, 7, 2}, {true, 22, false, 0, 0}, {true, 5, false, 6, 3},  {true, 9, true, 7, 8},
                          {true, 5, true, 7, 10},  {true, 18, true, 10, 11}, {false, 1, false, 11, 0},
                          {false, 5, false, -1, 3}};
    for (const Case& c : cases) {
        HandTurnTo(c.humanTurn ? PLAYER_HUMAN : PLAYER_CPU);
        s_PastCombat = c.afterCombat;
        (c.humanTurn ? human : cpu)->SetState(c.state);
        display.m_CurrentPhase = c.lit;
        UpdateHandLayout();
        EXPECT_EQ(display.m_CurrentPhase, c.phase) << "state " << c.state << ", lit " << c.lit;
    }
    EXPECT_FALSE(s_PastCombat) << "a new turn starts before combat";
    ResetPhysicalTurnState();
}

TEST_F(HandLayoutTest, LibraryDrawNeedsCardsLeftAndNoPlayerInState13)
{
    static const std::vector<std::uint16_t> s_back(40 * 56, 0x1234);
    GetGameDisplay()->m_SmallCardBack = GetGameDisplay()->CreateTextureFromPixels(s_back.data(), 40, 56, 0);
    GetGameDisplay()->m_PilePoints[0] = {100, 100};
    RasterRect library;
    GetGameDisplay()->GetPlayerLibraryRect(library, false);
    ASSERT_LT(library.left, library.right) << "the pile box has a size";
    Actor* const human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
    Actor* const cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
    SetPlayerActors(human, cpu);
    struct Case {
        int libraryCount;
        int cpuState;
        bool drawn;
    };
    for (const Case& c : {Case{0, 0, false}, Case{5, 13, false}, Case{5, 0, true}}) {
        GetTableFlow().cardDrawnByHand = nullptr;
        SetDraggedCard(nullptr);
        GetPlayerState(0)->m_LibraryCount = c.libraryCount;
        GetPlayerState(0)->m_NextDrawIndex = 0;
        cpu->m_State = c.cpuState;
        MouseAt(library.left + 1, library.top + 1);
        MouseState.leftClicked = 1;
        UpdateLibraryDraw();
        EXPECT_EQ(GetTableFlow().cardDrawnByHand != nullptr, c.drawn) << c.libraryCount << " " << c.cpuState;
        EXPECT_EQ(GetPlayerState(0)->m_NextDrawIndex, 0) << "the card back is a prop, not a library card";
        if (c.drawn) {
            EXPECT_EQ(GetTableFlow().cardDrawnByHand->GetId(), 0);
        }
    }
    GetPlayerState(0)->m_LibraryCount = 0;
    GetPlayerState(0)->m_NextDrawIndex = 0;
}

// With no draw pending a click on the pile lifts a card-back prop; letting it go takes the prop away, leaves the
// hand as it was, and the next click lifts a new one.
TEST_F(HandLayoutTest, ARefusedDrawsPropGoesWhenReleased)
{
    static const std::vector<std::uint16_t> s_back(40 * 56, 0x1234);
    GetGameDisplay()->m_SmallCardBack = GetGameDisplay()->CreateTextureFromPixels(s_back.data(), 40, 56, 0);
    GetGameDisplay()->m_PilePoints[0] = {100, 100};
    RasterRect library;
    GetGameDisplay()->GetPlayerLibraryRect(library, false);
    Actor* const human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
    Actor* const cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
    SetPlayerActors(human, cpu);
    GetPlayerState(0)->m_LibraryCount = 5;
    GetPlayerState(0)->m_NextDrawIndex = 0;
    const auto heldCards = [] {
        int held = 0;
        for (int i = 0; i < GetActorCount(); ++i) {
            const CardActor* const card = AsCardActor(GetActorAt(i));
            held += card != nullptr && card->IsHeld() && card->GetId() != 0 ? 1 : 0;
        }
        return held;
    };
    const int hand = heldCards();
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt == 0 ? "first click" : "second click");
        MouseAt(library.left + 1, library.top + 1);
        MouseState.leftClicked = 1;
        MouseState.leftHeld = 1;
        UpdateLibraryDraw();
        CardActor* const prop = GetTableFlow().cardDrawnByHand;
        ASSERT_NE(prop, nullptr);
        ASSERT_EQ(prop->GetId(), 0);
        MouseState.leftClicked = 0;
        MouseState.leftHeld = 0;
        prop->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
        CardBehaviour(prop);
        EXPECT_EQ(GetTableFlow().cardDrawnByHand, nullptr);
        FlushActorRemovals();
        EXPECT_FALSE(IsActorRegistered(prop));
        EXPECT_EQ(heldCards(), hand);
        EXPECT_EQ(GetPlayerState(0)->m_NextDrawIndex, 0);
    }
    // The lesson's bad-draw box goes with the table.
    if (Messagebox* const box = GetLessonBox())
        GetGameDisplay()->UnregisterWindow(box);
    DeleteLessonBox();
    PurgeRemovedActors();
    GetPlayerState(0)->m_LibraryCount = 0;
}

TEST_F(HandLayoutTest, SparkleOfLifetimeOneLivesTwoFramesAtSixty)
{
    const float savedFramesPerSecond = s_FramesPerSecond;
    s_FramesPerSecond = 60.0f;
    Actor* const spark = SpawnActor(u"sparkle", 0, SparkleBehaviour, 10, 10, 0, 0, 0, 0);
    spark->m_Lifetime = 1;
    SparkleBehaviour(spark);
    EXPECT_TRUE(IsActorRegistered(spark));
    SparkleBehaviour(spark);
    EXPECT_FALSE(IsActorRegistered(spark));
    s_FramesPerSecond = savedFramesPerSecond;
}

TEST_F(HandLayoutTest, BigSparkAtStepTwoEndsInItsThirdCall)
{
    s_FrameStep = 2.0f;
    Actor* const flash = SpawnActor(u"bigspark", 0, BigSparkBehaviour, 0, 0, 0, 0, 0, 0);
    BigSparkBehaviour(flash);
    BigSparkBehaviour(flash);
    EXPECT_TRUE(IsActorRegistered(flash));
    BigSparkBehaviour(flash);
    EXPECT_FALSE(IsActorRegistered(flash));
    s_FrameStep = 1.0f;
}

} // namespace
