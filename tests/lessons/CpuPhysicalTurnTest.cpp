#include "lessons/CpuPhysicalTurn.h"

#include "engine/scene/GameDisplay.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalAdviceState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gui/GUI_System.h"
#include "gui/GUI_TextButton.h"
#include "gui/WordBalloon.h"
#include "lessons/DrawingHand.h"
#include "lessons/HandDemos.h"
#include "lessons/HumanPhysicalTurn.h"
#include "lessons/HumanTurnSteps.h"
#include "lessons/LessonBox.h"
#include "lessons/TurnAdvice.h"
#include "platform/Platform.h"
#include "rules/CombatDamage.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "tests/lessons/HandDemosFrame.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"

#include <algorithm>
#include <vector>

namespace {

using lessontest::LessonTest;

// A land of the synthetic set that gives red, and creature identifiers free to redefine.
constexpr int RED_LAND = 1;
constexpr int FIRST_FREE_CREATURE = 40;

class CpuPhysicalTurnTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(2);
        GetSpellStack().Reset(1);
        GetSpellStack().OpenWindow();
        SetHandDemosIdle(true);
        SetCpuListEmpty(true);
        GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
        GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu->m_Flags |= ACTOR_FLAG_FIRST_FRAME;
    }

    void TearDown() override
    {
        ResetOnlineTurnState();
        ClearPendingCards();
        ResetCpuPhysicalTurn();
        GUI_System::ClearCallbacks();
        LessonTest::TearDown();
    }

    // One frame of the driver; the stack resolves and dead or discarded cards reach the graveyard at once, as
    // the learner's answers and the bury hand would let them.
    void Frame()
    {
        lessontest::FinishHandDemos();
        CpuPhysicalTurn(m_cpu);
        lessontest::FinishHandDemos();
        SpellStack& stack = GetSpellStack();
        for (int i = 0; i < 10 && stack.GetCount() > 0; ++i) {
            stack.m_State = STACK_RESOLVE;
            stack.Resolve();
        }
        stack.m_State = STACK_OPEN;
        ClearPendingCards();
    }

    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }

    // The game start has run and its two-second pause is over; the drawing hand is told not to draw.
    void Start()
    {
        Frame();
        ASSERT_EQ(m_cpu->m_Flags & ACTOR_FLAG_FIRST_FRAME, 0u);
        // The game start sets the opening hand to deal; the intro this fixture skips would have dealt it.
        ResetDrawHand();
        GetCpuPhysicalTurnWords().delay = 0;
        SetDrawHandStopped(true);
    }

    void SkipDelay() { GetCpuPhysicalTurnWords().delay = 0; }

    // A creature definition of its own, plain unless changed.
    CARD& Creature(int power, int toughness)
    {
        CARD& card = g_CardDefs[m_nextId++];
        card.m_CardType = CT_CREATURE;
        card.m_Cost = ManaCost();
        card.m_Cost.red = 1;
        card.m_Stats = CreatureStats();
        card.m_Stats.power = power;
        card.m_Stats.toughness = toughness;
        card.m_Ability = CardAbility();
        return card;
    }

    static CardActor* Put(const CARD& card, int owner, bool held = false) { return Card(card.m_Id, owner, held); }

    std::vector<CardActor*> HumanAttacks(std::initializer_list<std::pair<int, int>> stats)
    {
        std::vector<CardActor*> attackers;
        for (const auto& [power, toughness] : stats) {
            CardActor* a = Put(Creature(power, toughness), PLAYER_HUMAN);
            a->SetAttacking(true);
            attackers.push_back(a);
        }
        Human().SetAttackDeclared(true);
        s_CpuBlockStep = 1;
        return attackers;
    }

    static int CpuHandCount()
    {
        int count = 0;
        for (const CardActor* c : GetCardActors())
            count += c->GetOwner() == PLAYER_CPU && c->IsHeld() && !c->IsInLibrary() && c->IsNotLeaving();
        return count;
    }

    static WordBalloon* ShownBalloon()
    {
        WordBalloon* const balloon = GetCpuTurnBalloon();
        return balloon != nullptr && GetGameDisplay()->IsWindowRegistered(balloon) ? balloon : nullptr;
    }

    // Runs the turn until the CPU hands over, answering the balloon with OK; the states met in order.
    std::vector<int> RunTurn(int maxFrames = 3000)
    {
        std::vector<int> states{m_cpu->GetState()};
        for (int frame = 0; frame < maxFrames && s_CpuTurn; ++frame) {
            if (WordBalloon* const balloon = ShownBalloon())
                Click(balloon, 0);
            // The turn advice lets the attack go on once the learner has seen it.
            if (m_cpu->GetState() == CPU_STEP_ATTACK && m_cpu->m_BehaviourData == 2)
                m_cpu->m_BehaviourData = 3;
            Frame();
            if (states.back() != m_cpu->GetState())
                states.push_back(m_cpu->GetState());
        }
        return states;
    }

    static bool Visits(const std::vector<int>& states, int state)
    {
        return std::find(states.begin(), states.end(), state) != states.end();
    }

    Actor* m_cpu = nullptr;
    int m_nextId = FIRST_FREE_CREATURE;
};

