#include "cards/CameraBehaviour.h"
#include "cards/Card.h"
#include "cards/TableInput.h"
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TurnFlags.h"
#include "rules/CombatLinks.h"
#include "rules/PlayerState.h"
#include "tests/cards/TableBehaviourFixture.h"

#include <functional>

namespace {

class CombatLinksTest : public tabletest::TableBehaviourTest {
protected:
    void SetUp() override
    {
        TableBehaviourTest::SetUp();
        m_creature.m_CardType = CT_CREATURE;
        m_land.m_CardType = CT_LAND;
    }

    void TearDown() override
    {
        GetGameDisplay()->m_PlacedCards.clear();
        ClearTurn();
        TableBehaviourTest::TearDown();
    }

    // A creature in play at (x, y).
    CardActor* Creature(float x, float y, int owner = 0)
    {
        CardActor* const card = NewCard(owner);
        card->SetCard(&m_creature);
        card->SetHeld(false);
        card->SetInLibrary(false);
        card->m_Position.x = x;
        card->m_Position.y = y;
        return card;
    }

    // attacker blocked by blocker, both in play far apart.
    void Block(CardActor* attacker, CardActor* blocker)
    {
        attacker->SetAttacking(true);
        attacker->AddBlocker(blocker);
        blocker->SetBlockedAttacker(attacker);
    }

    static int Queued(const std::function<void()>& draw)
    {
        const int before = GetRaster()->GetQueuedCount();
        draw();
        return GetRaster()->GetQueuedCount() - before;
    }

