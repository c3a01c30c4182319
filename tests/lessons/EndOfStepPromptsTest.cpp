// The prompts before the learner leaves a step: the mana-burn warning with its lands to untap, the pass prompt
// when a free attack is given up, and the play-more-cards prompt, each by table.
#include "engine/core/LanguageManager.h"
#include "engine/core/StringTable.h"
#include "gamestate/CardMoveState.h"
#include "lessons/EndOfStepPrompts.h"
#include "rules/ManaPool.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"

#include <string>

namespace {

using namespace lessontest;

constexpr int MOUNTAIN = 1;
constexpr int CREATURE = 30;  // costs one red
constexpr int INSTANT = 40;

class EndOfStepPromptsTest : public LessonTest {
protected:
    DialogScreen m_screen;

    void SetUp() override
    {
        LessonTest::SetUp();
        ClearHintPlayCounts();
        AddString(u"PRE_PHYSDLG_EndOfTurnManaBurn", u"Burn:");
        AddString(u"PHYSDLG_ManaBurn_UntapLandFormatString", u"untap %0");
        KeysAsTexts({u"PHYSDLG_PassAndNoAttack", u"PHYSDLG_PlayMoreCards", u"PHYSDLG_BUTTON_Attack",
                     u"PHYSDLG_BUTTON_EndTurn", u"PHYSDLG_BUTTON_PlayMoreCards"});
        g_CardDefs[MOUNTAIN].m_Name[0] = u'M';
        g_CardDefs[INSTANT].m_CardType = CT_INSTANT;
        s_GameMode = 1;
    }

    void TearDown() override
    {
        CloseLessonBox();
        DeleteLessonBox();
        s_GameMode = 0;
        // The texts added here die with the test's heap.
        ClearStringTables();
        LessonTest::TearDown();
    }

    static CardActor* TappedMountain()
    {
        CardActor* const land = Card(MOUNTAIN, 0);
        land->SetTapState(TAP_TAPPED);
        return land;
    }

