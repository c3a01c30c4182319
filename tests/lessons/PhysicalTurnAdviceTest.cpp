// The physical lesson's turn-advice gate on small boards: which rule decides the frame, the end of the game, the
// instant-answer prompt, the clean-up box, the learner's step advice and the order of the combat explanations.
#include "lessons/PhysicalTurnAdvice.h"

#include "cards/CardActor.h"
#include "engine/core/RegistrySettings.h"
#include "engine/core/StringTable.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/Wave.h"
#include "gamestate/LessonState.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TurnAdviceState.h"
#include "gui/WordBalloon.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/TableFlow.h"
#include "lessons/TurnAdvice.h"
#include "rules/PlayerState.h"
#include "tests/lessons/LessonFixture.h"

#include <string>

namespace {

using lessontest::LessonTest;

constexpr int CREATURE = 30;

class PhysicalTurnAdviceTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(1);
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(m_human, m_cpu);
        Human().SetLife(20, true);
        Cpu().SetLife(20, true);
        HandTurnTo(PLAYER_HUMAN);
        m_human->SetState(3);
        m_cpu->SetState(0);
    }

    void TearDown() override
    {
        ResetCpuPhysicalTurn();
        LessonTest::TearDown();
    }

    static int ShownKind()
    {
        return IsLessonBoxShowing() ? GetLessonBox()->GetKindNumber() : -1;
    }

    static WordBalloon* ShownBalloon()
    {
        WordBalloon* const balloon = GetCpuTurnBalloon();
        return balloon != nullptr && GetGameDisplay()->IsWindowRegistered(balloon) ? balloon : nullptr;
    }

public:
    Actor* m_human = nullptr;
    Actor* m_cpu = nullptr;
};

