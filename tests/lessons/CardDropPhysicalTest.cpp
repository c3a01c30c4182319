// What a card dropped on the physical table does: a table of drops (zone, card state and turn step) with the box
// shown, the pointers changed, the sort key and the sound; the bad draws, the parked cards taken back, the graveyard
// drops with the lost-damage explanation, the online lesson, answers in the CPU's turn and the drop on a creature.
#include "cards/CardActor.h"
#include "cards/TableInput.h"
#include "cards/HandLayout.h"
#include "cards/TableScene.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/core/TextHelpers.h"
#include "engine/sound/Wave.h"
#include "gamestate/CardMoveState.h"
#include "gamestate/LessonState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "lessons/CardDropPhysical.h"
#include "lessons/PaymentAdvice.h"
#include "lessons/PlayChecks.h"
#include "lessons/TableSceneReset.h"
#include "lessons/UntapDrawPrompts.h"
#include "platform/Platform.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/TableSelection.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"

#include <functional>
#include <string>

namespace {

using namespace lessontest;

// Synthetic cards: 1 a Mountain, 2 another; 25 a creature costing one red and one generic; 30 a CPU creature; 21
// costs one green and is made an instant where a case needs one.
constexpr int MOUNTAIN = 1;
constexpr int MOUNTAIN_2 = 2;
constexpr int RED_TWO = 25;
constexpr int CPU_CREATURE = 30;
constexpr int FOREST = 13;
constexpr int GREEN_ONE = 21;

enum class Zone { Hand, PlayArea, Library, Graveyard, Elsewhere };

class CardDropPhysicalTest : public LessonTest {
protected:
    DialogScreen m_screen;

    void SetUp() override
    {
        LessonTest::SetUp();
        ClearHintPlayCounts();
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(m_human, m_cpu);
        m_human->SetState(5);
        HandTurnTo(PLAYER_HUMAN);
        s_HumanTurnCount = 2;
        ResetCardMoveState();
        // The piles take the size of the small card back.
        static const std::vector<std::uint16_t> s_back(40 * 56, 0x1234);
        GetGameDisplay()->m_SmallCardBack = GetGameDisplay()->CreateTextureFromPixels(s_back.data(), 40, 56, 0);
        KeysAsTexts({u"PHYSDLG_Error_BadDrawTooMany1", u"PHYSDLG_Error_BadDrawTooMany2",
                     u"PHYSDLG_Error_BadDrawWrongPlace", u"PRE_PHYS_Error_PlaySecondLand",
                     u"PHYS_Error_LandInWrongPlace", u"PHYSDLG_Error_CreatureInWrongPlace",
                     u"PHYSDLG_BASIC_SkippedDrawStep", u"PHYSDLG_DrawPhase", u"PHYSDLG_ERROR_MistimeCard_OppTurn", u"PHYSDLG_ERROR_MistimeSpell"});
        AddString(u"PHYSDLG_BASIC_NONTRAMPLE1", u"first %0 %1 %2");
        AddString(u"PHYSDLG_BASIC_NONTRAMPLE2", u"second %0 %1 %2");
        AddString(u"PHYSDLG_BASIC_1ON1_ERROR_CreatureSurvives", u"survives %0 %1 %2 %3");
        AddString(u"STR_damage", u"damage");
        AddString(u"STR_damage_plural", u"damages");
        AddString(u"PHYSDLG_ERROR_CantDropToAttack", u"attack with %0");
    }

    void TearDown() override
    {
        CloseLessonBox();
        DeleteLessonBox();
        ClearAdviceCards();
        ClearPendingCards();
        ClearTableSelection();
        GetPaymentState().paying = false;
        SetCanPlayNowFlag(0);
        ResetCardMoveState();
        s_HumanTurnCount = 0;
        s_GameMode = 1;
        LessonTest::TearDown();
    }

    static void Lands(int id, int count)
    {
        for (int i = 0; i < count; ++i)
            Card(id, PLAYER_HUMAN);
        UpdateHumanAvailableMana();
    }

    // Puts the card where the drag left it and lets go.
    static void DropAt(CardActor* card, Zone zone)
    {
        const GameDisplay& display = *GetGameDisplay();
        RasterRect r;
        switch (zone) {
        case Zone::Hand:
            r = RasterRect{display.m_HandSlots[0].x + 30, display.m_HandSlots[0].y + 4, 0, 0};
            break;
        case Zone::PlayArea:
            display.GetPlayAreaRect(r);
            r.left += 40;
            r.top += 20;
            break;
        case Zone::Library:
            display.GetPlayerLibraryRect(r, true);
            break;
        case Zone::Graveyard:
            display.GetPlayerGraveyardRect(r, true);
            break;
        case Zone::Elsewhere:
            display.GetPlayAreaRect(r);
            r.left += 40;
            r.top = 10;
            break;
        }
        card->m_Position.Set(static_cast<float>(r.left), static_cast<float>(r.top), 0.0f);
        SetDraggedCard(card);
        HandleCardDropPhysical(card);
    }