TEST_F(CpuPhysicalTurnTest, GameStartWaitsThenSetsTheCpuUp)
{
    Cpu().m_NextDrawIndex = 5;
    Cpu().SetLife(3, false);
    Frame();
    EXPECT_EQ(m_cpu->m_Flags & ACTOR_FLAG_FIRST_FRAME, 0u);
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_TURN_START);
    EXPECT_EQ(Cpu().m_NextDrawIndex, 0);
    EXPECT_EQ(Cpu().GetLife(), 20);
    EXPECT_EQ(Cpu().m_CardsToDraw, 1);
    EXPECT_EQ(GetCpuPhysicalTurnWords().delay, 119) << "two seconds at 60 fps, one frame already counted";
    EXPECT_EQ(GetCpuPhysicalTurnWords().turnNumber, 0);
    Frames(118);
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_TURN_START) << "nothing happens while the pause runs";
    Frame();
    Frame();
    EXPECT_EQ(GetCpuPhysicalTurnWords().turnNumber, 1);
}

TEST_F(CpuPhysicalTurnTest, TurnPlaysALandAndACreatureThenHandsOver)
{
    struct Row {
        int mode;
        bool ableAttacker;
        bool combat;  // the pre-combat steps run
    };
    for (const Row row : {Row{1, false, false}, Row{2, false, true}, Row{1, true, true}}) {
        SCOPED_TRACE(testing::Message() << "mode " << row.mode << (row.ableAttacker ? ", a creature ready" : ""));
        TearDown();
        SetUp();
        SetMode(row.mode);
        Start();
        CardActor* const land = Card(RED_LAND, PLAYER_CPU, true);
        CardActor* const creature = Put(Creature(2, 2), PLAYER_CPU, true);
        if (row.ableAttacker)
            Put(Creature(1, 1), PLAYER_CPU);
        const std::vector<int> states = RunTurn();
        ASSERT_FALSE(s_CpuTurn) << "the turn never ended, last state " << m_cpu->GetState();
        EXPECT_TRUE(s_HumanTurn);
        EXPECT_EQ(m_cpu->GetState(), CPU_STEP_TURN_START);
        EXPECT_FALSE(land->IsHeld());
        EXPECT_FALSE(creature->IsHeld()) << "the creature was cast and resolved";
        EXPECT_EQ(land->GetTapState(), TAP_TAPPED) << "the land paid for it";
        EXPECT_TRUE(GetCpuPhysicalTurnWords().landPlayed);
        const std::vector<int> expectedStart = {CPU_STEP_TURN_START, CPU_STEP_UNTAP, CPU_STEP_DRAW, CPU_STEP_MAIN1,
                                                CPU_STEP_MAIN};
        ASSERT_GE(states.size(), expectedStart.size());
        EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), states.begin()));
        EXPECT_EQ(Visits(states, CPU_STEP_PRE_COMBAT_BURN), row.combat);
        EXPECT_EQ(Visits(states, CPU_STEP_MAIN2), row.combat);
        for (const int step : {CPU_STEP_END_BURN, CPU_STEP_TURN_OVER, CPU_STEP_END_STEP_BURN, CPU_STEP_DISCARD,
                               CPU_STEP_HAND_OVER})
            EXPECT_TRUE(Visits(states, step)) << "state " << step;
        EXPECT_EQ(GetCpuPhysicalTurnWords().delay, 60) << "a second before the human's turn";
    }
}

