// The lesson's small queries: a card playable now, a player's available mana, the explanation links of the cards
// that have one, the table's drag test, the mana-burn sources and the demonstration hand's carried card.
#include "cards/TableInput.h"
#include "engine/scene/Actor.h"
#include "gamestate/LessonState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gui/ExplanatoryWindow.h"
#include "gui/GUI_TextButton.h"
#include "lessons/HandDemos.h"
#include "lessons/LessonQueries.h"
#include "rules/ManaPool.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"

namespace {

using namespace lessontest;

constexpr int MOUNTAIN = 1;
constexpr int RED_TWO = 25;  // one red and one generic

class LessonQueriesTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(m_human, m_cpu);
    }

    void TearDown() override
    {
        ClearAdviceCards();
        ClearManaBurnSources();
        SetFreePlayFlag(0);
        SetCanPlayNowFlag(0);
        LessonTest::TearDown();
    }

    Actor* m_human = nullptr;
    Actor* m_cpu = nullptr;
};

TEST_F(LessonQueriesTest, ACreatureWaitsForTheMainPhaseAndTheStepFlagAnArtifactDoesNot)
{
    Card(MOUNTAIN, PLAYER_HUMAN);
    Card(MOUNTAIN, PLAYER_HUMAN);
    UpdateHumanAvailableMana();
    CardActor* const creature = Card(RED_TWO, PLAYER_HUMAN, true);
    g_CardDefs[26] = g_CardDefs[RED_TWO];
    g_CardDefs[26].m_Id = 26;
    g_CardDefs[26].m_CardType = CT_ARTIFACT;
    CardActor* const artifact = Card(26, PLAYER_HUMAN, true);
    struct Case {
        int state;
        bool stepFlag;
        bool creaturePlayable;
    };
    for (const Case c : {Case{5, false, false}, Case{5, true, true}, Case{7, true, false}}) {
        m_human->SetState(c.state);
        s_StepFlag = c.stepFlag;
        EXPECT_EQ(CanPlayCardNow(creature, false), c.creaturePlayable) << c.state << c.stepFlag;
        EXPECT_TRUE(CanPlayCardNow(artifact, false));
        EXPECT_TRUE(CanPlayCardNow(creature, true)) << "an ability does not wait";
    }
    // Unaffordable: never.
    CardActor* const dear = Card(RED_TWO, PLAYER_HUMAN, true);
    dear->m_Cost.generic = 5;
    g_CardDefs[27] = g_CardDefs[26];
    g_CardDefs[27].m_Id = 27;
    g_CardDefs[27].m_Cost.generic = 5;
    EXPECT_FALSE(CanPlayCardNow(Card(27, PLAYER_HUMAN, true), false));
    EXPECT_FALSE(CanPlayCardNow(nullptr, false));
    s_StepFlag = false;
}

TEST_F(LessonQueriesTest, AvailableManaRefreshesThePlayersOwnCount)
{
    Card(MOUNTAIN, PLAYER_CPU);
    Card(MOUNTAIN, PLAYER_CPU);
    Card(MOUNTAIN, PLAYER_HUMAN);
    ManaCost out;
    EXPECT_EQ(GetAvailableMana(out, PLAYER_CPU).red, 2);
    EXPECT_EQ(out.Total(), 2);
    EXPECT_EQ(GetAvailableMana(out, PLAYER_HUMAN).red, 1);
    EXPECT_EQ(GetAvailableMana(PLAYER_CPU).Total(), 2);
}