    static CardActor* DrawnCard(int id)
    {
        CardActor* const card = Card(id, PLAYER_HUMAN, true);
        GetTableFlow().cardDrawnByHand = card;
        return card;
    }

    static bool Queued(const CardActor* card)
    {
        const std::vector<Actor*>& removals = GetTableFlow().pendingRemovals;
        return std::find(removals.begin(), removals.end(), card) != removals.end();
    }

    Actor* m_human = nullptr;
    Actor* m_cpu = nullptr;
};

struct DropCase {
    const char* name;
    // Sets up the board and returns the card the learner lets go.
    std::function<CardActor*()> setUp;
    Zone zone;
    int kind;              // the lesson box's kind afterwards (-100: none shown)
    const char16_t* text;  // its text (the key), null to skip
    std::function<void(CardActor*)> check;
    int cardDownSounds = 0;
};

TEST_F(CardDropPhysicalTest, ATableOfDrops)
{
    const DropCase cases[] = {
        {"a card back pulled off the pile right after a draw",
         [] {
             GetCardMoveState().lastDrawTime = plat::TimeGetTime() - 500;
             return DrawnCard(0);
         },
         Zone::PlayArea, KIND_BAD_DRAW, u"PHYSDLG_Error_BadDrawTooMany1",
         [](CardActor* c) {
             EXPECT_TRUE(WasSpoken(u"vo_phys\\error_BadDraw_extra.wav"));
             EXPECT_EQ(GetTableFlow().cardDrawnByHand, nullptr);
             EXPECT_TRUE(Queued(c));
         }},
        {"a card back pulled off the pile two seconds after the last draw",
         [] {
             GetCardMoveState().lastDrawTime = plat::TimeGetTime() - 2000;
             return DrawnCard(0);
         },
         Zone::Hand, KIND_BAD_DRAW, u"PHYSDLG_Error_BadDrawTooMany2",
         [](CardActor* c) {
             EXPECT_TRUE(WasSpoken(u"vo_phys\\error_BadDraw_mistime.wav"));
             EXPECT_TRUE(Queued(c));
         }},
        {"a card back put back on the pile undoes the pull and its box",
         [] {
             CardActor* const card = DrawnCard(0);
             ShowBox(KIND_BAD_DRAW);
             Human().m_NextDrawIndex = 3;
             return card;
         },
         Zone::Library, -100, nullptr,
         [](CardActor* c) {
             EXPECT_EQ(GetTableFlow().cardDrawnByHand, nullptr);
             EXPECT_TRUE(Queued(c));
             // The card back took no card off the library.
             EXPECT_EQ(Human().m_NextDrawIndex, 3);
         }},
        {"the turn's card drawn into the hand ends the draw and its prompt",
         [] {
             ShowBox(KIND_DRAW_STEP);
             return DrawnCard(RED_TWO);
         },
         Zone::Hand, -100, nullptr,
         [](CardActor* c) {
             EXPECT_EQ(GetTableFlow().cardDrawnByHand, nullptr);
             EXPECT_TRUE(c->IsHeld());
             EXPECT_FALSE(Queued(c));
             EXPECT_EQ(c->GetSortKey(), -2);
             EXPECT_NE(GetCardMoveState().lastDrawTime, 0u);
         }},
        {"the turn's card dropped back on the pile waits there",
         [] { return DrawnCard(RED_TWO); }, Zone::Library, -100, nullptr,
         [](CardActor* c) {
             EXPECT_EQ(GetTableFlow().cardDrawnByHand, c);
             RasterRect pile;
             GetGameDisplay()->GetPlayerLibraryRect(pile, true);
             EXPECT_EQ(c->m_TargetPoint.x, static_cast<float>(pile.left));
         }},
        {"the turn's card left on the table lies there with an error",
         [] { return DrawnCard(RED_TWO); }, Zone::PlayArea, KIND_BAD_DRAW_PLACE, u"PHYSDLG_Error_BadDrawWrongPlace",
         [](CardActor* c) {
             EXPECT_EQ(GetTableFlow().cardDrawnByHand, nullptr);
             EXPECT_EQ(GetCardBeingPaid(), c);
             EXPECT_FALSE(c->IsHeld());
             EXPECT_TRUE(WasSpoken(u"vo_phys\\Error_BadDrawWrongPlace.wav"));
         }},
        {"the turn's card dropped on the table while another card lies there goes back to the pile",
         [] {
             SetCardBeingPaid(Card(MOUNTAIN, PLAYER_HUMAN));
             return DrawnCard(RED_TWO);
         },
         Zone::PlayArea, -100, nullptr,
         [](CardActor* c) {
             EXPECT_EQ(GetTableFlow().cardDrawnByHand, c);
             EXPECT_NE(GetCardBeingPaid(), c);
             RasterRect pile;
             GetGameDisplay()->GetPlayerLibraryRect(pile, true);
             EXPECT_EQ(c->m_TargetPoint.y, static_cast<float>(pile.top));
         }},
        {"the first land of the turn on the play area is played",
         [] { return Card(MOUNTAIN, PLAYER_HUMAN, true); }, Zone::PlayArea, -100, nullptr,
         [](CardActor* c) {
             EXPECT_FALSE(c->IsHeld());
             EXPECT_EQ(c->GetTapState(), TAP_READY);
             EXPECT_TRUE(IsLandPlayedThisTurn());
             EXPECT_EQ(GetCardMoveState().laterTurnLands, 1);
         },
         1},
        {"a second land of the turn is refused, even on the play area",
         [] {
             MarkLandPlayed();
             return Card(MOUNTAIN_2, PLAYER_HUMAN, true);
         },
         Zone::PlayArea, KIND_PLAY_ERROR, u"PRE_PHYS_Error_PlaySecondLand",
         [](CardActor* c) {
             EXPECT_EQ(GetUnaffordableCard(), c);
             EXPECT_FALSE(c->IsHeld());
             EXPECT_EQ(c->GetTapState(), TAP_OFF_TABLE);
             EXPECT_TRUE(WasSpoken(u"vo_phys\\Error_PlaySecondLand.wav"));
         }},
        {"a first land beside the play area waits where it lies",
         [] { return Card(MOUNTAIN, PLAYER_HUMAN, true); }, Zone::Elsewhere, KIND_PLAY_ERROR,
         u"PHYS_Error_LandInWrongPlace",
         [](CardActor* c) {
             EXPECT_EQ(GetCardBeingPaid(), c);
             EXPECT_FALSE(c->IsHeld());
             EXPECT_FALSE(IsLandPlayedThisTurn());
             EXPECT_EQ(c->m_TargetPoint.x, c->m_Position.x);
         }},
        {"a creature beside the play area is parked for payment",
         [] {
             Lands(MOUNTAIN, 2);
             return Card(RED_TWO, PLAYER_HUMAN, true);
         },
         Zone::Elsewhere, KIND_PLAY_ERROR, u"PHYSDLG_Error_CreatureInWrongPlace",
         [](CardActor* c) {
             EXPECT_EQ(GetCardBeingPaid(), c);
             EXPECT_EQ(GetTableFlow().castingCard, nullptr);
         }},
        {"a parked creature put on the play area is cast",
         [] {
             Lands(MOUNTAIN, 2);
             CardActor* const card = Card(RED_TWO, PLAYER_HUMAN, true);
             DropAt(card, Zone::Elsewhere);
             return card;
         },
         Zone::PlayArea, PAYMENT_BOX_SPELL, nullptr,
         [](CardActor* c) {
             EXPECT_EQ(GetCardBeingPaid(), nullptr);
             EXPECT_EQ(GetTableFlow().castingCard, c);
             EXPECT_FALSE(c->IsHeld());
         }},
        {"a parked land taken back into the hand ends its error",
         [] {
             CardActor* const card = Card(MOUNTAIN, PLAYER_HUMAN, true);
             DropAt(card, Zone::Elsewhere);
             return card;
         },
         Zone::Hand, -100, nullptr,
         [](CardActor* c) {
             EXPECT_EQ(GetCardBeingPaid(), nullptr);
             EXPECT_TRUE(c->IsHeld());
             EXPECT_EQ(c->GetSortKey(), -2);
         }},
        {"moving a card in the draw step before the draw",
         [] {
             Human().m_CardsToDraw = 1;
             s_GameMode = 1;
             const_cast<Actor*>(GetHumanPlayerActor())->SetState(2);
             return Card(RED_TWO, PLAYER_HUMAN);
         },
         Zone::PlayArea, KIND_SKIPPED_DRAW, u"PHYSDLG_BASIC_SkippedDrawStep", nullptr},
        {"a discard in the clean-up step with eight cards in the hand",
         [] {
             const_cast<Actor*>(GetHumanPlayerActor())->SetState(16);
             for (int i = 0; i < 7; ++i)
                 Card(RED_TWO, PLAYER_HUMAN, true);
             return Card(GREEN_ONE, PLAYER_HUMAN, true);
         },
         Zone::Graveyard, -100, nullptr,
         [](CardActor* c) {
             EXPECT_FALSE(c->IsNotLeaving());
             EXPECT_FALSE(c->IsHeld());
         }},
        {"no discard with seven cards in the hand: a card played at the wrong moment",
         [] {
             const_cast<Actor*>(GetHumanPlayerActor())->SetState(16);
             for (int i = 0; i < 6; ++i)
                 Card(RED_TWO, PLAYER_HUMAN, true);
             return Card(GREEN_ONE, PLAYER_HUMAN, true);
         },
         Zone::Graveyard, KIND_PLAY_ERROR, u"PHYSDLG_ERROR_MistimeSpell",
         [](CardActor* c) {
             EXPECT_TRUE(c->IsNotLeaving());
             EXPECT_EQ(GetMistimedCard(), c);
         }},
    };
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClearHintPlayCounts();
        CardActor* const card = c.setUp();
        const int sounds = CountEffectRequests(21);
        DropAt(card, c.zone);
        EXPECT_EQ(GetDraggedCard(), nullptr);
        EXPECT_EQ(ShownKind(), c.kind);
        if (c.text != nullptr) {
            EXPECT_EQ(ShownText(), c.text);
        }
        if (c.check)
            c.check(card);
        EXPECT_EQ(CountEffectRequests(21) - sounds, c.cardDownSounds);
        // The next case starts on an empty table.
        ResetTableScene();
        PurgeRemovedActors();
        ClearPendingCards();
        ClearTableSelection();
        GetPaymentState().paying = false;
        ResetCardMoveState();
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(m_human, m_cpu);
        m_human->SetState(5);
        HandTurnTo(PLAYER_HUMAN);
        s_HumanTurnCount = 2;
        Human().m_CardsToDraw = 0;
    }
}