TEST_F(CpuPhysicalTurnTest, AttackWaitsForTheAdviceAndDealsDamage)
{
    // The damage entry names the defending player by its actor.
    GetSpellStack().m_PlayerActor = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
    GetSpellStack().m_CpuActor = m_cpu;
    Start();
    CardActor* const attacker = Put(Creature(3, 3), PLAYER_CPU);
    m_cpu->SetState(CPU_STEP_PRE_COMBAT_BURN);
    Frame();
    // The CPU announces its attack in the balloon and waits for the learner's OK.
    WordBalloon* const announcement = GetCpuTurnBalloon();
    ASSERT_NE(announcement, nullptr);
    EXPECT_EQ(announcement->GetKindNumber(), 56);
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_PRE_COMBAT_BURN);
    Click(announcement, 0);
    Frame();
    ASSERT_EQ(m_cpu->GetState(), CPU_STEP_ATTACK);
    EXPECT_EQ(GetGameDisplay()->m_CurrentPhase, 5);
    EXPECT_EQ(GetCpuPhysicalTurnWords().delay, 20);
    SkipDelay();

    s_HumanBlockStep = 1;  // the learner is still blocking an earlier attack
    Frames(3);
    EXPECT_EQ(m_cpu->m_BehaviourData, 0);
    s_HumanBlockStep = 0;

    Frame();
    EXPECT_TRUE(attacker->IsAttacking());
    EXPECT_TRUE(Cpu().m_TurnFlag);
    EXPECT_TRUE(GetTableFlow().cpuAttackDecision);
    EXPECT_EQ(GetGameDisplay()->m_CurrentPhase, 6);
    Frame();
    EXPECT_FALSE(GetTableFlow().cpuAttackDecision);
    Frames(5);
    EXPECT_EQ(m_cpu->m_BehaviourData, 2) << "the advice moves the sub-step on";
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_ATTACK);
    // The declared attackers are explained next; OK hands the attack to the learner's blocking step.
    WordBalloon* const declared = GetCpuTurnBalloon();
    ASSERT_NE(declared, nullptr);
    EXPECT_EQ(declared->GetKindNumber(), 59);
    Click(declared, 0);
    Frame();
    EXPECT_EQ(s_HumanBlockStep, 1);
    EXPECT_EQ(GetGameDisplay()->m_CurrentPhase, 7);

    m_cpu->m_BehaviourData = 3;
    s_HumanBlockStep = 3;
    const int life = Human().GetLife();
    for (int frame = 0; frame < 50 && m_cpu->GetState() != CPU_STEP_MAIN; ++frame) {
        Frame();
        SkipDelay();
    }
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_MAIN);
    EXPECT_TRUE(s_PastCombat);
    EXPECT_EQ(Human().GetLife(), life - 3);
    EXPECT_EQ(s_HumanBlockStep, 0);
    EXPECT_FALSE(Cpu().m_TurnFlag);
}

TEST_F(CpuPhysicalTurnTest, NoAttackersGoStraightToThePostCombatStep)
{
    Start();
    Put(Creature(2, 2), PLAYER_CPU)->SetTapState(TAP_TAPPED);
    m_cpu->SetState(CPU_STEP_ATTACK);
    Frame();
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_POST_COMBAT_BURN);
    EXPECT_EQ(GetGameDisplay()->m_CurrentPhase, -1) << "no attack, no highlighted step";
}

