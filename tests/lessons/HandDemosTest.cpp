// The CPU's bury hand and acting hand on the stepped clock: every card they take reaches its place, the hand
// always leaves the screen, and a card that never lands exactly where it was sent does not hold them for ever.
#include "cards/CardBehaviour.h"
#include "engine/core/Easing.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/HandAnimationLists.h"
#include "gamestate/PlayerActors.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "cards/CardWindows.h"
#include "cards/TableInput.h"
#include "lessons/AttackerUnderBlocker.h"
#include "lessons/DrawingHand.h"
#include "lessons/HandDemos.h"
#include "lessons/HandSprite.h"
#include "platform/Headless.h"
#include "rules/BoardSteps.h"
#include "rules/CpuPayment.h"
#include "rules/PendingCards.h"
#include "tests/lessons/LessonFixture.h"

#include <functional>
#include <memory>
#include <vector>

namespace {

using lessontest::LessonTest;

constexpr std::uint32_t FRAME_MS = 17;
constexpr int MAX_FRAMES = 3000;
constexpr int GREEN_LAND = 13;
constexpr int CREATURE = 30;
constexpr int SORCERY = 101;

class HandDemosTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(1);
        for (const char16_t* name : {u"hand_up", u"hand_down"}) {
            m_pixels.push_back(std::make_unique<std::vector<std::uint16_t>>(90 * 120));
            AddTextureName(name, GetGameDisplay()->CreateTextureFromPixels(m_pixels.back()->data(), 90, 120, 0));
        }
        g_CardDefs[SORCERY].m_CardType = CT_SORCERY;
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu->SetState(5);
        SetPlayerActors(nullptr, m_cpu);
        ResetAll();
        g_FrameMilliseconds = static_cast<float>(FRAME_MS);
    }

    void TearDown() override
    {
        ResetAll();
        ClearPendingCards();
        for (const char16_t* name : {u"hand_up", u"hand_down"})
            RemoveTextureName(name);
        LessonTest::TearDown();
    }

    static void ResetAll()
    {
        ResetDrawHand();
        ResetHandDemos();
        ClearHandAnimationLists();
        ResetPendingObjects();
        SetHandDemosIdle(true);
        SetCpuListEmpty(true);
    }

    // One frame as the program runs it: the hands step, the sprites glide and every card eases toward its place.
    void Frame()
    {
        m_now += FRAME_MS;
        plat::headless::SetTime(m_now);
        StepHandDemos();
        m_handXAtStep = GetHandSprite().GetX();
        GetSpriteList()->UpdateAll();
        for (CardActor* const card : GetCardActors())
            CardBehaviour(card);
        if (GetHandSprite().IsListed())
            m_handSeen = true;
    }

    // Frames until the condition holds; the frames it took, or -1.
    int RunUntil(const std::function<bool()>& done)
    {
        for (int frame = 0; frame < MAX_FRAMES; ++frame) {
            if (done())
                return frame;
            Frame();
        }
        return done() ? MAX_FRAMES : -1;
    }

    static bool HandGone()
    {
        return !GetHandSprite().IsListed() && GetHandSpriteUser() == HandUser::None;
    }

    static bool InCpuGraveyard(const CardActor* card)
    {
        const PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
        for (int i = 0; i < cpu.m_GraveyardCount; ++i)
            if (cpu.m_Graveyard[static_cast<std::size_t>(i)] == card)
                return true;
        return false;
    }

    static RasterRect CpuGraveyard()
    {
        RasterRect pile;
        GetGameDisplay()->GetOpponentGraveyardRect(pile, false);
        return pile;
    }

    // A CPU card already resting on the table at that point (dealt there, not played by the CPU's hand).
    static CardActor* CpuTableCard(int id, float x, float y)
    {
        CardActor* const card = Card(id, PLAYER_CPU);
        card->m_Position = Vector3{x, y, 200.0f};
        card->m_TargetPoint = card->m_Position;
        return card;
    }

    // A CPU creature on the table that dies: it waits in the CPU's pending set for the bury hand.
    static CardActor* DeadCpuCreature(float x, float y)
    {
        CardActor* const card = CpuTableCard(CREATURE, x, y);
        EXPECT_TRUE(card->LeavePlay(LEAVE_DESTROY));
        return card;
    }

    Actor* m_cpu = nullptr;
    std::uint32_t m_now = 10000;
    bool m_handSeen = false;
    int m_handXAtStep = 0;
    std::vector<std::unique_ptr<std::vector<std::uint16_t>>> m_pixels;
};