TEST_F(LessonQueriesTest, CardsWithAnExplanationGetALinkInTheVisitedColour)
{
    ResetExplanationLinksVisited();
    Messagebox box;
    AddCardExplanationLink(&box, Card(30, PLAYER_HUMAN));
    EXPECT_EQ(box.GetExtraWindowCount(), 0) << "a card without an explanation";
    AddCardExplanationLink(&box, Card(CD_SELOLBER, PLAYER_HUMAN));
    EXPECT_EQ(box.GetExtraWindowCount(), 0) << "a link without a caption";

    struct Case {
        int id;
        const char16_t* caption;
        int link;
    };
    const Case cases[] = {{CD_SELOLBER, u"PHYSEXPL_LINK_CARD_SELOLBER", 11},
                          {CD_MAVOLNEL, u"PHYSEXPL_LINK_CARD_MAVOLNEL", 13},
                          {CD_BRAANDRE, u"PHYSEXPL_LINK_CARD_BRAANDRE", 24}};
    for (const Case& c : cases) {
        AddString(c.caption, u"Read more");
        Messagebox before;
        AddCardExplanationLink(&before, Card(c.id, PLAYER_HUMAN));
        ASSERT_EQ(before.GetExtraWindowCount(), 1) << c.id;
        EXPECT_EQ(before.GetExtraWindow(0)->GetTag(), c.link);
        const GUI_Colour fresh = before.GetExtraWindow(0)->GetTextColour();
        EXPECT_EQ(fresh.r, 255);
        EXPECT_EQ(fresh.g, 192);
        EXPECT_EQ(fresh.b, 0);

        // Once opened, every later box draws it in the visited colour.
        before.OpenExplanation(c.link);
        before.CloseExplanation();
        ASSERT_TRUE(IsExplanationLinkVisited(c.link));
        Messagebox after;
        AddCardExplanationLink(&after, Card(c.id, PLAYER_HUMAN));
        const GUI_Colour visited = after.GetExtraWindow(0)->GetTextColour();
        EXPECT_EQ(visited.r, 0);
        EXPECT_EQ(visited.g, 160);
        EXPECT_EQ(visited.b, 224);
    }
    ResetExplanationLinksVisited();
}

TEST_F(LessonQueriesTest, TheTableTakesADragOnlyWhenNothingIsParkedAndTheLearnerMayAct)
{
    CardActor card;
    m_human->SetState(5);
    HandTurnTo(PLAYER_HUMAN);
    // Outside an answer the learner's out-of-turn word is off: no drag at all.
    EXPECT_FALSE(IsHumanPlayAllowed());
    SetCanPlayNowFlag(1);
    EXPECT_TRUE(IsHumanPlayAllowed());
    for (void (*set)(CardActor*) : {SetUnaffordableCard, SetCardBeingPaid, SetMistimedCard}) {
        set(&card);
        EXPECT_FALSE(IsHumanPlayAllowed());
        set(nullptr);
    }
    GetTableFlow().cardDrawnByHand = &card;
    EXPECT_FALSE(IsHumanPlayAllowed());
    GetTableFlow().cardDrawnByHand = nullptr;
    // In the CPU's turn only the free-play byte lets it through.
    HandTurnTo(PLAYER_CPU);
    EXPECT_FALSE(IsHumanPlayAllowed());
    SetFreePlayFlag(1);
    EXPECT_TRUE(IsHumanPlayAllowed());
}

TEST_F(LessonQueriesTest, ManaBurnSourcesAndTheCarriedCard)
{
    CardActor* const land = Card(MOUNTAIN, PLAYER_HUMAN);
    EXPECT_FALSE(IsManaBurnSource(land));
    GetManaBurnSources().push_back(land);
    EXPECT_TRUE(IsManaBurnSource(land));
    EXPECT_FALSE(IsManaBurnSource(nullptr));
    ClearManaBurnSources();
    EXPECT_FALSE(IsManaBurnSource(land));

    EXPECT_EQ(GetDemoCarriedCard(), nullptr);
    GetDemoCarry() = DemoCarry{land, 120, 340, 36, 54};
    int x = 0;
    int y = 0;
    GetDemoCarryStart(x, y);
    EXPECT_EQ(GetDemoCarriedCard(), land);
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, 340);
    GetDemoCarrySize(x, y);
    EXPECT_EQ(x, 36);
    EXPECT_EQ(y, 54);
    ResetHandDemos();
    EXPECT_EQ(GetDemoCarriedCard(), nullptr);
}

} // namespace
