#include "cards/TableInput.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "lessons/HumanOnlineTurn.h"
#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "rules/TableSelection.h"
#include "tests/lessons/LessonFixture.h"
#include "tests/rules/RulesFixture.h"

#include <algorithm>
#include <cstdint>

#include <vector>

namespace {

using rulestest::RulesTest;

class HumanOnlineTurnTest : public RulesTest {
protected:
    void SetUp() override
    {
        RulesTest::SetUp();
        SetMode(3);
        ResetPhysicalTurnState();
        ResetOnlineTurnState();
        ResetHumanOnlineTurn();
        SetOpeningHandSize(7);
    }
    void TearDown() override
    {
        ResetPhysicalTurnState();
        ResetOnlineTurnState();
        ResetHumanOnlineTurn();
        RulesTest::TearDown();
    }
    int HandCount()
    {
        int count = 0;
        for (const CardActor* c : GetCardActors())
            count += c->GetOwner() == PLAYER_HUMAN && c->IsHeld() && !c->IsInLibrary() && c->IsNotLeaving() ? 1 : 0;
        return count;
    }
    void Hand(int cards)
    {
        for (int i = 0; i < cards; ++i)
            InHand(Creature(1, 1)).SetInLibrary(false);
    }
};

TEST_F(HumanOnlineTurnTest, EachMulliganDealsOneCardFewer)
{
    Hand(7);
    for (const int expected : {6, 5, 4}) {
        AnswerMulligan(1);
        EXPECT_EQ(GetOpeningHandSize(), expected);
        EXPECT_EQ(GetMulligansLeft(), expected);
        EXPECT_EQ(s_MulliganState, 0);  // asked again
        EXPECT_FALSE(s_GameBegun);
    }
    // The old hand went; what is in the hand now is the new deal only.
    EXPECT_LE(HandCount(), 4);
}

// A mulligan takes the old hand off the table (it never reaches the graveyard), and each game of a run starts
// with seven mulligans whatever the last game used.
TEST_F(HumanOnlineTurnTest, AMulliganTakesTheOldHandAwayAndEachGameStartsWithSeven)
{
    Hand(7);
    std::vector<CardActor*> oldHand;
    for (CardActor* c : GetCardActors())
        if (c->GetOwner() == PLAYER_HUMAN && c->IsHeld())
            oldHand.push_back(c);
    ASSERT_EQ(oldHand.size(), 7u);
    AnswerMulligan(1);
    EXPECT_EQ(Human().m_GraveyardCount, 0);
    for (CardActor* c : oldHand)
        EXPECT_FALSE(IsActorRegistered(c));

    SetMulligansLeft(2);
    GetTableInput().pickingReady = 1;
    m_human->m_Flags |= ACTOR_FLAG_FIRST_FRAME;
    HumanOnlineTurn(m_human);
    EXPECT_EQ(m_human->m_Flags & ACTOR_FLAG_FIRST_FRAME, 0u) << "the first frame ran";
    EXPECT_EQ(GetMulligansLeft(), 7);
    GetTableInput().pickingReady = 0;
}

TEST_F(HumanOnlineTurnTest, KeepOrNoMulliganLeftBeginsTheGame)
{
    for (const auto& [left, answer] : {std::pair{7, 2}, {0, 1}, {0, 2}}) {
        SCOPED_TRACE(testing::Message() << left << " left, answer " << answer);
        TearDown();
        SetUp();
        Hand(7);
        SetMulligansLeft(left);
        const int turn = s_TurnNumber;
        AnswerMulligan(answer);
        EXPECT_EQ(s_MulliganState, 1);
        EXPECT_TRUE(s_GameBegun);
        EXPECT_EQ(GetOpeningHandSize(), 7);
        EXPECT_EQ(HandCount(), 7);
        EXPECT_EQ(s_TurnNumber, turn + 1);
    }
}

TEST_F(HumanOnlineTurnTest, EightCardsAskForExactlyOneDiscard)
{
    Hand(8);
    CardActor& onTable = OnTable(Creature(2, 2));
    ASSERT_TRUE(HumanMustDiscard());
    EXPECT_FALSE(DiscardHumanCard(&onTable));
    EXPECT_FALSE(DiscardHumanCard(nullptr));
    std::vector<CardActor*> held;
    for (CardActor* c : GetCardActors())
        if (c->IsHeld() && c->GetOwner() == PLAYER_HUMAN)
            held.push_back(c);
    ASSERT_EQ(held.size(), 8u);
    EXPECT_TRUE(DiscardHumanCard(held[0]));
    EXPECT_EQ(HandCount(), 7);
    EXPECT_FALSE(HumanMustDiscard());
    // A further click on a hand card keeps it.
    EXPECT_FALSE(DiscardHumanCard(held[1]));
    EXPECT_EQ(HandCount(), 7);
}

} // namespace

