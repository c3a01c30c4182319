#include "cards/TableReset.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gui/Messagebox.h"
#include "lessons/ActorTypes.h"
#include "lessons/CleanupReminder.h"
#include "lessons/DrawingHand.h"
#include "lessons/HandAnimationBusy.h"
#include "lessons/HandDemos.h"
#include "lessons/LessonBox.h"
#include "lessons/PhysicalLesson.h"
#include "lessons/PlayerBehaviours.h"
#include "rules/Decks.h"
#include "tests/lessons/LessonFixture.h"

namespace {

using lessontest::LessonTest;

TEST(FindBehaviourTest, NamesFoldAsciiCaseAndMustMatchWhole)
{
    EXPECT_EQ(FindBehaviour(u"PLAYER"), &PlayerBehaviour);
    EXPECT_EQ(FindBehaviour(u"CpuPlayer"), &CpuPlayerBehaviour);
    EXPECT_EQ(FindBehaviour(u"players"), nullptr);
    EXPECT_EQ(FindBehaviour(u"playe"), nullptr);
}

class PlayerActorsTest : public LessonTest {
protected:
    // Damage and shields of one creature on the table, and how many of the next checks show the reminder.
    int RemindersShown(int checks)
    {
        int shown = 0;
        for (int i = 0; i < checks; ++i) {
            const int before = static_cast<int>(GetGameDisplay()->m_MessageRecords.size());
            EXPECT_FALSE(ShowCleanupReminder());
            if (static_cast<int>(GetGameDisplay()->m_MessageRecords.size()) > before)
                ++shown;
            GetGameDisplay()->m_MessageRecords.clear();
        }
        return shown;
    }
};

TEST_F(PlayerActorsTest, CleanupReminderOnlyInModeThreeForTheFirstThreeChecks)
{
    struct Case {
        int mode;
        int damage;
        int shields;
        bool held;
        int shown;
    };
    const Case cases[] = {
        {3, 2, 0, false, 3}, {3, 2, 2, false, 0}, {3, 2, 0, true, 0},
        {1, 2, 0, false, 0}, {2, 2, 0, false, 0}, {4, 2, 0, false, 0},
    };
    for (const Case& c : cases) {
        SetMode(c.mode);
        ResetCleanupReminder();
        CardActor* const creature = Card(30, PLAYER_HUMAN, c.held);
        creature->SetDamage(c.damage);
        creature->SetShields(c.shields);
        EXPECT_EQ(RemindersShown(5), c.shown) << c.mode << " " << c.damage << " " << c.shields << " " << c.held;
        RemoveActor(creature);
        PurgeRemovedActors();
    }
}

TEST_F(PlayerActorsTest, CloseLessonBoxDeletesOnlyARegisteredBox)
{
    auto* box = new Messagebox();
    SetLessonBox(box);
    CloseLessonBox();
    EXPECT_EQ(GetLessonBox(), box) << "an unregistered box stays";

    GetGameDisplay()->RegisterWindow(box);
    CloseLessonBox();
    EXPECT_EQ(GetLessonBox(), nullptr);
    EXPECT_FALSE(GetGameDisplay()->IsWindowRegistered(box));
    CloseLessonBox();
}

TEST_F(PlayerActorsTest, ModeChangeLeavesFreshPlayersAndKeepsTheColourChoice)
{
    SetChosenColours(COLOUR_RED, COLOUR_GREEN, 0, 1, 2);
    SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
    Card(30, PLAYER_HUMAN);
    Human().SetLife(5, false);
    Human().m_ManaPool.At(1) = 3;
    Cpu().m_GraveyardCount = 4;
    Human().SetAttackDeclared(true);
    SetLessonBox(new Messagebox());
    SetCardBeingPaid(Card(31, PLAYER_HUMAN, true));
    // The online flow's words of the game before: its turn count goes on into the game log.
    s_TurnNumber = 9;
    s_MulliganState = 2;

    ResetTable(2);

    EXPECT_EQ(GetActorCount(), 0);
    for (const PlayerState* player : {&Human(), &Cpu()}) {
        EXPECT_EQ(player->GetLife(), 20);
        EXPECT_EQ(player->GetDisplayedLife(), 20);
        EXPECT_EQ(player->m_ManaPool.Total(), 0);
        EXPECT_EQ(player->m_GraveyardCount, 0);
        EXPECT_FALSE(player->IsAttackDeclared());
    }
    EXPECT_EQ(GetLessonBox(), nullptr);
    EXPECT_EQ(GetCardBeingPaid(), nullptr);
    EXPECT_FALSE(GetSpellStack().IsActive());
    EXPECT_EQ(s_TurnNumber, 0);
    EXPECT_EQ(s_MulliganState, 0);
    s_GameMode = 1;
    SetupDecks();
    const DeckList& deck = GetDeckList(PLAYER_HUMAN);
    EXPECT_TRUE(std::any_of(deck.begin(), deck.end(), [](int id) { return id >= CD_MOUNTAIN1 && id < CD_MOUNTAIN1 + 4; }));
}

TEST_F(PlayerActorsTest, BusyTestsFollowTheDrawingHandAndTheDemos)
{
    SetDrawHandStopped(false);
    Cpu().m_CardsToDraw = 0;
    EXPECT_FALSE(IsHandAnimationBusy());
    EXPECT_FALSE(IsHandDemoBusy());
    SetHandDemosIdle(false);
    EXPECT_TRUE(IsHandDemoBusy());
    SetHandDemosIdle(true);
}

TEST_F(PlayerActorsTest, RemovedActorsLeaveThePlayerSlotsAndTheCardRecords)
{
    Actor* const human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
    Actor* const cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
    SetPlayerActors(human, cpu);
    GetSpellStack().m_PlayerActor = human;
    GetSpellStack().m_CpuActor = cpu;
    CardActor* const paid = Card(30, PLAYER_HUMAN);
    CardActor* const countered = Card(30, PLAYER_HUMAN);
    SetCardBeingPaid(paid);
    g_CounteredCard = countered;

    RemoveActor(human);
    RemoveActor(paid);
    EXPECT_EQ(GetHumanPlayerActor(), nullptr);
    EXPECT_EQ(GetCpuPlayerActor(), cpu);
    EXPECT_EQ(GetSpellStack().m_PlayerActor, nullptr);
    EXPECT_EQ(GetSpellStack().m_CpuActor, cpu);
    EXPECT_EQ(GetCardBeingPaid(), nullptr);
    EXPECT_EQ(g_CounteredCard, countered);

    // A scene reset lets go of everything still registered.
    DestroyAllActors();
    EXPECT_EQ(GetCpuPlayerActor(), nullptr);
    EXPECT_EQ(GetSpellStack().m_CpuActor, nullptr);
    EXPECT_EQ(g_CounteredCard, nullptr);
    PurgeRemovedActors();
}

} // namespace
