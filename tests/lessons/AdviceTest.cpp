// The advice state: what blocks the table, and the library glow that waits on it.
#include "engine/sound/VoiceQueue.h"
#include "gamestate/TableFlowState.h"
#include "lessons/Advice.h"
#include "tests/lessons/LessonFixture.h"

namespace {

using lessontest::LessonTest;

TEST_F(LessonTest, LibraryGlowsWhenAskedUnlessAdviceBlocks)
{
    struct Case {
        bool asked, blocked, wanted;
    };
    CardActor parked;
    const Case cases[] = {{true, false, true}, {true, true, false}, {false, false, false}};
    for (const Case& c : cases) {
        GetGameDisplay()->m_LibraryHighlight = c.asked;
        SetMistimedCard(c.blocked ? &parked : nullptr);
        EXPECT_EQ(IsLibraryHighlightWanted(), c.wanted) << c.asked << c.blocked;
    }
    SetMistimedCard(nullptr);
    GetGameDisplay()->m_LibraryHighlight = false;
}

TEST_F(LessonTest, AdviceIsBlockedByEveryParkedCardTheQuitWarningAndTwoBoxKinds)
{
    CardActor card;
    struct Case {
        const char* name;
        void (*set)(CardActor*);
    };
    const Case parked[] = {
        {"unaffordable card", SetUnaffordableCard},
        {"card being paid", SetCardBeingPaid},
        {"mistimed card", SetMistimedCard},
        {"blocker of a blocking error", SetBlockErrorCard},
        {"refused attacker", SetRefusedAttacker},
        {"card drawn by hand", [](CardActor* c) { GetTableFlow().cardDrawnByHand = c; }},
    };
    EXPECT_FALSE(IsAdviceBlocked());
    for (const Case& c : parked) {
        SCOPED_TRACE(c.name);
        c.set(&card);
        EXPECT_TRUE(IsAdviceBlocked());
        c.set(nullptr);
        EXPECT_FALSE(IsAdviceBlocked());
    }

    ShowQuitWarning();
    EXPECT_TRUE(IsAdviceBlocked());
    DeleteQuitWarningBox();
    EXPECT_FALSE(IsAdviceBlocked());

    // Only a registered box counts, and only an attack error or the end of the game.
    for (int kind = -1; kind <= 59; ++kind) {
        Messagebox* const box = ShowBox(kind);
        EXPECT_EQ(IsAdviceBlocked(), kind == 34 || kind == 18) << kind;
        GetGameDisplay()->UnregisterWindow(box);
        EXPECT_FALSE(IsAdviceBlocked()) << kind;
    }
    DeleteLessonBox();
}

TEST_F(LessonTest, ParkingACardStopsTheVoicesButClearingDoesNot)
{
    CardActor card;
    for (void (*set)(CardActor*) : {SetCardBeingPaid, SetUnaffordableCard, SetMistimedCard}) {
        QueueVoice(u"data\\voice.wav", true);
        set(nullptr);
        EXPECT_GT(VoiceQueueLength(), 0u);
        set(&card);
        EXPECT_EQ(VoiceQueueLength(), 0u);
        set(nullptr);
    }
}

TEST_F(LessonTest, ACardThatLeavesTheSceneLeavesEveryParkedWord)
{
    CardActor* const unaffordable = Card(30, PLAYER_HUMAN);
    CardActor* const paid = Card(31, PLAYER_HUMAN);
    CardActor* const mistimed = Card(32, PLAYER_HUMAN);
    CardActor* const refused = Card(33, PLAYER_HUMAN);
    SetUnaffordableCard(unaffordable);
    SetCardBeingPaid(paid);
    SetMistimedCard(mistimed);
    SetRefusedAttacker(refused);
    for (CardActor* card : {unaffordable, paid, mistimed, refused})
        RemoveActor(card);
    PurgeRemovedActors();
    EXPECT_EQ(GetUnaffordableCard(), nullptr);
    EXPECT_EQ(GetCardBeingPaid(), nullptr);
    EXPECT_EQ(GetMistimedCard(), nullptr);
    EXPECT_EQ(GetRefusedAttacker(), nullptr);
    EXPECT_FALSE(IsAdviceBlocked());
}

} // namespace