namespace {

TEST_F(HumanOnlineTurnTest, TheBeginnersFirstTurnDrawsNothingAndLaterTurnsUntapFirst)
{
    GetTableInput().pickingReady = 1;
    s_MulliganState = 1;
    m_human->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    Human().m_LibraryCount = 40;
    Human().m_NextDrawIndex = 7;
    HandTurnTo(PLAYER_HUMAN);
    m_human->SetState(20);
    for (int frame = 0; frame < 20 && m_human->GetState() != 5; ++frame)
        HumanOnlineTurn(m_human);
    EXPECT_EQ(m_human->GetState(), 5);
    EXPECT_EQ(Human().m_NextDrawIndex, 7);

    // A later turn: the tapped land comes back before any draw is asked for.
    CardActor& land = OnTable(Land(ManaCost(0, 1, 0, 0, 0, 0)));
    land.SetTapState(TAP_TAPPED);
    m_human->SetState(0);
    HumanOnlineTurn(m_human);
    EXPECT_EQ(land.GetTapState(), TAP_READY);
    EXPECT_EQ(Human().m_CardsToDraw, 0);
    HumanOnlineTurn(m_human);
    EXPECT_EQ(m_human->GetState(), 22);
    EXPECT_EQ(Human().m_CardsToDraw, 1);
    GetTableInput().pickingReady = 0;
}

// Mode 3 shows no attack prompt until the learner clicks a creature that could attack, and that click declares
// it; mode 4 enters the step at once.
TEST_F(HumanOnlineTurnTest, ModeThreeEntersTheAttackStepOnTheLearnersClickOnACreature)
{
    for (const int mode : {3, 4}) {
        SCOPED_TRACE(mode);
        TearDown();
        SetUp();
        SetMode(mode);
        GetTableInput().pickingReady = 1;
        s_MulliganState = 1;
        s_GameBegun = true;
        m_human->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
        HandTurnTo(PLAYER_HUMAN);
        CardActor& creature = OnTable(Creature(2, 2));
        creature.SetTapState(TAP_READY);
        m_human->SetState(7);
        for (int frame = 0; frame < 3; ++frame)
            HumanOnlineTurn(m_human);
        EXPECT_EQ(s_DeclaringAttack, mode == 4);
        if (mode == 4)
            continue;
        GetTableSelection().selectedCard = &creature;
        GetTableInput().pointedCard = &creature;
        MouseState.leftClicked = 1;
        HumanOnlineTurn(m_human);
        EXPECT_FALSE(s_DeclaringAttack);
        EXPECT_EQ(MouseState.leftClicked, 1);
        HumanOnlineTurn(m_human);
        EXPECT_TRUE(s_DeclaringAttack);
        EXPECT_TRUE(creature.IsAttacking());
        EXPECT_EQ(MouseState.leftClicked, 0);
        GetTableSelection().selectedCard = nullptr;
        GetTableInput().pointedCard = nullptr;
    }
    GetTableInput().pickingReady = 0;
}

class OnlineBlockingTest : public lessontest::LessonTest {
protected:
    void TearDown() override
    {
        GetTableInput().pickingReady = 0;
        GetTableInput().pointedCard = nullptr;
        MouseState = MouseRecord();
        RemoveTextureName(u"cardglow");
        SetPlayerActors(nullptr, nullptr);
        ResetOnlineTurnState();
        ResetHumanOnlineTurn();
        LessonTest::TearDown();
    }

    // Whether the frame's primitives hold an image of the texture.
    static bool FrameUses(int texture)
    {
        const std::vector<DrawPrimitive> primitives = GetRaster()->GetFramePrimitives();
        return std::any_of(primitives.begin(), primitives.end(),
                           [texture](const DrawPrimitive& p) { return (p.flags & PRIM_TEXTURE) != 0 && p.item == texture; });
    }

    std::vector<std::uint16_t> m_GlowPixels = std::vector<std::uint16_t>(66 * 98, 0x07E0);
};

// The creature the learner picks to block is framed while it waits for its attacker.
TEST_F(OnlineBlockingTest, ThePickedBlockerIsFramed)
{
    SetMode(3);
    GetSpellStack().Reset(0);
    Actor* const human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
    Actor* const cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
    human->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    SetPlayerActors(human, cpu);
    Human().SetLife(20, true);
    Cpu().SetLife(20, true);
    GetTableInput().pickingReady = 1;
    s_MulliganState = 1;
    s_GameBegun = true;
    HandTurnTo(PLAYER_CPU);
    human->SetState(0);
    cpu->SetState(7);
    s_HumanBlockStep = 1;
    s_HumanBlockingEntered = true;
    const int glow = GetGameDisplay()->CreateTextureFromPixels(m_GlowPixels.data(), 66, 98, 0);
    ASSERT_GT(glow, 0);
    AddTextureName(u"cardglow", glow);
    CardActor* const blocker = Card(30, PLAYER_HUMAN);
    blocker->m_Position.z = 100.0f;
    CardActor* const attacker = Card(30, PLAYER_CPU);
    attacker->SetAttacking(true);

    const auto frame = [&](CardActor* pointed, bool click) {
        GetTableInput().pointedCard = pointed;
        MouseState.leftClicked = click ? 1 : 0;
        GetRaster()->BeginFrame();
        HumanOnlineTurn(human);
        GetRaster()->EndFrame();
    };
    frame(nullptr, false);
    EXPECT_FALSE(FrameUses(glow)) << "nothing picked yet";
    frame(blocker, true);
    frame(nullptr, false);
    EXPECT_TRUE(FrameUses(glow)) << "the picked blocker";
}

} // namespace
