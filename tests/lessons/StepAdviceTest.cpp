// The learner's step advice in the physical lesson on small boards: the untap hints and their limits, the
// main-phase box that falls silent after six turns, the End Turn button held back by a must-attack creature, and
// the discard box's count.
#include "cards/CardActor.h"
#include "engine/core/StringTable.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/Intro.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TurnAdviceState.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/LessonBox.h"
#include "lessons/TurnAdvice.h"
#include "platform/Platform.h"
#include "rules/PlayerState.h"
#include "tests/lessons/LessonFixture.h"

#include <string>

namespace {

using lessontest::LessonTest;

constexpr int RED_LAND = 1;
constexpr int CREATURE = 30;

class StepAdviceTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(1);
        m_savedNoIntro = s_bNoIntroDefault;
        s_bNoIntroDefault = true;
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(m_human, m_cpu);
        Human().SetLife(20, true);
        Cpu().SetLife(20, true);
        Human().m_CardsToDraw = 0;
        HandTurnTo(PLAYER_HUMAN);
        s_HumanTurnCount = 3;
        if (HintRegistry* const hints = GetHintRegistry())
            hints->ClearPlayCounts();
        m_savedMuted = IsVoiceMuted();
        SetVoiceMuted(false);
        StopVoiceQueue();
    }

    void TearDown() override
    {
        StopVoiceQueue();
        SetVoiceMuted(m_savedMuted);
        s_bNoIntroDefault = m_savedNoIntro;
        s_CompletedTurns = 0;
        ResetCpuPhysicalTurn();
        LessonTest::TearDown();
    }

    bool Advice() { return UpdatePhysicalTurnAdvice(PLAYER_HUMAN); }

    static int ShownKind() { return IsLessonBoxShowing() ? GetLessonBox()->GetKindNumber() : -1; }

    static bool VoiceQueued(std::u16string_view clip)
    {
        for (std::size_t i = 0; i < VoiceQueueLength(); ++i)
            if (GetQueuedVoicePath(i).find(clip) != std::u16string::npos)
                return true;
        return false;
    }

    Actor* m_human = nullptr;
    Actor* m_cpu = nullptr;
    bool m_savedNoIntro = false;
    bool m_savedMuted = false;
};

TEST_F(StepAdviceTest, UntapHintsComeWithinTheirLimitsThenThePromptAlone)
{
    constexpr std::uint32_t LONG_DELAY = 1000000;
    struct Row {
        const char* name;
        int mode;
        bool lands;
        bool creatures;
        std::initializer_list<int> kinds;  // the box of each untap step in turn while the reading delay runs
    };
    const Row rows[] = {
        {"lands: twice, the hint once, then nothing", 1, true, false, {36, 36, 39, -1}},
        {"creatures: once, the hint once", 1, false, true, {37, 39, -1}},
        {"both: once, the hint once", 1, true, true, {38, 39, -1}},
        {"the advanced game gives no hints", 2, true, true, {-1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        SetMode(row.mode);
        CardActor* const land = Card(RED_LAND, PLAYER_HUMAN);
        CardActor* const creature = Card(CREATURE, PLAYER_HUMAN);
        auto tap = [&](bool tapped) {
            land->SetTapState(tapped && row.lands ? TAP_TAPPED : TAP_READY);
            creature->SetTapState(tapped && row.creatures ? TAP_TAPPED : TAP_READY);
        };
        int step = 0;
        for (const int kind : row.kinds) {
            SCOPED_TRACE(testing::Message() << "untap step " << ++step);
            SetAdviceDelay(LONG_DELAY);
            StampLessonTime();
            m_human->SetState(1);
            tap(true);
            EXPECT_TRUE(Advice());
            EXPECT_TRUE(GetTurnAdviceState().untapStepFlag);
            EXPECT_EQ(ShownKind(), kind);
            tap(false);
            Advice();
            EXPECT_EQ(ShownKind(), -1) << "untapped, the box goes";
            EXPECT_EQ(GetAdviceDelay(), kind >= 0 ? 6000u : LONG_DELAY) << "a hint read sets the reading delay";
        }
        // Once the reading delay has run out the untap prompt comes, in place of the generic hint too.
        SetAdviceDelay(0);
        tap(true);
        EXPECT_TRUE(Advice());
        EXPECT_EQ(ShownKind(), 0);
        tap(false);
        Advice();
        EXPECT_EQ(ShownKind(), -1);
        EXPECT_EQ(GetAdviceDelay(), 6000u);
    }
}

TEST_F(StepAdviceTest, TheMainPhaseBoxFallsSilentAfterSixTurnsExceptWithNoLandLeft)
{
    struct Row {
        const char* name;
        int ended;
        bool landPlayed;
        const char16_t* key;
        const char16_t* voice;  // null: silent
    };
    const Row rows[] = {
        {"six turns ended: still spoken", 6, false, u"PRE_PHYSDLG_BASIC_PreCombatMainPhase",
         u"basic_precombatmain.wav"},
        {"seven: silent", 7, false, u"PRE_PHYSDLG_BASIC_PreCombatMainPhase", nullptr},
        {"no land left speaks whatever the count", 9, true, u"PRE_PHYSDLG_BASIC_PreCombatMainPhase_NoLandLeft",
         u"basic_PreCombatMain_NoLandLeft.wav"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        AddString(row.key, row.key);
        s_CompletedTurns = row.ended;
        GetTurnAdviceState().adviceTurn = s_HumanTurnCount;
        GetTurnAdviceState().landPlayedThisTurn = row.landPlayed;
        s_PastCombat = false;
        m_human->SetState(5);
        EXPECT_TRUE(Advice());
        ASSERT_EQ(ShownKind(), 4);
        EXPECT_EQ(GetLessonBox()->GetText(), std::u16string(row.key));
        EXPECT_EQ(GetLessonBox()->GetButtonCount(), 2);
        if (row.voice != nullptr)
            EXPECT_TRUE(VoiceQueued(row.voice));
        else
            EXPECT_EQ(VoiceQueueLength(), 0u);
    }
}

TEST_F(StepAdviceTest, TheDiscardBoxCountsTheCardsOverSeven)
{
    AddString(u"PHYSDLG_TooManyCards_OneCard", u"Discard %d card.");
    AddString(u"PHYSDLG_TooManyCards_MoreThanOneCard", u"Discard %d cards.");
    m_human->SetState(16);
    for (int i = 0; i < 7; ++i)
        Card(CREATURE, PLAYER_HUMAN, true);
    EXPECT_TRUE(Advice()) << "seven cards are allowed";
    EXPECT_EQ(ShownKind(), -1);
    CardActor* const eighth = Card(CREATURE, PLAYER_HUMAN, true);
    EXPECT_FALSE(Advice());
    ASSERT_EQ(ShownKind(), 17);
    EXPECT_EQ(GetLessonBox()->GetText(), u"Discard 1 card.");
    Card(CREATURE, PLAYER_HUMAN, true);
    EXPECT_FALSE(Advice());
    EXPECT_EQ(GetLessonBox()->GetText(), u"Discard 2 cards.");
    eighth->LeavePlay(LEAVE_DISCARD);
    PurgeRemovedActors();
    EXPECT_FALSE(Advice());
    EXPECT_EQ(GetLessonBox()->GetText(), u"Discard 1 card.");
}

} // namespace