TEST_F(HandDemosTest, WithNothingToDoBothHandsRestAndNeverShow)
{
    for (int i = 0; i < 30; ++i)
        Frame();
    EXPECT_FALSE(m_handSeen);
    EXPECT_TRUE(AreHandDemosIdle());
    EXPECT_TRUE(CpuListEmpty());
    EXPECT_TRUE(IsActingHandIdle());
    EXPECT_EQ(GetBuryHandState(), 0);
    EXPECT_EQ(GetActingHandState(), 0);
}

TEST_F(HandDemosTest, BuryHandTakesEveryDeadCardToTheGraveyardAndRests)
{
    std::vector<CardActor*> dead = {DeadCpuCreature(300, 150), DeadCpuCreature(420, 160),
                                    DeadCpuCreature(520, 120)};
    ASSERT_EQ(CountPendingCards(PLAYER_CPU), 3);
    EXPECT_FALSE(CpuListEmpty());

    // While a card is carried the table keeps the place the hand sends it to, and draws it under the hand.
    bool carriedSeen = false;
    bool keptWhileCarried = true;
    const int frames = RunUntil([&] {
        const DemoCarry& carry = GetDemoCarry();
        if (carry.card != nullptr) {
            carriedSeen = true;
            keptWhileCarried = keptWhileCarried && IsCardInDelayedSet(carry.card);
        }
        return CpuListEmpty() && HandGone();
    });
    ASSERT_GE(frames, 0) << "the bury hand never came to rest";
    EXPECT_TRUE(m_handSeen);
    EXPECT_TRUE(carriedSeen);
    EXPECT_TRUE(keptWhileCarried);
    for (const CardActor* card : dead) {
        EXPECT_TRUE(InCpuGraveyard(card));
        EXPECT_EQ(static_cast<int>(card->m_Position.x), CpuGraveyard().left);
        EXPECT_EQ(static_cast<int>(card->m_Position.y), CpuGraveyard().top);
        EXPECT_FALSE(IsCardInDelayedSet(card));
    }
    EXPECT_EQ(GetDemoCarry().card, nullptr);
    EXPECT_EQ(CountPendingCards(PLAYER_CPU), 0);
    EXPECT_EQ(CountCardsFlyingToGraveyard(), 0);
    EXPECT_TRUE(AreHandDemosIdle());
    const Sprite& hand = GetHandSprite();
    EXPECT_LT(hand.GetY() + hand.GetHeight(), 0) << "the hand left upward";
}

TEST_F(HandDemosTest, BuryHandFollowsACardThatMovesAndGrabsItWhereItIs)
{
    CardActor* const card = DeadCpuCreature(200, 100);
    // Let the hand set off toward the card, then the card glides elsewhere.
    ASSERT_GE(RunUntil([] { return GetBuryHandState() == 2; }), 0);
    for (int i = 0; i < 3; ++i)
        Frame();
    card->m_TargetPoint = Vector3{600.0f, 380.0f, 200.0f};
    ASSERT_GE(RunUntil([] { return GetBuryHandState() == 3; }), 0) << "the hand never reached the card";
    // Arrived within 2 px of the card's own corner, not of where it was.
    RasterRect rect;
    GetGameDisplay()->GetCardRect(card, rect, false);
    const Sprite& hand = GetHandSprite();
    EXPECT_LE(std::abs(hand.GetX() - HandXOver(rect)), 2);
    EXPECT_LE(std::abs(hand.GetY() - HandYOver(rect)), 2);
    EXPECT_GT(hand.GetX(), 400) << "followed the card to the right";
    ASSERT_GE(RunUntil([] { return CpuListEmpty() && HandGone(); }), 0);
    EXPECT_TRUE(InCpuGraveyard(card));
}