TEST_F(CardDropPhysicalTest, TheLostDamageIsExplainedAtMostTwice)
{
    ASSERT_EQ(GetNonTrampleExplained(), 0);
    CardActor* const creature = Card(RED_TWO, PLAYER_HUMAN);
    const int toughness = creature->GetStats().toughness;
    const char16_t* const texts[] = {u"first N ", u"second N ", nullptr};
    for (const char16_t* expected : texts) {
        CardActor* const dead = Card(RED_TWO, PLAYER_HUMAN);
        AddPendingCard(dead);
        ShowBox(KIND_COMBAT_DAMAGE);
        GetCardMoveState().damageBoxCreature = creature;
        GetCardMoveState().damageBoxAmount = toughness + 2;
        DropAt(dead, Zone::Graveyard);
        EXPECT_FALSE(dead->IsNotLeaving());
        EXPECT_FALSE(IsCardPendingForOwner(dead));
        if (expected == nullptr) {
            EXPECT_EQ(ShownKind(), KIND_COMBAT_DAMAGE);
            continue;
        }
        EXPECT_EQ(ShownKind(), KIND_LOST_DAMAGE);
        EXPECT_EQ(ShownText().substr(0, std::u16string(expected).size()), expected);
        EXPECT_NE(ShownText().find(IntToWString(toughness + 2)), std::u16string::npos);
    }
    EXPECT_EQ(GetNonTrampleExplained(), 2);
}