    void NextCase()
    {
        CloseLessonBox();
        ClearHintPlayCounts();
        ResetTableScene();
        PurgeRemovedActors();
        g_CardDefs[MOUNTAIN].m_Name[0] = u'M';
        g_CardDefs[INSTANT].m_CardType = CT_INSTANT;
        s_GameMode = 1;
    }
};

TEST_F(EndOfStepPromptsTest, TheManaBurnWarningListsTheLandsAndGoesWhenThePoolIsEmpty)
{
    const char16_t* const key = u"PRE_PHYSDLG_EndOfTurnManaBurn";
    // Advanced lesson: never.
    s_GameMode = 2;
    TappedMountain();
    Human().m_ManaPool.red = 1;
    EXPECT_FALSE(ShowManaBurnWarning(key));
    EXPECT_FALSE(IsLessonBoxShowing());
    NextCase();

    // Floating mana no land accounts for is emptied without a word.
    Human().m_ManaPool.blue = 2;
    EXPECT_FALSE(ShowManaBurnWarning(key));
    EXPECT_FALSE(IsLessonBoxShowing());
    EXPECT_EQ(Human().m_ManaPool.Total(), 0);
    NextCase();

    TappedMountain();
    TappedMountain();
    Human().m_ManaPool.red = 2;
    EXPECT_TRUE(ShowManaBurnWarning(key));
    ASSERT_EQ(ShownKind(), 10);
    EXPECT_EQ(ShownText(), u"Burn:\n     untap M\n     untap M");
    EXPECT_TRUE(WasSpoken(u"vo_phys\\ManaBurn.wav"));
    // Part of it spent: the list is rewritten, the clip not repeated.
    ClearHintPlayCounts();
    Human().m_ManaPool.red = 1;
    EXPECT_TRUE(ShowManaBurnWarning(key));
    EXPECT_EQ(ShownText(), u"Burn:\n     untap M");
    EXPECT_FALSE(WasSpoken(u"vo_phys\\ManaBurn.wav"));
    // All spent: the warning withdraws itself.
    Human().m_ManaPool.red = 0;
    EXPECT_FALSE(ShowManaBurnWarning(key));
    EXPECT_FALSE(IsLessonBoxShowing());
    EXPECT_EQ(GetLessonBox(), nullptr);
}

TEST_F(EndOfStepPromptsTest, AnEmptyPoolLeavesABoxOfAnotherKindAlone)
{
    Messagebox* const other = ShowBox(15);
    EXPECT_FALSE(ShowManaBurnWarning(u"PRE_PHYSDLG_EndOfTurnManaBurn"));
    EXPECT_EQ(GetLessonBox(), other);
    EXPECT_TRUE(IsLessonBoxShowing());
}

TEST_F(EndOfStepPromptsTest, ThePassPromptAsksOnlyWhenAFreeAttackIsGivenUp)
{
    struct Case {
        const char* name;
        bool attacked, creature, cpuBlocker;
        bool shown;
        int counterAfter;
    };
    const Case cases[] = {
        {"free attack", false, true, false, true, 0},
        {"already attacked", true, true, false, false, 1},
        {"no creature to attack with", false, false, false, false, 1},
        {"the CPU could block", false, true, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetEndOfStepPrompts();
        Human().SetAttackDeclared(c.attacked);
        if (c.creature)
            Card(CREATURE, 0);
        if (c.cpuBlocker)
            Card(CREATURE, 1);
        int answer = -5;
        EXPECT_EQ(ShowPassAndNoAttackPrompt(answer), c.shown);
        EXPECT_EQ(ShownKind() == 15, c.shown);
        EXPECT_EQ(PassPromptCounter(), c.counterAfter);
        if (c.shown) {
            EXPECT_EQ(answer, -1);
            EXPECT_EQ(ShownText(), u"PHYSDLG_PassAndNoAttack");
            ASSERT_EQ(GetLessonBox()->GetButtonCount(), 2);
            EXPECT_EQ(GetLessonBox()->GetButton(0)->GetWidth(), GetLessonBox()->GetButton(1)->GetWidth());
            EXPECT_TRUE(WasSpoken(u"vo_phys\\EOT_PassAndNoAttack.wav"));
            // Polled until answered; the answer closes it for the rest of the turn.
            EXPECT_TRUE(ShowPassAndNoAttackPrompt(answer));
            EXPECT_EQ(answer, -1);
            LessonTest::Click(GetLessonBox(), 1);
            EXPECT_TRUE(ShowPassAndNoAttackPrompt(answer));
            EXPECT_EQ(answer, 1);
            EXPECT_FALSE(IsLessonBoxShowing());
            EXPECT_FALSE(ShowPassAndNoAttackPrompt(answer));
        }
        NextCase();
        Human().SetAttackDeclared(false);
    }
}

TEST_F(EndOfStepPromptsTest, ThePlayMoreCardsPromptLooksForALandOrAPlayableCard)
{
    struct Case {
        const char* name;
        bool landPlayed, landInHand, creatureInHand, instantInHand, untappedLand;
        bool shown;
    };
    const Case cases[] = {
        {"a land still to play", false, true, false, false, false, true},
        {"land played, an affordable creature", true, true, true, false, true, true},
        {"land played, a creature it cannot pay for", true, false, true, false, false, false},
        {"an instant alone", true, false, false, true, true, false},
        {"nothing in hand", false, false, false, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetEndOfStepPrompts();
        GetCardMoveState().landPlayedTurn = -1;
        if (c.landPlayed)
            MarkLandPlayed();
        if (c.landInHand)
            Card(MOUNTAIN, 0, true);
        if (c.creatureInHand)
            Card(CREATURE, 0, true);
        if (c.instantInHand)
            Card(INSTANT, 0, true);
        if (c.untappedLand)
            Card(MOUNTAIN, 0);
        UpdateHumanAvailableMana();
        int answer = -5;
        EXPECT_EQ(ShowPlayMoreCardsPrompt(answer), c.shown);
        EXPECT_EQ(ShownKind() == 16, c.shown);
        if (c.shown) {
            EXPECT_EQ(ShownText(), u"PHYSDLG_PlayMoreCards");
            EXPECT_TRUE(WasSpoken(u"vo_phys\\EOT_PlayMoreCards.wav"));
        } else {
            EXPECT_EQ(PlayMoreCardsCounter(), 1);
        }
        NextCase();
    }
    GetCardMoveState().landPlayedTurn = -1;
}

TEST_F(EndOfStepPromptsTest, ThePlayMoreCardsPromptComesTwiceAndSpreadsItsButtonsOnlyForScaledText)
{
    Card(MOUNTAIN, 0, true);
    int answer = -5;
    for (int time = 0; time < 2; ++time) {
        ASSERT_TRUE(ShowPlayMoreCardsPrompt(answer)) << time;
        LessonTest::Click(GetLessonBox(), 0);
        EXPECT_TRUE(ShowPlayMoreCardsPrompt(answer));
        EXPECT_EQ(answer, 0);
    }
    EXPECT_FALSE(ShowPlayMoreCardsPrompt(answer)) << "twice a turn at most";

    // Text scale 1.0: each button keeps its own width and the box's own arrangement.
    ResetEndOfStepPrompts();
    ASSERT_TRUE(ShowPlayMoreCardsPrompt(answer));
    Messagebox* box = GetLessonBox();
    EXPECT_NE(box->GetButton(0)->GetWidth(), box->GetButton(1)->GetWidth());
    EXPECT_NE(box->GetArrangement(), 3);
    CloseLessonBox();
    GetLanguageManager()->SetLanguage(2, false);
    ASSERT_GT(GetLanguageManager()->GetTextScale(), 1.0f);
    KeysAsTexts({u"PHYSDLG_PlayMoreCards", u"PHYSDLG_BUTTON_EndTurn", u"PHYSDLG_BUTTON_PlayMoreCards"});
    ASSERT_TRUE(ShowPlayMoreCardsPrompt(answer));
    box = GetLessonBox();
    EXPECT_EQ(box->GetButton(0)->GetWidth(), box->GetButton(1)->GetWidth());
    EXPECT_EQ(box->GetArrangement(), 3);
    GetLanguageManager()->SetLanguage(1, false);
}

} // namespace