// The card behaviour only ever reports arrival at the point the card aims at: a card held in place or sent
// somewhere else must not keep the bury hand waiting.
TEST_F(HandDemosTest, BuryHandNeverWaitsForeverOnACardThatDoesNotLandOnItsPlace)
{
    struct Case {
        const char* name;
        std::function<void(CardActor*)> spoil;
    };
    const std::vector<Case> cases = {
        {"easing stopped", [](CardActor* c) { c->m_EasingStopped = true; }},
        {"sent elsewhere", [](CardActor* c) { c->m_TargetPoint = Vector3{333.5f, 222.25f, 0.0f}; }},
    };
    for (const Case& c : cases) {
        CardActor* const card = DeadCpuCreature(300, 150);
        bool spoiled = false;
        const int frames = RunUntil([&] {
            if (!spoiled && GetBuryHandState() == 4) {
                c.spoil(card);
                spoiled = true;
            }
            return CpuListEmpty() && HandGone();
        });
        ASSERT_GE(frames, 0) << c.name;
        EXPECT_TRUE(spoiled) << c.name;
        EXPECT_TRUE(InCpuGraveyard(card)) << c.name;
        EXPECT_LE(static_cast<std::uint32_t>(frames) * FRAME_MS, BURY_FLIGHT_LIMIT_MS + 3000) << c.name;
        card->m_EasingStopped = false;
    }
}

TEST_F(HandDemosTest, ActingHandPlaysBackTheCpuTapsOneByOne)
{
    const ManaCost green{0, 0, 1, 0, 0, 0};
    std::vector<CardActor*> lands = {CpuTableCard(GREEN_LAND, 250, 150), CpuTableCard(GREEN_LAND + 1, 330, 150)};
    PayCpuCost(ManaCost(1, 0, 1, 0, 0, 0));
    ASSERT_EQ(GetCpuTappedSources().size(), 2u);
    const auto shown = [](const CardActor* c) {
        return c->GetTapState() == TAP_TAPPED && (c->m_Flags & ACTOR_FLAG_KEEP_UPRIGHT) == 0;
    };
    EXPECT_FALSE(shown(lands[0]) || shown(lands[1])) << "the table waits for the hand";
    EXPECT_FALSE(AreHandDemosIdle());

    std::vector<int> order;
    ASSERT_GE(RunUntil([&] {
        for (int i = 0; i < 2; ++i)
            if (shown(lands[static_cast<std::size_t>(i)]) && std::find(order.begin(), order.end(), i) == order.end())
                order.push_back(i);
        return AreHandDemosIdle() && HandGone();
    }),
              0);
    EXPECT_EQ(order.size(), 2u) << "each tap shown on its own frame";
    EXPECT_TRUE(shown(lands[0]) && shown(lands[1]));
    EXPECT_TRUE(m_handSeen);
}

TEST_F(HandDemosTest, ActingHandUntapsEveryCpuCardInTheUntapStep)
{
    std::vector<CardActor*> cards = {CpuTableCard(GREEN_LAND, 250, 150), CpuTableCard(CREATURE, 400, 120)};
    CardActor* const human = Card(CREATURE, PLAYER_HUMAN);
    for (CardActor* c : {cards[0], cards[1], human})
        c->SetTapState(TAP_TAPPED);
    // Outside the untap step nothing is untapped.
    for (int i = 0; i < 20; ++i)
        Frame();
    EXPECT_FALSE(m_handSeen);
    EXPECT_EQ(cards[0]->GetTapState(), TAP_TAPPED);

    m_cpu->SetState(1);
    ASSERT_GE(RunUntil([&] { return cards[0]->GetTapState() == TAP_READY && cards[1]->GetTapState() == TAP_READY; }),
              0);
    EXPECT_EQ(GetActingHandMode(), ACTING_UNTAP);
    m_cpu->SetState(2);
    ASSERT_GE(RunUntil([] { return AreHandDemosIdle() && HandGone(); }), 0);
    EXPECT_EQ(human->GetTapState(), TAP_TAPPED) << "the learner's cards are not the CPU's to untap";
}