TEST_F(CpuPhysicalTurnTest, BlocksFollowTheTestsInOrder)
{
    struct Row {
        const char* name;
        int life;
        int prevent;
        std::initializer_list<std::pair<int, int>> attackers;
        std::pair<int, int> blocker;
        int blocked;  // index of the attacker the blocker takes, -1 none
        int pumpLands = -1;  // the blocker pumps +0/+1 for red; the CPU's untapped red lands (-1 no pump)
    };
    const Row rows[] = {
        {"kills and survives", 20, 0, {{2, 2}}, {3, 3}, 0},
        {"survives", 20, 0, {{1, 1}}, {0, 3}, 0},
        {"trades", 20, 0, {{2, 2}}, {2, 2}, 0},
        {"would only die while safe: no block", 20, 0, {{4, 4}}, {1, 1}, -1},
        {"not safe at 3 life and 1 prevention: chump block", 3, 1, {{4, 4}}, {1, 1}, 0},
        {"the stronger attacker first", 20, 0, {{1, 1}, {2, 2}}, {2, 3}, 1},
        {"equal power: the earlier attacker first", 20, 0, {{2, 2}, {2, 2}}, {3, 3}, 0},
        {"two pumps paid: block", 20, 0, {{3, 3}}, {2, 2}, 0, 2},
        {"one land for two pumps: no block", 20, 0, {{3, 3}}, {2, 2}, -1, 1},
        {"a pump that cannot be paid rules out the trade", 20, 0, {{2, 2}}, {2, 2}, -1, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        Start();
        Cpu().SetLife(row.life, false);
        Cpu().m_PreventDamage = row.prevent;
        CARD& blockerCard = Creature(row.blocker.first, row.blocker.second);
        if (row.pumpLands >= 0) {
            blockerCard.m_Ability.costType = COSTTYPE_NOTAP;
            blockerCard.m_Ability.cost.red = 1;
            blockerCard.m_Ability.effect.effectType = EFFECT_PTMOD_MANAPUMP;
            blockerCard.m_Ability.effect.toughModAmt = 1;
            for (int i = 0; i < row.pumpLands; ++i)
                Card(RED_LAND, PLAYER_CPU);
            UpdateCpuAvailableMana();
        }
        CardActor* const blocker = Put(blockerCard, PLAYER_CPU);
        const std::vector<CardActor*> attackers = HumanAttacks(row.attackers);
        Frame();
        EXPECT_EQ(s_CpuBlockStep, 2);
        CardActor* const expected = row.blocked < 0 ? nullptr : attackers[static_cast<std::size_t>(row.blocked)];
        EXPECT_EQ(blocker->GetBlockedAttacker(), expected);
    }
}

TEST_F(CpuPhysicalTurnTest, UnblockableAttackersAreLeftButCountTowardSafety)
{
    Start();
    Cpu().SetLife(4, false);
    CardActor* const blocker = Put(Creature(1, 1), PLAYER_CPU);
    CARD& ghost = Creature(3, 3);
    ghost.m_Stats.isUnblockable = true;
    CardActor* const unblockable = Put(ghost, PLAYER_HUMAN);
    unblockable->SetAttacking(true);
    const std::vector<CardActor*> attackers = HumanAttacks({{2, 2}});
    Frame();
    // 5 power against 4 life: not safe, so the 1/1 chumps the only attacker it may block.
    EXPECT_EQ(blocker->GetBlockedAttacker(), attackers[0]);
    EXPECT_EQ(s_CpuBlockStep, 2);
}

TEST_F(CpuPhysicalTurnTest, BlockingStepTwoEndsWhenTheAttackIsOver)
{
    for (const bool declared : {true, false}) {
        SCOPED_TRACE(declared ? "attack declared" : "no attack declared");
        TearDown();
        SetUp();
        Start();
        Human().SetAttackDeclared(declared);
        CardActor* const attacker = Put(Creature(2, 2), PLAYER_HUMAN);
        attacker->SetAttacking(true);
        s_CpuBlockStep = 2;
        Frame();
        EXPECT_EQ(s_CpuBlockStep, 2) << "an attacker is still in combat";
        attacker->SetAttacking(false);
        Frame();
        EXPECT_EQ(s_CpuBlockStep, declared ? 3 : 0);
    }
}

TEST_F(CpuPhysicalTurnTest, EndOfTurnDiscardLeavesSevenHeldCards)
{
    struct Row {
        int held;
        int leaving;  // of the held cards, already on their way out
        unsigned seed;
    };
    for (const Row row : {Row{9, 0, 1}, Row{9, 0, 7}, Row{8, 0, 3}, Row{7, 0, 5}, Row{15, 0, 11}, Row{9, 2, 2}}) {
        SCOPED_TRACE(testing::Message() << row.held << " held, " << row.leaving << " leaving, seed " << row.seed);
        TearDown();
        SetUp();
        Start();
        plat::SeedRand(row.seed);
        std::vector<CardActor*> hand;
        for (int i = 0; i < row.held; ++i)
            hand.push_back(Card(RED_LAND, PLAYER_CPU, true));
        for (int i = 0; i < row.leaving; ++i)
            hand[static_cast<std::size_t>(i)]->LeavePlay(LEAVE_DISCARD);
        ClearPendingCards();
        const int before = CpuHandCount();
        m_cpu->SetState(CPU_STEP_DISCARD);
        Frame();
        EXPECT_EQ(CpuHandCount(), std::min(before, 7));
        EXPECT_TRUE(s_CpuDiscardDone);
        EXPECT_EQ(m_cpu->GetState(), CPU_STEP_DISCARD) << "the hand-over follows on the next frame";
        Frame();
        EXPECT_EQ(m_cpu->GetState(), CPU_STEP_HAND_OVER);
        Frame();
        EXPECT_FALSE(s_CpuDiscardDone) << "cleared for the next turn";
        EXPECT_FALSE(s_CpuTurn);
        EXPECT_TRUE(s_HumanTurn);
    }
}

TEST_F(CpuPhysicalTurnTest, RespondOnTheBalloonWaitsThenShowsItAgain)
{
    Start();
    CARD& pumper = Creature(1, 1);
    pumper.m_CardType = CT_INSTANT;
    Put(pumper, PLAYER_HUMAN, true);
    Card(RED_LAND, PLAYER_HUMAN);
    m_cpu->SetState(CPU_STEP_TURN_OVER);
    Frame();
    WordBalloon* balloon = ShownBalloon();
    ASSERT_NE(balloon, nullptr);
    EXPECT_EQ(balloon->GetKindNumber(), CPU_TURN_BALLOON_TAG);
    EXPECT_EQ(balloon->GetPointerSide(), POINTER_TOP_LEFT);
    ASSERT_EQ(balloon->GetButtonCount(), 2);
    Click(balloon, 1);
    Frame();
    EXPECT_EQ(ShownBalloon(), nullptr);
    EXPECT_TRUE(GetPhysicalAdviceState().respondRequest);
    Frames(5);
    EXPECT_EQ(ShownBalloon(), nullptr) << "waits while the learner responds";
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_TURN_OVER);
    GetPhysicalAdviceState().respondRequest = false;
    Frame();
    balloon = ShownBalloon();
    ASSERT_NE(balloon, nullptr);
    Click(balloon, 0);
    Frame();
    EXPECT_EQ(ShownBalloon(), nullptr);
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_END_STEP_BURN);
}