TEST_F(PhysicalTurnAdviceTest, TheFirstMatchingRuleDecidesTheFrame)
{
    struct Row {
        const char* name;
        void (*arrange)(PhysicalTurnAdviceTest&);
        int side;
        bool human;
        bool cpu;
        int kind;  // the lesson box shown afterwards, -1 none
    };
    const Row rows[] = {
        {"a quiet step lets both drivers run", [](PhysicalTurnAdviceTest&) {}, 0, true, true, -1},
        {"the drawn card in flight holds both",
         [](PhysicalTurnAdviceTest&) { GetTableFlow().cardDrawnByHand = Card(CREATURE, PLAYER_HUMAN, true); }, 0,
         false, false, -1},
        {"both lost: no box, both stand still",
         [](PhysicalTurnAdviceTest&) {
             Human().SetLife(0, false);
             Cpu().SetLife(0, false);
         },
         0, false, false, -1},
        {"one lost: the end-of-game box", [](PhysicalTurnAdviceTest&) { Cpu().SetLife(0, false); }, 0, false, false,
         KIND_GAME_OVER},
        {"the drop error box waits for its answer", [](PhysicalTurnAdviceTest&) { ShowBox(KIND_ATTACK_DROP_ERROR); },
         0, false, true, KIND_ATTACK_DROP_ERROR},
        {"the learner asked to answer: the instant prompt lets him play",
         [](PhysicalTurnAdviceTest&) { SetCanPlayNowFlag(1); }, 0, true, true, KIND_INSTANT_ANSWER},
        {"the clean-up step with a damaged creature",
         [](PhysicalTurnAdviceTest& t) {
             t.m_human->SetState(19);
             Card(CREATURE, PLAYER_HUMAN)->SetDamage(1);
         },
         0, false, true, KIND_CLEANUP_DAMAGE},
        {"damage that equals the shields is no reason to wait",
         [](PhysicalTurnAdviceTest& t) {
             t.m_human->SetState(19);
             CardActor* const card = Card(CREATURE, PLAYER_HUMAN);
             card->SetDamage(1);
             card->SetShields(1);
         },
         0, true, true, -1},
        {"the CPU's turn: the learner's clean-up box is not his to show",
         [](PhysicalTurnAdviceTest& t) {
             HandTurnTo(PLAYER_CPU);
             t.m_human->SetState(19);
             Card(CREATURE, PLAYER_HUMAN)->SetDamage(1);
         },
         0, true, true, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        row.arrange(*this);
        EXPECT_EQ(UpdatePhysicalTurnAdvice(PLAYER_HUMAN), row.human);
        EXPECT_EQ(UpdatePhysicalTurnAdvice(PLAYER_CPU), row.cpu);
        EXPECT_EQ(ShownKind(), row.kind);
    }
}

TEST_F(PhysicalTurnAdviceTest, TheEndOfTheGameSoundsAndCountsOnceAndShowsItsOutcome)
{
    struct Row {
        const char* name;
        bool humanLoses;
        int lossState;
        const char16_t* key;
        int effect;
    };
    const Row rows[] = {
        {"lost by damage", true, LOSS_LIFE, u"PHYSDLG_LostByDamage", 23},
        {"lost by decking", true, LOSS_EMPTY_LIBRARY, u"PHYSDLG_LostByDecking", 23},
        {"won by damage", false, LOSS_LIFE, u"PHYSDLG_WonByDamage", 24},
        {"won by decking", false, LOSS_EMPTY_LIBRARY, u"PHYSDLG_WonByDecking", 24},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        RegistrySettings& settings = *GetRegistrySettings();
        const int played = settings.GetInt(u"gamescompleted");
        const int won = settings.GetInt(u"gameswon");
        const int sounds = CountEffectRequests(row.effect);
        PlayerState& loser = row.humanLoses ? Human() : Cpu();
        loser.m_LossState = row.lossState;
        for (int frame = 0; frame < 3; ++frame) {
            EXPECT_FALSE(UpdatePhysicalTurnAdvice(frame % 2));
            DeleteLessonBox();  // a rebuilt box must not sound or count again
        }
        EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
        ASSERT_EQ(ShownKind(), KIND_GAME_OVER);
        EXPECT_EQ(CountEffectRequests(row.effect), sounds + 1);
        EXPECT_EQ(settings.GetInt(u"gamescompleted"), played + 1);
        EXPECT_EQ(settings.GetInt(u"gameswon"), won + (row.humanLoses ? 0 : 1));
        EXPECT_EQ(GetTurnAdviceState().humanLost, row.humanLoses ? 1 : 0);
        EXPECT_EQ(GetLessonBox()->GetText(), std::u16string(GetString(row.key) ? GetString(row.key) : u""));
        EXPECT_EQ(GetLessonBox()->GetButtonCount(), 4) << "the basic game offers four ways on";
    }
}

TEST_F(PhysicalTurnAdviceTest, EachEndOfGameAnswerLeavesTheTableForItsScreen)
{
    struct Row {
        int mode;
        int button;
        int screen;
        int returnScreen;  // -1: unchanged
    };
    const Row rows[] = {{1, 0, 11, 1}, {1, 1, 20, 1}, {1, 2, 21, 1}, {1, 3, 1, -1},
                        {2, 0, 14, 1}, {2, 1, 11, 1}, {2, 2, 1, -1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << row.mode << " button " << row.button);
        TearDown();
        SetUp();
        SetMode(row.mode);
        GameDisplay& display = *GetGameDisplay();
        display.m_SceneTag = 1;
        display.SetReturnScreen(7);
        Human().SetLife(0, false);
        UpdatePhysicalTurnAdvice(PLAYER_HUMAN);
        ASSERT_EQ(ShownKind(), KIND_GAME_OVER);
        EXPECT_EQ(GetLessonBox()->GetButtonCount(), row.mode == 1 ? 4 : 3);
        Click(GetLessonBox(), row.button);
        EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
        EXPECT_EQ(GetLessonBox(), nullptr);
        EXPECT_EQ(display.m_SceneTag, 0) << "the table stops";
        EXPECT_EQ(display.GetScreen(), row.screen);
        EXPECT_EQ(display.GetReturnScreen(), row.returnScreen < 0 ? 7 : row.returnScreen);
        display.m_SceneTag = 1;
        display.SetScreen(0, false);
        display.m_SceneTag = 0;
    }
}

TEST_F(PhysicalTurnAdviceTest, TheInstantPromptStandsAsideForPaymentsAndTargetsAndHandsOverWhenDone)
{
    SetCanPlayNowFlag(1);
    SetCardBeingPaid(Card(CREATURE, PLAYER_HUMAN, true));
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    EXPECT_EQ(ShownKind(), -1) << "a card being paid keeps the prompt away";
    SetCardBeingPaid(nullptr);
    ShowBox(8);
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    EXPECT_EQ(ShownKind(), 8) << "the payment box stays";
    CloseLessonBox();

    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    ASSERT_EQ(ShownKind(), KIND_INSTANT_ANSWER);
    EXPECT_EQ(GetLessonBox()->GetButtonCount(), 1);
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    EXPECT_EQ(GetCanPlayNowFlag(), 1) << "unanswered, the flag stays";
    Click(GetLessonBox(), 0);
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    EXPECT_EQ(GetCanPlayNowFlag(), 0);
    EXPECT_EQ(ShownKind(), -1);
}

TEST_F(PhysicalTurnAdviceTest, TheCleanUpBoxHoldsTheCallerUntilAnswered)
{
    HandTurnTo(PLAYER_CPU);
    m_cpu->SetState(19);
    Card(CREATURE, PLAYER_CPU)->SetDamage(2);
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_CPU));
    ASSERT_EQ(ShownKind(), KIND_CLEANUP_DAMAGE);
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_CPU));
    Click(GetLessonBox(), 0);
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_CPU));
    EXPECT_EQ(GetLessonBox(), nullptr);
}

TEST_F(PhysicalTurnAdviceTest, TheHighlightedCardTypeIsKeptUntilSwitchedOff)
{
    EXPECT_EQ(GetHighlightedCardType(), -1);
    SetHighlightedCardType(4);
    EXPECT_EQ(GetHighlightedCardType(), 4);
    SetHighlightedCardType(-1);
    EXPECT_EQ(GetHighlightedCardType(), -1);
}

} // namespace
