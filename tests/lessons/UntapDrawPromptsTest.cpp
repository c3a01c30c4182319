// The untap and draw prompts of the learner's turn: who began, the early basic turns, the draw-step texts by turn,
// and the errors for acting before untapping or drawing in each lesson.
#include "engine/sound/VoiceQueue.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/TableFlowState.h"
#include "lessons/DrawingHand.h"
#include "lessons/UntapDrawPrompts.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"

namespace {

using namespace lessontest;

class UntapDrawPromptsTest : public LessonTest {
protected:
    DialogScreen m_screen;

    void SetUp() override
    {
        LessonTest::SetUp();
        ClearHintPlayCounts();
        KeysAsTexts({u"PHYSDLG_Untap", u"PHYSDLG_BASIC_SkippedUntapStep", u"PHYSDLG_BASIC_SkippedDrawStep",
                     u"PHYSDLG_DrawPhase", u"PHYSDLG_BASIC_DrawStep1", u"PHYSDLG_BASIC_DrawStep2"});
        m_savedCpuStarted = s_bCpuStarted;
    }

    void TearDown() override
    {
        s_bCpuStarted = m_savedCpuStarted;
        CloseLessonBox();
        DeleteLessonBox();
        LessonTest::TearDown();
    }

private:
    int m_savedCpuStarted = -1;
};

TEST_F(UntapDrawPromptsTest, TheFirstPlayerSetsTurnFlagsDrawsAndWhoStarted)
{
    SetFirstPlayer(1);
    EXPECT_TRUE(s_CpuTurn);
    EXPECT_FALSE(s_HumanTurn);
    EXPECT_TRUE(IsDrawHandStopped());
    EXPECT_EQ(Human().m_CardsToDraw, 1);
    EXPECT_EQ(s_bCpuStarted, 1);

    SetFirstPlayer(0);
    EXPECT_FALSE(s_CpuTurn);
    EXPECT_TRUE(s_HumanTurn);
    EXPECT_FALSE(IsDrawHandStopped());
    EXPECT_EQ(Human().m_CardsToDraw, 0);
    EXPECT_EQ(s_bCpuStarted, 0);

    SetFirstPlayer(2);
    EXPECT_TRUE(s_HumanTurn);
    EXPECT_EQ(s_bCpuStarted, 0);
}

TEST_F(UntapDrawPromptsTest, SmallTurnFacts)
{
    for (int kind = -1; kind <= 60; ++kind)
        EXPECT_EQ(IsUntapKind(kind), kind == 0 || (kind >= 36 && kind <= 40)) << kind;
    for (const int mode : {1, 2, 3}) {
        SetMode(mode);
        for (int state = 0; state <= 22; ++state)
            EXPECT_EQ(IsBasicLessonStep(state),
                      mode == 1 && (state == 6 || state == 14 || state == 15 || state == 17))
                << mode << " " << state;
    }
    SetMode(1);
}

TEST_F(UntapDrawPromptsTest, TheDrawStepTextFollowsWhoBeganAndTheTurn)
{
    const std::u16string step1 = u"PHYSDLG_BASIC_DrawStep1";
    const std::u16string step2 = u"PHYSDLG_BASIC_DrawStep2";
    const std::u16string phase = u"PHYSDLG_DrawPhase";
    struct Case {
        int mode;
        int cpuStarted;
        std::u16string texts[6];  // turns 1 to 6
    };
    const Case cases[] = {
        {1, 1, {step1, step1, step2, step2, phase, phase}},
        {1, -1, {step1, step1, step2, step2, phase, phase}},
        {1, 0, {step1, step1, step1, step2, step2, phase}},
        {2, 1, {phase, phase, phase, phase, phase, phase}},
    };
    for (const Case& c : cases) {
        SetMode(c.mode);
        s_bCpuStarted = c.cpuStarted;
        for (int turn = 1; turn <= 6; ++turn) {
            s_HumanTurnCount = turn;
            EXPECT_EQ(IsEarlyBasicTurn(), c.mode == 1 && turn <= (c.cpuStarted != 0 ? 4 : 5)) << turn;
            ASSERT_TRUE(ShowDrawStepPrompt());
            EXPECT_EQ(ShownKind(), KIND_DRAW_STEP);
            EXPECT_EQ(ShownText(), c.texts[turn - 1]) << "mode " << c.mode << " began " << c.cpuStarted << " turn "
                                                      << turn;
            EXPECT_GE(GetLessonBox()->GetHeight(), 140);
        }
    }
    // Each clip speaks once per run: the last case spoke the advanced clip, the first the basic ones.
    EXPECT_TRUE(WasSpoken(u"vo_phys\\basic_draw1-2.wav"));
    EXPECT_TRUE(WasSpoken(u"vo_phys\\basic_draw3-4.wav"));
    EXPECT_TRUE(WasSpoken(u"vo_phys\\adv_drawphase.wav"));
}

TEST_F(UntapDrawPromptsTest, TheDrawStepBoxGivesWayToTheWrongPlaceErrorAndTheStackWindow)
{
    SetMode(2);
    ShowBox(2);
    EXPECT_TRUE(ShowDrawStepPrompt());
    EXPECT_EQ(ShownKind(), 2);
    CloseLessonBox();
    GetSpellStack().OpenWindow();
    GetGameDisplay()->RegisterWindow(GetSpellStack().GetWindow());
    if (GetSpellStack().IsWindowUp()) {
        EXPECT_FALSE(ShowDrawStepPrompt());
        EXPECT_FALSE(IsLessonBoxShowing());
    }
    GetSpellStack().CloseWindow();
}

TEST_F(UntapDrawPromptsTest, TheUntapPromptSpeaksOnce)
{
    EXPECT_TRUE(ShowUntapPrompt());
    EXPECT_EQ(ShownKind(), KIND_UNTAP_PROMPT);
    EXPECT_EQ(ShownText(), u"PHYSDLG_Untap");
    EXPECT_EQ(GetLessonBox()->GetWidth(), 240);
    EXPECT_TRUE(WasSpoken(u"vo_phys\\UntapPrompt.wav"));
}

TEST_F(UntapDrawPromptsTest, SkippedUntapByModeAndWhatIsAlreadyUp)
{
    // Basic: its own error, spoken each time it is shown.
    SetMode(1);
    EXPECT_TRUE(ShowSkippedUntapError());
    EXPECT_EQ(ShownKind(), KIND_SKIPPED_UNTAP);
    EXPECT_GT(VoiceQueueLength(), 0u);
    // Already up, or any untap box up: nothing new.
    StopVoiceQueue();
    EXPECT_FALSE(ShowSkippedUntapError());
    EXPECT_EQ(VoiceQueueLength(), 0u);
    for (const int kind : {0, 36, 39}) {
        ShowBox(kind);
        EXPECT_FALSE(ShowSkippedUntapError()) << kind;
        EXPECT_EQ(ShownKind(), kind);
    }
    // Another box gives way.
    ShowBox(4);
    EXPECT_TRUE(ShowSkippedUntapError());
    EXPECT_EQ(ShownKind(), KIND_SKIPPED_UNTAP);
    // Blocked advice: nothing.
    CloseLessonBox();
    CardActor parked;
    SetMistimedCard(&parked);
    EXPECT_FALSE(ShowSkippedUntapError());
    EXPECT_FALSE(IsLessonBoxShowing());
    SetMistimedCard(nullptr);

    // Advanced: the untap prompt. Online: nothing.
    SetMode(2);
    EXPECT_TRUE(ShowSkippedUntapError());
    EXPECT_EQ(ShownKind(), KIND_UNTAP_PROMPT);
    CloseLessonBox();
    SetMode(3);
    EXPECT_FALSE(ShowSkippedUntapError());
    EXPECT_FALSE(IsLessonBoxShowing());
    SetMode(1);
}

TEST_F(UntapDrawPromptsTest, SkippedDrawByModeAndParkedCards)
{
    SetMode(1);
    s_HumanTurnCount = 1;
    for (int repeat = 0; repeat < 2; ++repeat) {
        StopVoiceQueue();
        EXPECT_TRUE(ShowSkippedDrawError());
        EXPECT_EQ(ShownKind(), KIND_SKIPPED_DRAW);
        EXPECT_GT(VoiceQueueLength(), 0u) << "a repeat speaks again";
    }
    CardActor card;
    struct Parked {
        void (*set)(CardActor*);
    };
    // The turn's card waiting on the pile holds nothing; once it is lifted, the draw is under way.
    GetTableFlow().cardDrawnByHand = &card;
    EXPECT_TRUE(ShowSkippedDrawError());
    card.BeginDrag(0, 0);
    SetDraggedCard(nullptr);
    for (const Parked p : {Parked{SetCardBeingPaid}, Parked{SetUnaffordableCard}, Parked{SetMistimedCard},
                           Parked{[](CardActor* c) { GetTableFlow().cardDrawnByHand = c; }}}) {
        p.set(&card);
        EXPECT_FALSE(ShowSkippedDrawError());
        p.set(nullptr);
    }

    SetMode(2);
    EXPECT_TRUE(ShowSkippedDrawError());
    EXPECT_EQ(ShownKind(), KIND_DRAW_STEP);
    EXPECT_EQ(ShownText(), u"PHYSDLG_DrawPhase");
    SetMode(4);
    CloseLessonBox();
    EXPECT_FALSE(ShowSkippedDrawError());
    SetMode(1);
}

} // namespace