TEST_F(CardDropPhysicalTest, ACreatureThatSurvivedMayNotBeBuried)
{
    CardActor* const creature = Card(RED_TWO, PLAYER_HUMAN);
    ShowBox(KIND_COMBAT_DAMAGE);
    GetCardMoveState().damageBoxCreature = creature;
    GetCardMoveState().damageBoxAmount = 1;
    DropAt(creature, Zone::Graveyard);
    EXPECT_TRUE(creature->IsNotLeaving());
    EXPECT_EQ(ShownKind(), KIND_COMBAT_DAMAGE);
    EXPECT_EQ(ShownText().substr(0, 8), u"survives");
    EXPECT_NE(ShownText().find(u" 1 damage"), std::u16string::npos);
    EXPECT_EQ(GetCardMoveState().survivingCreature, creature);
    EXPECT_NE(creature->m_Flags & ACTOR_FLAG_HOLD_POSITION, 0u);
    EXPECT_TRUE(WasSpoken(u"vo_phys\\BASIC_1ON1_ERROR_CreatureSurvives.wav"));
}

TEST_F(CardDropPhysicalTest, OnlineADropOnlyEndsTheDrag)
{
    s_GameMode = 3;
    CardActor* const land = Card(MOUNTAIN, PLAYER_HUMAN, true);
    DropAt(land, Zone::PlayArea);
    EXPECT_EQ(GetDraggedCard(), nullptr);
    EXPECT_TRUE(land->IsHeld());
    EXPECT_FALSE(IsLandPlayedThisTurn());
    EXPECT_EQ(ShownKind(), -100);
}