TEST_F(CpuPhysicalTurnTest, BalloonButtonsFollowTheGame)
{
    struct Row {
        int mode;
        int buttons;
        bool respondDisabled;
    };
    for (const Row row : {Row{1, 1, false}, Row{2, 2, true}}) {
        SCOPED_TRACE(testing::Message() << "mode " << row.mode);
        TearDown();
        SetUp();
        SetMode(row.mode);
        Start();
        m_cpu->SetState(CPU_STEP_TURN_OVER);
        Frame();
        WordBalloon* const balloon = ShownBalloon();
        ASSERT_NE(balloon, nullptr);
        EXPECT_EQ(balloon->GetButtonCount(), row.buttons);
        if (row.buttons > 1) {
            EXPECT_EQ(balloon->IsButtonDisabled(1), row.respondDisabled) << "the human has nothing to respond with";
        }
    }
}

TEST_F(CpuPhysicalTurnTest, GatesHoldTheTurn)
{
    struct Row {
        const char* name;
        void (*hold)();
        void (*release)();
    };
    const Row rows[] = {
        {"human lost", [] { GetPlayerState(PLAYER_HUMAN)->SetLife(0, false); },
         [] { GetPlayerState(PLAYER_HUMAN)->SetLife(20, true); }},
        {"CPU lost", [] { GetPlayerState(PLAYER_CPU)->SetLife(0, false); },
         [] { GetPlayerState(PLAYER_CPU)->SetLife(20, true); }},
        {"advice holds while the drawn card is in flight",
         [] { GetTableFlow().cardDrawnByHand = test::DealCard(30, PLAYER_HUMAN, true); },
         [] { GetTableFlow().cardDrawnByHand = nullptr; }},
        {"demonstrations busy", [] { SetHandDemosIdle(false); }, [] { SetHandDemosIdle(true); }},
        {"delay", [] { GetCpuPhysicalTurnWords().delay = 3; }, [] {}},
        {"not the CPU's turn", [] { HandTurnTo(PLAYER_HUMAN); }, [] { HandTurnTo(PLAYER_CPU); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        Start();
        row.hold();
        Frames(3);
        EXPECT_EQ(m_cpu->GetState(), CPU_STEP_TURN_START);
        EXPECT_EQ(m_cpu->m_Countdown, 0) << "no frame of the turn counted";
        row.release();
        Frame();
        EXPECT_EQ(m_cpu->GetState(), CPU_STEP_UNTAP);
        EXPECT_EQ(m_cpu->m_Countdown, 1);
    }
}

TEST_F(CpuPhysicalTurnTest, UntapWaitsForTappedCardsAndDrawStopsOnTheHand)
{
    Start();
    CardActor* const land = Card(RED_LAND, PLAYER_CPU);
    land->SetTapState(TAP_TAPPED);
    SetHandDemosIdle(true);
    m_cpu->SetState(CPU_STEP_UNTAP);
    Frame();
    // The demonstrations untap the CPU's cards; the step then moves on.
    EXPECT_EQ(land->GetTapState(), TAP_READY);
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_DRAW);
    EXPECT_EQ(Cpu().m_CardsToDraw, 1);
    Frame();
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_MAIN1) << "a stopped hand is at rest";
    EXPECT_FALSE(IsDrawHandStopped()) << "the stop holds for one draw only";
}