// A card the CPU plays leaves its hand of backs under the hand and lands on its place on the table, announced
// there; a spell that already left play is carried to the graveyard instead.
TEST_F(HandDemosTest, ActingHandCarriesPlayedCardsOutOfTheCpuHand)
{
    struct Case {
        int id;
        bool leaving;
    };
    for (const Case c : {Case{GREEN_LAND, false}, Case{SORCERY, true}}) {
        CardActor* const card = Card(c.id, PLAYER_CPU, true);
        card->m_Position = Vector3{0, 0, 200};
        const Vector3 place{380.0f, 170.0f, 200.0f};
        card->m_TargetPoint = place;
        card->SetHeld(false);
        card->SetTapState(TAP_READY);
        ASSERT_EQ(GetCpuPlayedCards().size(), 1u) << c.id;
        EXPECT_FALSE(AreHandDemosIdle());
        if (c.leaving)
            card->LeavePlay(LEAVE_NO_REGENERATION);

        // Waiting in the CPU's hand of backs, then carried at the hand's card size from there.
        ASSERT_GE(RunUntil([] { return GetDemoCarry().card != nullptr; }), 0);
        const RasterRect& cpuHand = GetGameDisplay()->m_CpuHandRect;
        EXPECT_EQ(GetDemoCarry().startX, cpuHand.left + 5) << c.id;
        EXPECT_EQ(GetDemoCarry().startY, cpuHand.top + 5) << c.id;
        EXPECT_EQ(GetDemoCarry().width, CPU_HAND_CARD_WIDTH);
        EXPECT_EQ(GetDemoCarry().height, CPU_HAND_CARD_HEIGHT);

        // The card stays under the fingertip on the way.
        bool underHand = true;
        ASSERT_GE(RunUntil([&] {
            if (GetActingHandState() == 8)
                underHand = underHand && static_cast<int>(card->m_Position.x) == m_handXAtStep + CPU_HAND_CARD_X;
            return AreHandDemosIdle() && HandGone();
        }),
                  0)
            << c.id;
        EXPECT_TRUE(underHand) << c.id;
        EXPECT_EQ(GetDemoCarry().card, nullptr);
        EXPECT_EQ(card->m_Flags & (ACTOR_FLAG_AWAITING_HAND | ACTOR_FLAG_CPU_REVEALED | ACTOR_FLAG_HOLD_POSITION), 0u);
        if (c.leaving) {
            EXPECT_TRUE(InCpuGraveyard(card));
            EXPECT_EQ(CountPendingCards(PLAYER_CPU), 0);
        } else {
            EXPECT_FALSE(InCpuGraveyard(card));
            EXPECT_FALSE(card->m_EasingStopped);
            EXPECT_LE(std::abs(card->m_Position.x - place.x), 2.0f);
            EXPECT_LE(std::abs(card->m_Position.y - place.y), 2.0f);
        }
    }
}

TEST_F(HandDemosTest, ActingHandLetsGoOfACardWhosePlaceNeverSettles)
{
    CardActor* const card = Card(CREATURE, PLAYER_CPU, true);
    card->m_TargetPoint = Vector3{380.0f, 170.0f, 200.0f};
    card->SetHeld(false);
    card->SetTapState(TAP_NEW);
    int frame = 0;
    const int frames = RunUntil([&] {
        // The layout keeps moving the card's place while the hand carries it.
        if (GetActingHandState() == 8)
            card->m_TargetPoint.x = 200.0f + static_cast<float>((frame++ % 2) * 300);
        return AreHandDemosIdle() && HandGone();
    });
    ASSERT_GE(frames, 0);
    EXPECT_LE(static_cast<std::uint32_t>(frames) * FRAME_MS, ACTING_CARRY_LIMIT_MS + 3000);
    EXPECT_FALSE(card->m_EasingStopped);
}

