// The advisor's frame: its gates, showing the chosen advice once (no re-layout and no voice while the advice on
// screen stays the same), mana burn first and once, the answers, the situation signature, the resets, and the
// cursors kept in step with the actor list.
#include "tests/lessons/OnlineAdviceFixture.h"

#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "gui/GUI_Event.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "lessons/CardLists.h"
#include "lessons/LessonFlow.h"
#include "rules/BoardQueries.h"
#include "rules/SpellStack.h"

namespace {

using advicetest::OnlineAdviceTest;

class OnlineAdvisorTest : public OnlineAdviceTest {
protected:
    void SetUp() override
    {
        OnlineAdviceTest::SetUp();
        SetPlayerActors(m_human, m_cpu);
        StopVoiceQueue();
    }
    void TearDown() override
    {
        DeleteOnlineAdviceBox();
        StopVoiceQueue();
        OnlineAdviceTest::TearDown();
    }
    // The learner's attack declared, nothing to cast: advice 47, spoken once, with no button.
    void DeclaredAttack()
    {
        OnTable(Creature(2, 2), PLAYER_HUMAN).SetAttacking(true);
        s_AttackStep = 2;
        HandTurnTo(PLAYER_HUMAN);
        m_human->SetState(STEP_COMBAT);
    }
    static void Frame() { OnlineAdvisor(); }
    static void Click(Messagebox* box, int button)
    {
        GUI_InputEvent event;
        event.type = GUI_EVENT_COMMAND;
        event.sender = box->GetButton(button);
        box->HandleInput(event);
    }
};

TEST_F(OnlineAdvisorTest, WithTheAdvisorOffNothingIsShownOrSpoken)
{
    DeclaredAttack();
    s_bAdvisorOn = false;
    Frame();
    m_cpu->SetState(STEP_MAIN);
    Frame();
    EXPECT_EQ(GetOnlineAdvice(), 0);
    EXPECT_EQ(GetOnlineAdviceBox(), nullptr);
    EXPECT_EQ(VoiceQueueLength(), 0u);
}

TEST_F(OnlineAdvisorTest, AdviceEqualToTheOneShownStaysAsItIsWithoutVoice)
{
    DeclaredAttack();
    s_bAdvisorOn = true;
    Frame();
    ASSERT_EQ(GetOnlineAdvice(), 47);
    const Messagebox* const box = GetOnlineAdviceBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(VoiceQueueLength(), 1u);
    EXPECT_EQ(GetOnlineAdviceNumber(), 47) << "the rules read the same number";
    const int left = box->GetLeft();
    const int top = box->GetTop();
    // An idle frame: no new situation.
    StopVoiceQueue();
    Frame();
    // The opponent taps a card: a new situation whose advice is the same.
    OnTable(Creature(1, 1), PLAYER_CPU).SetTapState(TAP_TAPPED);
    Frame();
    EXPECT_EQ(GetOnlineAdvice(), 47);
    EXPECT_EQ(GetOnlineAdviceBox(), box);
    EXPECT_EQ(box->GetLeft(), left);
    EXPECT_EQ(box->GetTop(), top);
    EXPECT_EQ(VoiceQueueLength(), 0u) << "the same situation later queues no voice";
    EXPECT_EQ(Memory().attackInstantsBudget, 2) << "the budget fell once";
}

TEST_F(OnlineAdvisorTest, ManaBurnComesFirstAndOnce)
{
    DeclaredAttack();
    s_bAdvisorOn = true;
    GetPlayerState(PLAYER_HUMAN)->m_ManaPool = ManaCost(0, 2, 0, 0, 0, 0);
    ResetOnlineLesson(0);  // the end of a turn stores what burns
    ASSERT_EQ(Memory().pendingManaBurn, 2);
    GetPlayerState(PLAYER_HUMAN)->m_ManaPool.Clear();
    Frame();
    ASSERT_EQ(GetOnlineAdvice(), 1010);
    Messagebox* const box = GetOnlineAdviceBox();
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->GetButtonCount(), 1);
    // While it is up, no other situation takes its place.
    OnTable(Creature(1, 1), PLAYER_CPU).SetTapState(TAP_TAPPED);
    Frame();
    EXPECT_EQ(GetOnlineAdvice(), 1010);
    // OK: the burn is forgotten and the advice of the situation follows.
    Click(box, 0);
    Frame();
    Frame();
    EXPECT_EQ(Memory().pendingManaBurn, 0);
    EXPECT_EQ(GetOnlineAdvice(), 47);
    Frame();
    EXPECT_NE(GetOnlineAdvice(), 1010);
}

// An explanation read and closed with OK does not come back while the situation gives the same advice.
TEST_F(OnlineAdvisorTest, AnAnsweredAdviceStaysDownUntilOtherAdviceComes)
{
    s_bAdvisorOn = true;
    HandTurnTo(PLAYER_HUMAN);
    m_human->SetState(STEP_MAIN);
    Frame();
    ASSERT_EQ(GetOnlineAdvice(), 5);
    Messagebox* const box = GetOnlineAdviceBox();
    ASSERT_NE(box, nullptr);
    Click(box, 0);
    for (int i = 0; i < 3; ++i)
        Frame();
    EXPECT_EQ(GetOnlineAdviceBox(), nullptr);
    // The learner's attack: other advice goes up.
    DeclaredAttack();
    Frame();
    EXPECT_EQ(GetOnlineAdvice(), 47);
    EXPECT_NE(GetOnlineAdviceBox(), nullptr);
}