TEST_F(CpuPhysicalTurnTest, TheHumansAttackIsHandedToTheCpuBlocksAndBack)
{
    SetMode(1);
    FillHumanLibrary(40);
    Actor* const player = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
    player->m_Flags |= ACTOR_FLAG_FIRST_FRAME;
    HumanPhysicalTurn(player);
    Start();
    HandTurnTo(PLAYER_HUMAN);
    Human().m_CardsToDraw = 0;
    CardActor* const attacker = Put(Creature(2, 2), PLAYER_HUMAN);
    attacker->SetAttacking(true);
    CardActor* const blocker = Put(Creature(3, 3), PLAYER_CPU);
    Human().SetAttackDeclared(true);
    s_AttackStep = 3;
    player->SetState(HUMAN_STEP_ATTACK);
    const auto bothFrame = [&] {
        HumanPhysicalTurn(player);
        CpuPhysicalTurn(m_cpu);
    };
    bothFrame();
    EXPECT_EQ(blocker->GetBlockedAttacker(), attacker);
    EXPECT_EQ(s_CpuBlockStep, 2);
    bothFrame();
    EXPECT_EQ(player->GetState(), HUMAN_STEP_ATTACK) << "the human waits while the blocks are under way";
    s_CpuBlockStep = 3;  // the turn advice settles the blocks
    bothFrame();
    EXPECT_EQ(s_CpuBlockStep, 0);
    EXPECT_EQ(player->GetState(), HUMAN_STEP_FIRST_STRIKE);
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_TURN_START) << "the CPU's own turn has not moved";
}

