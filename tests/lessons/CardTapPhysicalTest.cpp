// What a press on a card does on the physical table: a table of presses (abilities paid or refused, the summoning
// sick tapper, the untap and draw steps, the refused attacker) and the rules of picking a card up.
#include "cards/CardActor.h"
#include "cards/TableInput.h"
#include "engine/core/LanguageManager.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/sound/Wave.h"
#include "gamestate/CardMoveState.h"
#include "gamestate/LessonState.h"
#include "gamestate/PhysicalAdviceState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "lessons/CardTapPhysical.h"
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

namespace {

using namespace lessontest;

// Synthetic cards: 1 a Mountain; 26 a creature given a tap ability costing one red; 30 a creature without one.
constexpr int MOUNTAIN = 1;
constexpr int TAPPER = 26;
constexpr int CREATURE = 30;

class CardTapPhysicalTest : public LessonTest {
protected:
    DialogScreen m_screen;

    void SetUp() override
    {
        LessonTest::SetUp();
        ClearHintPlayCounts();
        ResetCardMoveState();
        s_GameMode = 1;
        KeysAsTexts({u"PHYS_NotEnoughUntappedLand_ability", u"PHYS_NotEnoughUntappedLand_ability_Tapped",
                     u"PRE_PHYSDLG_ERROR_TapperWithSummoningSickness", u"PHYSDLG_BASIC_SkippedDrawStep",
                     u"PHYSDLG_BASIC_SkippedUntapStep", u"PHYSEXPL_LINK_ACTIVATEDABILITY"});
        NewBoard();
    }

    void TearDown() override
    {
        CloseLessonBox();
        DeleteLessonBox();
        ClearAdviceCards();
        ClearPendingCards();
        ClearTableSelection();
        SetCanPlayNowFlag(0);
        SetDraggedCard(nullptr);
        ResetCardMoveState();
        GetPhysicalAdviceState().combatSet.clear();
        LessonTest::TearDown();
    }

    // Both players, the learner's main phase, and the tapper's ability: tap and one red, no target.
    void NewBoard()
    {
        ResetTableScene();
        PurgeRemovedActors();
        ClearPendingCards();
        ClearTableSelection();
        GetPhysicalAdviceState().combatSet.clear();
        ResetCardMoveState();
        SetCanPlayNowFlag(0);
        SetDraggedCard(nullptr);
        Human().m_ManaPool = ManaCost();
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(m_human, m_cpu);
        m_human->SetState(5);
        HandTurnTo(PLAYER_HUMAN);
        s_AttackStep = 0;
        CardAbility& ability = g_CardDefs[TAPPER].m_Ability;
        ability = CardAbility();
        ability.costType = COSTTYPE_TAP;
        ability.cost.At(1) = 1;
        ability.effect.effectType = EFFECT_DAMAGE;
    }

    static CardActor* Lands(int count, bool tapped)
    {
        CardActor* land = nullptr;
        for (int i = 0; i < count; ++i) {
            land = Card(MOUNTAIN, PLAYER_HUMAN);
            if (tapped)
                land->SetTapState(TAP_TAPPED);
        }
        UpdateHumanAvailableMana();
        return land;
    }

    static void Press(CardActor* card)
    {
        MouseState.x = static_cast<int>(card->m_Position.x) + 10;
        MouseState.y = static_cast<int>(card->m_Position.y) + 10;
        MouseState.leftClicked = 1;
        HandleCardTapPhysical(card);
    }