// The three hands share one image: while one holds it the others wait, and a new game frees it.
TEST_F(HandDemosTest, OneHandImageServesOneHandAtATime)
{
    DeadCpuCreature(300, 150);
    CardActor* const land = CpuTableCard(GREEN_LAND, 250, 150);
    ASSERT_GE(RunUntil([] { return GetHandSpriteUser() == HandUser::Bury; }), 0);
    TapManaSource(land, false);
    for (int i = 0; i < 5; ++i)
        Frame();
    EXPECT_EQ(GetHandSpriteUser(), HandUser::Bury);
    EXPECT_EQ(GetActingHandState(), 0) << "the acting hand waits for the image";
    ASSERT_GE(RunUntil([] { return AreHandDemosIdle() && HandGone(); }), 0);
    EXPECT_EQ(land->m_Flags & ACTOR_FLAG_KEEP_UPRIGHT, 0u);

    DeadCpuCreature(300, 150);
    ASSERT_GE(RunUntil([] { return GetHandSpriteUser() == HandUser::Bury; }), 0);
    ResetHandDemos();
    EXPECT_TRUE(HandGone());
}

// The attacker a blocker is dropped on is the CPU's attacking creature whose window lies under the blocker's
// corners or side middles, the blocker's own window on top notwithstanding.
TEST_F(HandDemosTest, FindsTheCpuAttackerUnderTheBlockerBeingPlaced)
{
    int width = 0;
    int height = 0;
    CardActor* const attacker = CpuTableCard(CREATURE, 300, 200);
    GetGameDisplay()->GetCardDrawSize(attacker, width, height, false);
    CardActor* const blocker = Card(CREATURE + 1, PLAYER_HUMAN);
    blocker->m_Position = Vector3{300.0f + static_cast<float>(width) / 2, 200.0f - static_cast<float>(height) / 4, 0};
    struct Case {
        const char* name;
        bool attacking;
        bool blocking;
        bool anyCreature;
        bool found;
    };
    const Case cases[] = {
        {"attacker", true, false, false, true},
        {"not attacking", false, false, false, false},
        {"not attacking, any creature", false, false, true, true},
        {"itself blocking", true, true, false, false},
    };
    for (const Case& c : cases) {
        DestroyAllCardWindows();
        attacker->SetAttacking(c.attacking);
        attacker->SetBlockedAttacker(c.blocking ? blocker : nullptr);
        CreateCardWindowAt(attacker, 300, 200, width, height);
        CreateCardWindowAt(blocker, static_cast<int>(blocker->m_Position.x), static_cast<int>(blocker->m_Position.y),
                           width, height);
        EXPECT_EQ(FindAttackerUnder(blocker, c.anyCreature), c.found ? attacker : nullptr) << c.name;
    }
    attacker->SetBlockedAttacker(nullptr);
    // Far from any attacker, or no blocker at all: none.
    blocker->m_Position = Vector3{650, 500, 0};
    EXPECT_EQ(FindAttackerUnder(blocker, true), nullptr);
    EXPECT_EQ(FindAttackerUnderBlocker(false), nullptr);
    DestroyAllCardWindows();
}

// A card removed from the game while a hand works on it is forgotten by every hand: the hand goes on with the
// rest and nothing refers to the removed card any more.
TEST_F(HandDemosTest, ACardRemovedWhileAHandCarriesItIsForgotten)
{
    struct Case {
        const char* name;
        int state;  // the hand's state when the card goes
        bool bury;
    };
    for (const Case c : {Case{"buried card", 4, true}, Case{"played card", 8, false}}) {
        CardActor* card = nullptr;
        CardActor* other = nullptr;
        if (c.bury) {
            card = DeadCpuCreature(300, 150);
            other = DeadCpuCreature(450, 150);
        } else {
            card = Card(CREATURE, PLAYER_CPU, true);
            card->m_TargetPoint = Vector3{380.0f, 170.0f, 200.0f};
            card->SetHeld(false);
            card->SetTapState(TAP_NEW);
        }
        const auto state = [&] { return c.bury ? GetBuryHandState() : GetActingHandState(); };
        ASSERT_GE(RunUntil([&] { return state() == c.state; }), 0) << c.name;
        RemoveActor(card);
        PurgeRemovedActors();
        EXPECT_EQ(GetDemoCarry().card, nullptr) << c.name;
        EXPECT_EQ(IsCardInDelayedSet(other), c.bury) << "the hand still has the other card " << c.name;
        ASSERT_GE(RunUntil([] { return AreHandDemosIdle() && HandGone(); }), 0) << c.name;
        if (other != nullptr)
            EXPECT_TRUE(InCpuGraveyard(other)) << c.name;
    }
}

} // namespace