TEST_F(CpuPhysicalTurnTest, AnErrorBoxLinkOpensItsExplanationAndHoldsTheFrame)
{
    Start();
    Messagebox* const box = ShowBox(11);
    GUI_TextButton* const link = box->CreateTextButton(u"link", 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 7, -1);
    link->SetTag(4);
    GUI_InputEvent event;
    event.type = GUI_EVENT_COMMAND;
    event.sender = link;
    box->HandleInput(event);
    ASSERT_EQ(box->GetPressedButton(), 4);
    Frame();
    EXPECT_EQ(link->GetTextColour(), (GUI_Colour{0, 0xA0, 0xE0, 0xFF}));
    EXPECT_NE(box->GetExplanation(), nullptr);
    EXPECT_EQ(box->GetPressedButton(), -1);
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_TURN_START) << "nothing else on that frame";
    Click(box, 0);
    Frame();
    EXPECT_FALSE(GetGameDisplay()->IsWindowRegistered(box));
    EXPECT_EQ(m_cpu->GetState(), CPU_STEP_UNTAP);
}

TEST_F(CpuPhysicalTurnTest, PendingCardsAreSavedOnceAtTheStart)
{
    CardActor* const dead = Card(RED_LAND, PLAYER_CPU);
    dead->LeavePlay(LEAVE_DESTROY);
    ASSERT_EQ(CountPendingCards(PLAYER_CPU), 1);
    CpuPhysicalTurn(m_cpu);
    EXPECT_EQ(CountPendingCards(PLAYER_CPU), 0);
    EXPECT_EQ(GetPhysicalAdviceState().savedPending[PLAYER_CPU], std::vector<CardActor*>{dead});
    EXPECT_FALSE(GetPhysicalAdviceState().savedSetsPending);
    RemoveActor(dead);
    EXPECT_TRUE(GetPhysicalAdviceState().savedPending[PLAYER_CPU].empty()) << "a removed card is forgotten";
}

TEST_F(CpuPhysicalTurnTest, TheTurnBalloonStandsByTheOpponentAndIsProtectedWhileAdviceIsUp)
{
    const lessontest::DialogScreen screen;
    Start();
    m_cpu->SetState(CPU_STEP_TURN_OVER);
    Frame();
    WordBalloon* const balloon = ShownBalloon();
    ASSERT_NE(balloon, nullptr);
    const RasterRect& anchor = GetGameDisplay()->GetZoneRectByIndex(2);
    EXPECT_EQ(balloon->GetLeft(), anchor.right + 5);
    EXPECT_EQ(balloon->GetTop(), anchor.bottom + 8);

    struct Case {
        int mode;
        int kind;
        bool boxUp;
        bool isProtected;
    };
    const Case cases[] = {
        {2, 57, false, false}, {2, 57, true, true},  {2, 59, true, true},  {2, 60, true, false},
        {1, 56, true, true},   {1, 58, true, false}, {2, 55, true, false}, {3, 57, true, false},
    };
    for (const Case& c : cases) {
        s_GameMode = c.mode;
        balloon->SetKind(c.kind);
        if (c.boxUp)
            ShowBox(20);
        EXPECT_EQ(IsProtectedAdviceWindow(balloon), c.isProtected) << c.mode << " " << c.kind;
        CloseLessonBox();
        DeleteLessonBox();
    }
    s_GameMode = 2;
    Messagebox other;
    other.SetKind(57);
    ShowBox(20);
    EXPECT_FALSE(IsProtectedAdviceWindow(&other));
    EXPECT_FALSE(IsProtectedAdviceWindow(nullptr));
    CloseLessonBox();
}

} // namespace