    Actor* m_human = nullptr;
    Actor* m_cpu = nullptr;
};

struct TapCase {
    const char* name;
    std::function<CardActor*(Actor* human)> setUp;
    int kind;              // the lesson box's kind afterwards (-100: none shown)
    const char16_t* text;  // its text, null to skip
    std::function<void(CardActor*)> check;
};

TEST_F(CardTapPhysicalTest, ATableOfPresses)
{
    const TapCase cases[] = {
        {"an affordable tap ability starts with the tap and asks for its mana",
         [](Actor*) {
             Lands(1, false);
             return Card(TAPPER, PLAYER_HUMAN);
         },
         -100, nullptr,
         [](CardActor* c) {
             EXPECT_EQ(GetTableSelection().pendingAbility, c);
             EXPECT_EQ(GetTableSelection().abilityStep, ABILITY_PAY);
             EXPECT_EQ(c->GetTapState(), TAP_TAPPED);
             EXPECT_FALSE(c->IsDragging());
         }},
        {"an ability without a mana cost is ready to activate",
         [](Actor*) {
             g_CardDefs[TAPPER].m_Ability.cost = ManaCost();
             return Card(TAPPER, PLAYER_HUMAN);
         },
         -100, nullptr, [](CardActor*) { EXPECT_EQ(GetTableSelection().abilityStep, ABILITY_ACTIVATE); }},
        {"an ability that needs a target waits for it untapped",
         [](Actor*) {
             Lands(1, false);
             g_CardDefs[TAPPER].m_Ability.effect.needsTarget = true;
             return Card(TAPPER, PLAYER_HUMAN);
         },
         -100, nullptr,
         [](CardActor* c) {
             EXPECT_EQ(GetTableSelection().abilityStep, ABILITY_CHOOSE_TARGET);
             EXPECT_EQ(c->GetTapState(), TAP_READY);
         }},
        {"an ability the lands cannot pay, pool empty",
         [](Actor*) { return Card(TAPPER, PLAYER_HUMAN); }, KIND_ABILITY_UNAFFORDABLE,
         u"PHYS_NotEnoughUntappedLand_ability",
         [](CardActor* c) {
             EXPECT_EQ(GetTableSelection().pendingAbility, nullptr);
             EXPECT_EQ(c->GetTapState(), TAP_READY);
             EXPECT_TRUE(WasSpoken(u"vo_phys\\adv_PayForAbility_CantAfford.wav"));
         }},
        {"an ability the lands cannot pay with mana tapped into the pool",
         [](Actor*) {
             CardActor* const land = Lands(1, true);
             land->SetManaReady(true);
             Human().m_ManaPool.At(1) = 1;
             g_CardDefs[TAPPER].m_Ability.cost.generic = 2;
             return Card(TAPPER, PLAYER_HUMAN);
         },
         KIND_ABILITY_UNAFFORDABLE, u"PHYS_NotEnoughUntappedLand_ability_Tapped",
         [](CardActor*) {
             EXPECT_EQ(Human().m_ManaPool.Total(), 0);
             EXPECT_TRUE(WasSpoken(u"vo_phys\\adv_PayForAbility_CantAfford_Tapped.wav"));
         }},
        {"a tapper put onto the table this turn",
         [](Actor*) {
             Lands(1, false);
             CardActor* const card = Card(TAPPER, PLAYER_HUMAN);
             card->SetTapState(TAP_NEW);
             return card;
         },
         KIND_PLAY_ERROR, u"PRE_PHYSDLG_ERROR_TapperWithSummoningSickness",
         [](CardActor* c) {
             const GUI_TextButton* const link = GetLessonBox()->FindExtraWindowByTag(2);
             ASSERT_NE(link, nullptr);
             EXPECT_EQ(link->GetResolvedText(), u"PHYSEXPL_LINK_ACTIVATEDABILITY");
             EXPECT_EQ(GetTableSelection().pendingAbility, nullptr);
             EXPECT_FALSE(c->IsDragging());
             EXPECT_TRUE(WasSpoken(u"vo_phys\\error_CantTapForAbility.wav"));
         }},
        {"a land's mana ability is the payment's, and a land on the table stays put",
         [](Actor*) { return Lands(1, false); }, -100, nullptr,
         [](CardActor* c) {
             EXPECT_EQ(GetTableSelection().pendingAbility, nullptr);
             EXPECT_EQ(c->GetTapState(), TAP_READY);
             EXPECT_FALSE(c->IsDragging());
         }},
        {"the untap step: a tapped card is untapped and the advice waits its reading time again",
         [](Actor* human) {
             human->SetState(1);
             GetCardMoveState().untapPromptUp = true;
             SetAdviceDelay(INITIAL_ADVICE_DELAY);
             plat::headless::AdvanceTime(1234);
             return Lands(1, true);
         },
         -100, nullptr,
         [](CardActor* c) {
             EXPECT_EQ(c->GetTapState(), TAP_READY);
             EXPECT_EQ(GetAdviceDelay(), GetAdviceDelayForLanguage(GetLanguageManager()->GetLanguageId()));
             EXPECT_NE(GetAdviceDelay(), INITIAL_ADVICE_DELAY);
             EXPECT_EQ(GetLessonTime(), plat::TimeGetTime());
         }},
        {"the untap step: an untapped card is the skipped-untap error",
         [](Actor* human) {
             human->SetState(1);
             GetCardMoveState().untapPromptUp = true;
             return Card(CREATURE, PLAYER_HUMAN);
         },
         KIND_SKIPPED_UNTAP, u"PHYSDLG_BASIC_SkippedUntapStep", nullptr},
        {"the untap step before its prompt: nothing",
         [](Actor* human) {
             human->SetState(1);
             return Lands(1, true);
         },
         -100, nullptr, [](CardActor* c) { EXPECT_EQ(c->GetTapState(), TAP_TAPPED); }},
        {"the draw step: a card on the table is the skipped-draw error",
         [](Actor* human) {
             human->SetState(2);
             return Card(CREATURE, PLAYER_HUMAN);
         },
         KIND_SKIPPED_DRAW, u"PHYSDLG_BASIC_SkippedDrawStep", nullptr},
        {"declaring attackers: a creature put down this turn is refused once",
         [](Actor* human) {
             human->SetState(7);
             ShowBox(49);
             CardActor* const card = Card(CREATURE, PLAYER_HUMAN);
             card->SetTapState(TAP_NEW);
             return card;
         },
         -100, nullptr,
         [](CardActor* c) {
             EXPECT_EQ(GetRefusedAttacker(), c);
             EXPECT_EQ(GetLessonBox(), nullptr);
             EXPECT_FALSE(c->IsDragging());
         }},
        {"declaring attackers: a creature that may not attack is refused",
         [](Actor* human) {
             human->SetState(7);
             CardActor* const card = Card(CREATURE, PLAYER_HUMAN);
             card->GetStats().cannotAttack = true;
             return card;
         },
         -100, nullptr, [](CardActor* c) { EXPECT_EQ(GetRefusedAttacker(), c); }},
        {"declaring attackers: a ready creature is no refusal",
         [](Actor* human) {
             human->SetState(7);
             return Card(CREATURE, PLAYER_HUMAN);
         },
         -100, nullptr, [](CardActor*) { EXPECT_EQ(GetRefusedAttacker(), nullptr); }},
        {"in the CPU's turn with the can-play-now flag an ability starts",
         [](Actor* human) {
             HandTurnTo(PLAYER_CPU);
             human->SetState(21);
             SetCanPlayNowFlag(1);
             Lands(1, false);
             return Card(TAPPER, PLAYER_HUMAN);
         },
         -100, nullptr,
         [](CardActor* c) {
             EXPECT_EQ(GetTableSelection().pendingAbility, c);
             EXPECT_EQ(GetTableSelection().abilityStep, ABILITY_PAY);
         }},
    };
    for (const TapCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClearHintPlayCounts();
        CardActor* const card = c.setUp(m_human);
        const int taps = CountEffectRequests(27);
        Press(card);
        EXPECT_EQ(ShownKind(), c.kind);
        if (c.text != nullptr) {
            EXPECT_EQ(ShownText(), c.text);
        }
        if (c.check)
            c.check(card);
        const bool untapped = c.kind == -100 && m_human->GetState() == 1 && card->GetTapState() == TAP_READY;
        EXPECT_EQ(CountEffectRequests(27) - taps, untapped ? 1 : 0);
        CloseLessonBox();
        DeleteLessonBox();
        g_CardDefs[TAPPER].m_Ability = CardAbility();
        NewBoard();
    }
}

TEST_F(CardTapPhysicalTest, ASecondPressOnAnUnaffordableAbilityKeepsItsBox)
{
    CardActor* const card = Card(TAPPER, PLAYER_HUMAN);
    Press(card);
    const Messagebox* const box = GetLessonBox();
    ASSERT_EQ(ShownKind(), KIND_ABILITY_UNAFFORDABLE);
    ClearHintPlayCounts();
    Press(card);
    EXPECT_EQ(GetLessonBox(), box);
    EXPECT_FALSE(WasSpoken(u"vo_phys\\adv_PayForAbility_CantAfford.wav"));
}

TEST_F(CardTapPhysicalTest, PickingUpACard)
{
    struct PickCase {
        const char* name;
        std::function<CardActor*(Actor* human)> setUp;
        bool pickedUp;
        int sortKey;  // checked when picked up; -1 to skip
    };
    const PickCase cases[] = {
        {"a card in the hand", [](Actor*) { return Card(CREATURE, PLAYER_HUMAN, true); }, true, -1},
        {"a creature on the table", [](Actor*) { return Card(CREATURE, PLAYER_HUMAN); }, true, -1},
        {"a CPU card", [](Actor*) { return Card(CREATURE, PLAYER_CPU, true); }, false, -1},
        {"a land on the table", [](Actor*) { return Card(MOUNTAIN, PLAYER_HUMAN); }, false, -1},
        {"a land lying where it was misplaced",
         [](Actor*) {
             CardActor* const land = Card(MOUNTAIN, PLAYER_HUMAN);
             SetCardBeingPaid(land);
             return land;
         },
         true, SORT_KEY_LAST},
        {"another card while a card is parked",
         [](Actor*) {
             SetUnaffordableCard(Card(CREATURE, PLAYER_HUMAN));
             return Card(CREATURE, PLAYER_HUMAN, true);
         },
         false, -1},
        {"the parked card itself",
         [](Actor*) {
             CardActor* const card = Card(CREATURE, PLAYER_HUMAN);
             SetUnaffordableCard(card);
             return card;
         },
         true, SORT_KEY_LAST},
        {"the turn's drawn card waiting on the pile",
         [](Actor*) {
             CardActor* const card = Card(CREATURE, PLAYER_HUMAN, true);
             GetTableFlow().cardDrawnByHand = card;
             return card;
         },
         true, -1},
        {"a card in the hand while the drawn card waits",
         [](Actor*) {
             GetTableFlow().cardDrawnByHand = Card(CREATURE, PLAYER_HUMAN, true);
             return Card(CREATURE, PLAYER_HUMAN, true);
         },
         false, -1},
        {"a creature outside the combat in the combat damage step",
         [](Actor* human) {
             human->SetState(13);
             return Card(CREATURE, PLAYER_HUMAN);
         },
         false, -1},
        {"a creature of the combat in the combat damage step",
         [](Actor* human) {
             human->SetState(13);
             CardActor* const card = Card(CREATURE, PLAYER_HUMAN);
             GetPhysicalAdviceState().combatSet.insert(card);
             return card;
         },
         true, -1},
        {"the creature that survived its fight",
         [](Actor*) {
             CardActor* const card = Card(CREATURE, PLAYER_HUMAN);
             GetCardMoveState().survivingCreature = card;
             return card;
         },
         false, -1},
        {"any card while an attacker is refused",
         [](Actor*) {
             SetRefusedAttacker(Card(CREATURE, PLAYER_HUMAN));
             return Card(CREATURE, PLAYER_HUMAN, true);
         },
         false, -1},
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(c.name);
        CardActor* const card = c.setUp(m_human);
        Press(card);
        EXPECT_EQ(card->IsDragging(), c.pickedUp);
        EXPECT_EQ(GetDraggedCard() == card, c.pickedUp);
        if (c.pickedUp) {
            int offsetX = 0;
            int offsetY = 0;
            card->GetDragOffset(offsetX, offsetY);
            EXPECT_EQ(card->m_Position.x, static_cast<float>(MouseState.x - offsetX));
            if (c.sortKey != -1) {
                EXPECT_EQ(card->GetSortKey(), c.sortKey);
            }
        }
        CloseLessonBox();
        DeleteLessonBox();
        NewBoard();
    }
}

TEST_F(CardTapPhysicalTest, OnlineAPressOnlyAnswersACardChoice)
{
    s_GameMode = 3;
    CardActor* const card = Card(CREATURE, PLAYER_HUMAN, true);
    SpellStack& stack = GetSpellStack();
    Press(card);
    EXPECT_EQ(stack.m_PromptCard, nullptr);
    EXPECT_FALSE(card->IsDragging());
    stack.m_ResolutionPaused = true;
    stack.m_PausedWord = 1;
    Press(card);
    EXPECT_EQ(stack.m_PromptCard, card);
    EXPECT_FALSE(card->IsDragging());
    stack.m_ResolutionPaused = false;
    stack.m_PausedWord = 0;
    stack.m_PromptCard = nullptr;
}

} // namespace