    CARD m_creature;
    CARD m_land;
};

TEST_F(CombatLinksTest, BlockerLinkNeedsBothCardsShown)
{
    struct Case {
        const char* name;
        int mode;
        std::function<void(CardActor& blocker, CardActor& attacker)> change;
        bool drawn;
    };
    const Case cases[] = {
        {"both in play", 1, [](CardActor&, CardActor&) {}, true},
        {"blocker held", 1, [](CardActor& b, CardActor&) { b.SetHeld(true); }, false},
        {"blocker on the stack", 1, [](CardActor& b, CardActor&) { b.SetOnStack(true); }, false},
        {"blocker leaving forward", 1, [](CardActor& b, CardActor&) { b.SetExitMove(1); }, false},
        {"blocker leaving backward", 1, [](CardActor& b, CardActor&) { b.SetExitMove(-1); }, true},
        {"attacker leaving forward", 1, [](CardActor&, CardActor& a) { a.SetExitMove(1); }, false},
        {"attacker held", 1, [](CardActor&, CardActor& a) { a.SetHeld(true); }, false},
        {"physical: the mouse never hides it", 1, [](CardActor&, CardActor&) { MouseState.x = 110; MouseState.y = 310; },
         true},
        {"online: mouse over the blocker", 3,
         [](CardActor& b, CardActor&) {
             GetGameDisplay()->m_PlacedCards.push_back({&b, 105.0f, 305.0f});
             MouseState.x = 110;
             MouseState.y = 310;
         },
         false},
        {"online: mouse elsewhere", 3,
         [](CardActor& b, CardActor&) {
             GetGameDisplay()->m_PlacedCards.push_back({&b, 105.0f, 305.0f});
             MouseState.x = 700;
             MouseState.y = 590;
         },
         true},
    };
    for (const Case& c : cases) {
        SetMode(c.mode);
        MouseState = MouseRecord();
        GetGameDisplay()->m_PlacedCards.clear();
        CardActor* const attacker = Creature(400.0f, 50.0f, 1);
        CardActor* const blocker = Creature(100.0f, 300.0f);
        Block(attacker, blocker);
        c.change(*blocker, *attacker);
        bool drawn = false;
        const int queued = Queued([&] { drawn = ShouldDrawBlockLink(blocker); });
        EXPECT_EQ(drawn, c.drawn) << c.name;
        EXPECT_EQ(queued > 0, c.drawn) << c.name;
        RemoveActor(attacker);
        RemoveActor(blocker);
    }

    CardActor* const land = Creature(10.0f, 10.0f);
    land->SetCard(&m_land);
    land->SetBlockedAttacker(Creature(400.0f, 400.0f, 1));
    EXPECT_FALSE(ShouldDrawBlockLink(land)) << "only creatures block";
}

TEST_F(CombatLinksTest, AttackerLinksEachShownBlockerAndTheTableLinksEveryBlock)
{
    CardActor* const attacker = Creature(400.0f, 50.0f, 1);
    CardActor* const blockers[] = {Creature(50.0f, 400.0f), Creature(250.0f, 400.0f), Creature(450.0f, 400.0f)};
    for (CardActor* const blocker : blockers)
        Block(attacker, blocker);
    const GameDisplay& display = *GetGameDisplay();
    const int oneByOne = Queued([&] {
        for (CardActor* const blocker : blockers)
            display.DrawLinkBetweenCards(attacker, blocker, 1.0f, 1.0f, 0.0f, true, true, 12, 6.0f);
    });
    ASSERT_GT(oneByOne, 0);
    bool drawn = false;
    EXPECT_EQ(Queued([&] { drawn = DrawAttackerBlockLinks(attacker); }), oneByOne) << "three links";
    EXPECT_TRUE(drawn);
    EXPECT_EQ(Queued([] { DrawBlockLinks(); }), oneByOne) << "each blocker links once";

    blockers[1]->SetExitMove(1);
    EXPECT_LT(Queued([&] { DrawAttackerBlockLinks(attacker); }), oneByOne) << "a card on its way out is skipped";

    attacker->SetAttacking(false);
    EXPECT_EQ(Queued([&] { drawn = DrawAttackerBlockLinks(attacker); }), 0);
    EXPECT_FALSE(drawn);
    EXPECT_FALSE(DrawAttackerBlockLinks(nullptr));
}

TEST_F(CombatLinksTest, MouseOverAPlacedRecordOnlineOnly)
{
    CardActor* const card = Creature(100.0f, 100.0f);
    CardActor* const other = Creature(300.0f, 100.0f);
    int width = 0;
    int height = 0;
    GetGameDisplay()->GetCardDrawSize(card, width, height, false);
    std::vector<PlacedCardRecord>& records = GetGameDisplay()->m_PlacedCards;
    records = {{other, 300.0f, 100.0f}, {card, 500.5f, 200.9f}};

    SetMode(1);
    EXPECT_FALSE(IsMouseOverCardOnline(card, 510, 210)) << "physical lesson";
    SetMode(3);
    EXPECT_TRUE(IsMouseOverCardOnline(card, 500, 200)) << "corner, cut toward zero";
    EXPECT_TRUE(IsMouseOverCardOnline(card, 500 + width, 200 + height)) << "edges included";
    EXPECT_FALSE(IsMouseOverCardOnline(card, 501 + width, 200));
    EXPECT_FALSE(IsMouseOverCardOnline(card, 310, 110)) << "another card's record";

    // A card resting in its placed slot is found there, whatever record lies at its position.
    records.insert(records.begin(), PlacedCardRecord{other, 100.0f, 100.0f});
    EXPECT_TRUE(IsMouseOverCardOnline(card, 500, 200));
    records.push_back(PlacedCardRecord{card, 100.0f, 100.0f});
    EXPECT_TRUE(IsMouseOverCardOnline(card, 101, 101));
}

TEST_F(CombatLinksTest, CombatStepBelongsToThePlayerWhoseTurnItIs)
{
    Actor* const human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
    Actor* const cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
    struct Case {
        bool humansTurn;
        int humanState, cpuState, index;
        bool expected;
    };
    const Case cases[] = {
        {true, 9, 0, 0, true},    {true, 8, 9, 0, false},  {true, 14, 0, 1, false},
        {false, 9, 0, 0, false},  {false, 0, 7, 0, true},  {false, 0, 13, 1, true},
        {false, 0, 15, 1, false}, {false, 0, 6, 1, false}, {true, 10, 11, 0, true},
    };
    for (const Case& c : cases) {
        HandTurnTo(c.humansTurn ? PLAYER_HUMAN : PLAYER_CPU);
        human->m_State = c.humanState;
        cpu->m_State = c.cpuState;
        EXPECT_EQ(IsPlayerInCombatStep(c.index), c.expected)
            << c.humansTurn << " " << c.humanState << " " << c.cpuState << " " << c.index;
    }
}

// The table's frame step shows every block, with no card pointed at, while the defending side answers the attack:
// the learner attacks and the CPU's blocks are chosen or made, or the CPU attacks and the learner is blocking.
TEST_F(CombatLinksTest, TheTableShowsEveryBlockWhileTheDefenderAnswersTheAttack)
{
    Actor* const human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
    Actor* const cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
    SetPlayerActors(human, cpu);
    CardActor* const attacker = Creature(400.0f, 50.0f, 1);
    CardActor* const blocker = Creature(100.0f, 300.0f);
    Block(attacker, blocker);
    GetTableInput().pointedCard = nullptr;
    void (*const drawBlockLinks)() = GetCameraSteps().DrawBlockLinks;
    ASSERT_NE(drawBlockLinks, nullptr);
    struct Case {
        const char* name;
        int humanState, cpuState, cpuBlockStep, humanBlockStep;
        bool shown;
    };
    const Case cases[] = {
        {"learner attacks, CPU choosing blocks", 7, 0, 1, 0, true},
        {"learner attacks, CPU blocks made", 7, 0, 2, 0, true},
        {"learner attacks, blocks settled", 7, 0, 3, 0, false},
        {"CPU attacks, learner blocking", 0, 7, 0, 1, true},
        {"CPU attacks, learner's blocks made", 0, 7, 0, 2, false},
        {"learner attacks, a stale learner's block step", 7, 0, 0, 1, false},
        {"CPU attacks, a stale CPU block step", 0, 7, 1, 0, false},
    };
    for (const Case& c : cases) {
        human->m_State = c.humanState;
        cpu->m_State = c.cpuState;
        s_CpuBlockStep = c.cpuBlockStep;
        s_HumanBlockStep = c.humanBlockStep;
        EXPECT_EQ(Queued(drawBlockLinks) > 0, c.shown) << c.name;
    }
    s_CpuBlockStep = 0;
    s_HumanBlockStep = 0;
    SetPlayerActors(nullptr, nullptr);
}

} // namespace