TEST_F(OnlineAdvisorTest, TheCancelButtonGivesTheAdvisedSpellUp)
{
    s_bAdvisorOn = true;
    OnTable(Creature(1, 1), PLAYER_CPU);
    CardActor& card = InHand(TargetInstant(CD_SAVOTNEL));
    GetTableSelection().pendingSpell = &card;
    GetTableSelection().spellPayment = true;
    HandTurnTo(PLAYER_CPU);
    m_cpu->SetState(STEP_MAIN);
    Frame();
    ASSERT_EQ(GetOnlineAdvice(), 150);
    Messagebox* const box = GetOnlineAdviceBox();
    ASSERT_NE(box, nullptr);
    Click(box, 0);
    Frame();
    EXPECT_EQ(GetTableSelection().pendingSpell, nullptr);
    EXPECT_FALSE(GetTableSelection().spellPayment);
    EXPECT_TRUE(card.IsHeld());
    Frame();
    EXPECT_EQ(GetOnlineAdviceBox(), nullptr);
}

TEST_F(OnlineAdvisorTest, TheWenorthQuestionSetsTheModeInBothGames)
{
    for (const int mode : {3, 4}) {
        Fresh();
        SetMode(mode);
        SetPlayerActors(m_human, m_cpu);
        s_bAdvisorOn = true;
        CardActor& card = InHand(TargetInstant(CD_WENORTH));
        GetTableSelection().pendingSpell = &card;
        HandTurnTo(PLAYER_CPU);
        m_cpu->SetState(STEP_MAIN);
        Frame();
        ASSERT_EQ(GetOnlineAdvice(), 153) << mode;
        Messagebox* const box = GetOnlineAdviceBox();
        ASSERT_EQ(box->GetButtonCount(), 2);
        Click(box, 1);
        Frame();
        EXPECT_EQ(card.GetState(), 2) << "prevent damage";
        DeleteOnlineAdviceBox();
    }
}

// The physical lesson asks the same signature each frame: a step or a stack change is a new situation, an idle
// frame is not.
TEST_F(OnlineAdvisorTest, ThePhysicalLessonSeesAChangeOnAStepOrStackChangeOnly)
{
    SetMode(1);
    m_human->SetState(5);
    DetectSituationChange(false);
    EXPECT_FALSE(DetectSituationChange(false)) << "idle";
    m_human->SetState(7);
    EXPECT_TRUE(DetectSituationChange(false)) << "step";
    EXPECT_FALSE(DetectSituationChange(false));
    CardActor& spell = OnTable(TargetInstant(CD_SAVOTNEL), PLAYER_CPU);
    GetSpellStack().m_Entries[0].card = &spell;
    GetSpellStack().m_Count = 1;
    EXPECT_TRUE(DetectSituationChange(false)) << "stack";
    EXPECT_FALSE(DetectSituationChange(false));
    EXPECT_TRUE(DetectSituationChange(true)) << "forced";
    GetSpellStack().m_Count = 0;
    GetSpellStack().m_Entries[0] = StackEntry();
}

TEST_F(OnlineAdvisorTest, TheResetsClearTheTurnOrTheWholeGame)
{
    Memory().firstLandBudget = 1;
    Memory().remindersDone = true;
    s_CpuDiscardDone = true;
    s_HumanEndOfTurn = true;
    s_TurnNumber = 4;
    ResetOnlineLesson(0);
    EXPECT_FALSE(Memory().remindersDone);
    EXPECT_EQ(Memory().firstLandBudget, 1) << "a game's budgets outlive the turn";
    EXPECT_FALSE(s_CpuDiscardDone);
    EXPECT_FALSE(s_HumanEndOfTurn);
    EXPECT_EQ(Memory().turnNumber, 4);
    s_bAdvisorOn = true;
    ResetOnlineLesson(1);
    EXPECT_EQ(Memory().firstLandBudget, 4);
    EXPECT_FALSE(s_bAdvisorOn);
}

TEST_F(OnlineAdvisorTest, ACursorOnALeavingCardMovesToTheNextAndAllActorsGoneMovesItToTheEnd)
{
    CardActor& a = OnTable(Creature(1, 1), PLAYER_HUMAN);
    CardActor& b = OnTable(Creature(1, 1), PLAYER_HUMAN);
    CardActor& c = OnTable(Creature(1, 1), PLAYER_HUMAN);
    (void)a;
    AdvisorCursor& cursor = Memory().sicknessCursor;
    const std::vector<CardActor*> cards = GetCardActors();
    const int atB = static_cast<int>(std::find(cards.begin(), cards.end(), &b) - cards.begin());
    cursor.SetPosition(atB);
    ASSERT_EQ(cursor.next, &b);
    RemoveActor(&b);
    EXPECT_EQ(cursor.next, &c);
    EXPECT_EQ(cursor.Position(), atB);
    RemoveActor(&c);
    EXPECT_TRUE(cursor.atEnd) << "nothing after it";
    cursor.ToStart();
    s_bAdvisorOn = true;
    DeclaredAttack();
    Frame();
    ASSERT_NE(GetOnlineAdviceBox(), nullptr);
    RebuildCardLists();
    EXPECT_TRUE(Memory().sicknessCursor.atEnd);
    EXPECT_TRUE(Memory().pumpCursor.atEnd);
    EXPECT_EQ(GetOnlineAdviceBox(), nullptr);
}

} // namespace