TEST_F(CardDropPhysicalTest, AnswersInTheCpusTurn)
{
    Lands(FOREST, 1);
    Lands(MOUNTAIN, 2);
    HandTurnTo(PLAYER_CPU);
    m_human->SetState(21);
    SetCanPlayNowFlag(1);
    g_CardDefs[GREEN_ONE].m_CardType = CT_INSTANT;
    CardActor* const instant = Card(GREEN_ONE, PLAYER_HUMAN, true);
    const int sounds = CountEffectRequests(21);
    DropAt(instant, Zone::PlayArea);
    EXPECT_EQ(GetTableSelection().pendingSpell, instant);
    EXPECT_TRUE(GetPaymentState().paying);
    EXPECT_EQ(CountEffectRequests(21) - sounds, 1);
    ClearTableSelection();
    GetPaymentState().paying = false;

    CardActor* const creature = Card(RED_TWO, PLAYER_HUMAN, true);
    DropAt(creature, Zone::PlayArea);
    EXPECT_EQ(GetMistimedCard(), creature);
    EXPECT_EQ(ShownKind(), KIND_PLAY_ERROR);
    EXPECT_EQ(ShownText(), u"PHYSDLG_ERROR_MistimeCard_OppTurn");
    EXPECT_EQ(GetTableFlow().castingCard, nullptr);
}

TEST_F(CardDropPhysicalTest, ACreatureDroppedOnAnOpponentsCreatureIsNotAnAttack)
{
    CardActor* const attacker = Card(RED_TWO, PLAYER_HUMAN);
    CardActor* const defender = Card(CPU_CREATURE, PLAYER_CPU);
    EXPECT_FALSE(CheckDropToAttack(nullptr));
    int width = 0;
    int height = 0;
    GetGameDisplay()->GetCardDrawSize(defender, width, height, false);
    defender->m_Position.Set(300.0f, 150.0f, 0.0f);
    ShowCardWindow(defender, 300, 150, 300 + width, 150 + height);
    attacker->m_Position.Set(310.0f, 160.0f, 0.0f);
    EXPECT_TRUE(CheckDropToAttack(attacker));
    EXPECT_EQ(ShownKind(), KIND_DROP_TO_ATTACK);
    EXPECT_EQ(ShownText(), u"attack with N");
    EXPECT_TRUE(IsBlockPromptUp());
    // The box stays until it is answered, then the turn advice's call closes it.
    EXPECT_TRUE(CheckDropToAttack(nullptr));
    EXPECT_TRUE(IsBlockPromptUp());
    Click(GetLessonBox(), 0);
    EXPECT_TRUE(CheckDropToAttack(nullptr));
    EXPECT_FALSE(IsBlockPromptUp());
    EXPECT_FALSE(IsLessonBoxShowing());
}

TEST_F(CardDropPhysicalTest, ACardTakenBackGoesBetweenTheHandCardsItWasDroppedAmong)
{
    for (int i = 0; i < 3; ++i)
        Card(RED_TWO, PLAYER_HUMAN, true);
    UpdateHandCards();
    UpdateHandLayout();
    ASSERT_EQ(GetTableInput().handList.size(), 3u);
    CardActor* const land = Card(MOUNTAIN, PLAYER_HUMAN, true);
    DropAt(land, Zone::Elsewhere);
    ASSERT_EQ(GetCardBeingPaid(), land);
    // Right of the second card's slot, left of the third's: it goes in before the third.
    const GameDisplay& display = *GetGameDisplay();
    land->m_Position.Set(static_cast<float>(display.m_HandSlots[1].x + 10),
                         static_cast<float>(display.m_HandSlots[0].y + 4), 0.0f);
    SetDraggedCard(land);
    HandleCardDropPhysical(land);
    EXPECT_EQ(GetCardBeingPaid(), nullptr);
    EXPECT_EQ(land->GetSortKey(), 2 * 4 - 2);
    EXPECT_EQ(ShownKind(), -100);
}

} // namespace
