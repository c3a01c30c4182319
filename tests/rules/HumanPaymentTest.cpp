#include "engine/core/PrivateHeap.h"
#include "engine/core/RegistrySettings.h"
#include "engine/core/StringTable.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TurnFlags.h"
#include "lessons/LessonFlow.h"
#include "rules/HumanPayment.h"
#include "rules/ManaPool.h"
#include "rules/SelectedCard.h"
#include "rules/TableSelection.h"
#include "tests/TestSupport.h"
#include "tests/rules/RulesFixture.h"

namespace {

const ManaCost RED(0, 1, 0, 0, 0, 0);
const ManaCost GREEN(0, 0, 1, 0, 0, 0);

class HumanPaymentTest : public rulestest::RulesTest {
protected:
    void SetUp() override
    {
        RulesTest::SetUp();
        SetPlayerActors(m_human, m_cpu);
        // The human acts in its main phase; the CPU waits for its turn.
        m_human->SetState(5);
        m_cpu->SetState(3);
        MouseState = MouseRecord();
    }

    void TearDown() override
    {
        SetPlayerActors(nullptr, nullptr);
        MouseState = MouseRecord();
        RulesTest::TearDown();
    }

    // A click on the card this frame.
    static void Click(CardActor& card)
    {
        GetTableSelection().selectedCard = &card;
        MouseState.leftClicked = 1;
    }

    CARD& Ability(int costType, int effectType, bool needsTarget, ManaCost cost = ManaCost())
    {
        CARD& card = Creature(1, 1);
        card.m_Ability.costType = costType;
        card.m_Ability.cost = cost;
        card.m_Ability.effect.effectType = effectType;
        card.m_Ability.effect.needsTarget = needsTarget;
        card.m_Ability.effect.damageAmt = 1;
        card.m_Ability.target.state = INPLAY;
        card.m_Ability.target.owner = OWNER_EITHER;
        card.m_Ability.target.type = TT_CREATURE | TT_LAND;
        card.m_Ability.target.color = ManaCost(1, 1, 1, 1, 1, 1);
        return card;
    }
};

TEST_F(HumanPaymentTest, ManaClickTapsIntoThePoolOnlyWhenPayingIsAllowed)
{
    struct Case {
        const char* name;
        int mode;
        bool clickPending;
        int abilityStep;
        bool canPlayNow;
        bool tapped;
        bool paying = false;
    };
    const Case cases[] = {
        {"online game mode 3 while a payment runs", 3, true, ABILITY_IDLE, false, true, true},
        {"online game mode 3 with nothing to pay", 3, true, ABILITY_IDLE, false, false},
        {"physical, play-now flag", 2, true, ABILITY_IDLE, true, true},
        {"physical, no leave to play", 1, true, ABILITY_IDLE, false, false},
        {"online game mode 4", 4, true, ABILITY_IDLE, false, true},
        {"no click this frame", 2, false, ABILITY_IDLE, true, false},
        {"choosing a target", 2, true, ABILITY_CHOOSE_TARGET, true, false},
    };
    for (const Case& c : cases) {
        SetMode(c.mode);
        ResetRulesState();
        CardActor& land = OnTable(Land(RED));
        GetTableSelection().abilityStep = c.abilityStep;
        SetCanPlayNowFlag(c.canPlayNow ? 1 : 0);
        GetPaymentState().paying = c.paying;
        Click(land);
        MouseState.leftClicked = c.clickPending ? 1 : 0;
        ManaCost out;
        EXPECT_FALSE(HandleManaClick(out)) << c.name;
        EXPECT_EQ(land.GetTapState() == TAP_TAPPED, c.tapped) << c.name;
        EXPECT_EQ(Human().m_ManaPool, c.tapped ? RED : ManaCost()) << c.name;
        EXPECT_EQ(MouseState.leftClicked == 0, c.tapped || !c.clickPending) << c.name;
        RemoveActor(&land);
        PurgeRemovedActors();
    }
}

TEST_F(HumanPaymentTest, TappedSourceClickedAgainGivesItsManaBack)
{
    SetCanPlayNowFlag(1);
    CardActor& land = OnTable(Land(GREEN));
    ManaCost out;
    Click(land);
    HandleManaClick(out);
    ASSERT_EQ(Human().m_ManaPool, GREEN);
    Click(land);
    HandleManaClick(out);
    EXPECT_EQ(land.GetTapState(), TAP_READY);
    EXPECT_EQ(Human().m_ManaPool.Total(), 0);

    // Mana already spent cannot be given back: the land stays tapped.
    Click(land);
    HandleManaClick(out);
    Human().m_ManaPool.Clear();
    Click(land);
    HandleManaClick(out);
    EXPECT_EQ(land.GetTapState(), TAP_TAPPED);
}

TEST_F(HumanPaymentTest, OnlineTapsAreListedAndTheLastOneCanBeUndone)
{
    SetMode(3);
    GetTableSelection().spellPayment = true;
    CardActor& first = OnTable(Land(RED));
    CardActor& second = OnTable(Land(GREEN));
    ManaCost out;
    Click(first);
    HandleManaClick(out);
    Click(second);
    HandleManaClick(out);
    EXPECT_EQ(GetPaymentState().tappedLands[0], &first);
    EXPECT_EQ(GetPaymentState().tappedLands[1], &second);
    EXPECT_EQ(Human().m_ManaPool, ManaCost(0, 1, 1, 0, 0, 0));

    // Only the last tapped land comes back.
    Click(first);
    HandleManaClick(out);
    EXPECT_EQ(first.GetTapState(), TAP_TAPPED);
    Click(second);
    HandleManaClick(out);
    EXPECT_EQ(second.GetTapState(), TAP_READY);
    EXPECT_EQ(Human().m_ManaPool, RED);
    EXPECT_EQ(GetPaymentState().tappedLands[1], nullptr);
}

TEST_F(HumanPaymentTest, XCollectionTakesTheProductionOutOfThePool)
{
    SetCanPlayNowFlag(1);
    CardActor& land = OnTable(Land(RED));
    GetTableSelection().xCostCollecting = true;
    ManaCost out;
    Click(land);
    EXPECT_TRUE(HandleManaClick(out));
    EXPECT_EQ(out, RED);
    EXPECT_EQ(Human().m_ManaPool.Total(), 0);
}

TEST_F(HumanPaymentTest, TapAllowedOnlineFollowsTheDriversGates)
{
    SetMode(3);
    struct Case {
        const char* name;
        bool freePlay, humansTurn, combat;
        int humanState, cpuState;
        bool allowed;
    };
    const Case cases[] = {
        {"plain", false, false, false, 5, 5, true},
        {"cpu drawing on the human's turn", false, true, false, 5, 20, false},
        {"cpu drawing on its own turn", false, false, false, 5, 20, true},
        {"combat declared", false, false, true, 7, 5, false},
        {"free play, human waiting", true, false, false, 22, 5, false},
        {"free play, human acting", true, false, false, 5, 5, true},
    };
    for (const Case& c : cases) {
        SetFreePlayFlag(c.freePlay ? 1 : 0);
        HandTurnTo(c.humansTurn ? PLAYER_HUMAN : PLAYER_CPU);
        SetCombatFlag(c.combat);
        m_human->SetState(c.humanState);
        m_cpu->SetState(c.cpuState);
        EXPECT_EQ(CanTapForManaNow(), c.allowed) << c.name;
    }
    ClearTurn();

    SetMode(1);
    SetFreePlayFlag(0);
    EXPECT_FALSE(CanPayNow(5));
    SetFreePlayFlag(1);
    EXPECT_TRUE(CanPayNow(5));
    EXPECT_FALSE(CanPayNow(4));
}

TEST_F(HumanPaymentTest, CancelsPutTheCardBackAndReturnThePaidMana)
{
    SetMode(3);
    CardActor& instant = OnTable(Define(CT_INSTANT, ManaCost(0, 2, 0, 0, 0, 0)));
    instant.SetTapState(TAP_TAPPED);
    instant.GetPaidMana() = RED;
    GetPaymentState().paidSoFar = RED;
    GetPaymentState().paying = true;
    TableSelection& selection = GetTableSelection();
    selection.pendingSpell = &instant;
    selection.spellPayment = true;
    CancelPaymentOnCard(&instant);
    EXPECT_TRUE(instant.IsHeld());
    EXPECT_EQ(instant.GetTapState(), TAP_OFF_TABLE);
    EXPECT_EQ(instant.GetPaidMana().Total(), 0);
    EXPECT_EQ(selection.pendingSpell, nullptr);
    EXPECT_FALSE(selection.spellPayment);
    EXPECT_FALSE(GetPaymentState().paying);
    EXPECT_EQ(Human().m_ManaPool, RED);

    // A card already paid for stays where it is.
    instant.m_PaidState = 1;
    instant.SetHeld(false);
    CancelPaymentOnCard(&instant);
    EXPECT_FALSE(instant.IsHeld());

    CardActor& tapper = OnTable(Ability(COSTTYPE_TAP, EFFECT_DAMAGE, true));
    tapper.SetTapState(TAP_TAPPED);
    tapper.SetChosenTarget(&instant);
    selection.pendingAbility = &tapper;
    selection.abilityStep = ABILITY_PAY;
    CancelPayment(tapper);
    EXPECT_EQ(tapper.GetTapState(), TAP_READY);
    EXPECT_EQ(tapper.GetChosenTarget(), nullptr);
    EXPECT_EQ(selection.pendingAbility, nullptr);
    EXPECT_EQ(selection.abilityStep, ABILITY_IDLE);
}

TEST_F(HumanPaymentTest, SelectedAbilityWalksTargetPaymentAndActivation)
{
    SetCanPlayNowFlag(1);
    CardActor& shooter = OnTable(Ability(COSTTYPE_TAP, EFFECT_DAMAGE, true));
    CardActor& victim = OnTable(Creature(1, 1), PLAYER_CPU);
    TableSelection& selection = GetTableSelection();
    Click(shooter);
    ProcessSelectedCard();
    EXPECT_EQ(selection.pendingAbility, &shooter);
    EXPECT_EQ(selection.abilityStep, ABILITY_CHOOSE_TARGET);
    Click(victim);
    ProcessSelectedCard();
    EXPECT_EQ(shooter.GetChosenTarget(), &victim);
    EXPECT_EQ(selection.abilityStep, ABILITY_PAY);
    ProcessSelectedCard();
    EXPECT_EQ(shooter.GetTapState(), TAP_TAPPED);
    EXPECT_EQ(selection.abilityStep, ABILITY_ACTIVATE);
    ProcessSelectedCard();
    EXPECT_EQ(selection.abilityStep, ABILITY_IDLE);
    EXPECT_EQ(selection.pendingAbility, nullptr);
    EXPECT_EQ(GetSpellStack().GetCount(), 1);

    // Tapped now: a second click starts nothing.
    Click(shooter);
    ProcessSelectedCard();
    EXPECT_EQ(selection.pendingAbility, nullptr);
}

TEST_F(HumanPaymentTest, SacrificedTargetLeavesOnlyAtActivation)
{
    SetCanPlayNowFlag(1);
    CardActor& source = OnTable(Ability(COSTTYPE_SACTARGET, EFFECT_DAMAGE, true));
    CardActor& land = OnTable(Land(RED));
    TableSelection& selection = GetTableSelection();
    Click(source);
    ProcessSelectedCard();
    Click(land);
    ProcessSelectedCard();
    ASSERT_EQ(selection.abilityStep, ABILITY_PAY);
    EXPECT_TRUE(land.IsNotLeaving());

    // Cancelled between choice and payment: the land is still in play.
    CancelPayment(source);
    EXPECT_TRUE(land.IsNotLeaving());
    EXPECT_EQ(land.GetTapState(), TAP_READY);

    Click(source);
    ProcessSelectedCard();
    Click(land);
    ProcessSelectedCard();
    ProcessSelectedCard();
    ProcessSelectedCard();
    EXPECT_FALSE(land.IsNotLeaving());
    EXPECT_EQ(source.GetChosenTarget(), nullptr);
}

TEST_F(HumanPaymentTest, InstantInHandIsPaidAndCastOnlyWhenAffordable)
{
    SetMode(4);
    CARD& bolt = Define(CT_INSTANT, RED);
    bolt.m_SpellEffect.effectType = EFFECT_MODLIFE;
    bolt.m_SpellEffect.modLifeAmt = 2;
    CardActor& instant = InHand(bolt);
    TableSelection& selection = GetTableSelection();
    Click(instant);
    ProcessSelectedCard();
    EXPECT_EQ(selection.pendingSpell, nullptr) << "nothing to pay with";

    CardActor& land = OnTable(Land(RED));
    Click(instant);
    ProcessSelectedCard();
    ASSERT_EQ(selection.pendingSpell, &instant);
    EXPECT_TRUE(selection.spellPayment);
    ProcessSelectedCard();
    EXPECT_TRUE(selection.spellPayment) << "the pool is still empty";
    Click(land);
    ManaCost out;
    HandleManaClick(out);
    ProcessSelectedCard();
    EXPECT_FALSE(selection.spellPayment);
    EXPECT_EQ(selection.pendingSpell, nullptr);
    EXPECT_FALSE(instant.IsHeld());
    EXPECT_EQ(GetSpellStack().GetCount(), 1);
    EXPECT_EQ(Human().m_ManaPool.Total(), 0);
}

TEST_F(HumanPaymentTest, XCostCollectsUntilConfirmed)
{
    CARD& fireball = Define(CT_SORCERY, RED);
    CardActor& spell = InHand(fireball);
    EXPECT_FALSE(PayXCost(&spell)) << "not an X spell";

    fireball.m_IsXSpell = true;
    CreatePrivateHeap();
    ASSERT_TRUE(AddString(u"ONL_PAY_X_COST", u"Tap mana for X."));
    SetCanPlayNowFlag(1);
    CardActor& land = OnTable(Land(RED));
    GetTableSelection().selectedCard = &land;
    MouseState.leftClicked = 1;
    EXPECT_TRUE(PayXCost(&spell));
    EXPECT_EQ(spell.GetPaidMana(), RED);
    // The tapped land clicked again takes its mana back out of X.
    MouseState.leftClicked = 1;
    EXPECT_TRUE(PayXCost(&spell));
    EXPECT_EQ(spell.GetPaidMana().Total(), 0);
    ConfirmXCostPrompt();
    EXPECT_FALSE(PayXCost(&spell));
    EXPECT_FALSE(GetTableSelection().xCostCollecting);

    // Without a prompt text the collection could never be ended: it ends at once.
    ClearStringTables();
    DestroyPrivateHeap();
    EXPECT_FALSE(PayXCost(&spell));
}

TEST_F(HumanPaymentTest, XCostOnlineTakesTheClickedPoolSymbol)
{
    SetMode(3);
    CreatePrivateHeap();
    ASSERT_TRUE(AddString(u"ONL_PAY_X_COST", u"Tap mana for X."));
    const auto savedZones = GetGameDisplay()->m_Zones;
    // The human's status panel: symbol column 160..193, rows of 10 pixels (row 2 black at y 20..29).
    GetGameDisplay()->m_Zones[7].rect = RasterRect{100, 0, 200, 60};
    CARD& drain = Define(CT_SORCERY, ManaCost(0, 0, 0, 0, 1, 0));
    drain.m_IsXSpell = true;
    struct Case {
        const char* name;
        int x, y;
        ManaCost pool, paid, left;
    };
    const ManaCost black(0, 0, 0, 0, 1, 0);
    const Case cases[] = {
        {"black row with black in the pool", 170, 25, ManaCost(0, 0, 0, 0, 2, 0), black, black},
        {"black row without black", 170, 25, ManaCost(0, 1, 0, 0, 0, 0), ManaCost(), ManaCost(0, 1, 0, 0, 0, 0)},
        {"beside the symbols", 150, 25, black, ManaCost(), black},
    };
    for (const Case& c : cases) {
        CardActor& spell = InHand(drain);
        GetTableSelection().selectedCard = nullptr;
        Human().m_ManaPool = c.pool;
        MouseState.x = c.x;
        MouseState.y = c.y;
        MouseState.leftClicked = 1;
        EXPECT_TRUE(PayXCost(&spell)) << c.name;
        EXPECT_EQ(spell.GetPaidMana(), c.paid) << c.name;
        EXPECT_EQ(Human().m_ManaPool, c.left) << c.name;
    }
    MouseState.leftClicked = 0;
    GetGameDisplay()->m_Zones = savedZones;
    ClearStringTables();
    DestroyPrivateHeap();
}

// The learner pays the printed cost first and then collects X; the CPU books X alone. Either way the spell
// counts X, not X plus the coloured mana of its cost.
TEST_F(HumanPaymentTest, XSpellsCountXAloneWhoeverCastsThem)
{
    SetMode(4);
    CreatePrivateHeap();
    ASSERT_TRUE(AddString(u"ONL_PAY_X_COST", u"Tap mana for X."));
    const auto savedZones = GetGameDisplay()->m_Zones;
    // The human's status panel: symbol column 160..193, rows of 10 pixels (red row 3, green row 4).
    GetGameDisplay()->m_Zones[7].rect = RasterRect{100, 0, 200, 60};
    struct Case {
        const char* name;
        int caster;
        bool damage;
    };
    const Case cases[] = {
        {"learner, 2 damage at the CPU", PLAYER_HUMAN, true},
        {"learner, 2 life", PLAYER_HUMAN, false},
        {"CPU, 2 damage at the learner", PLAYER_CPU, true},
        {"CPU, 2 life", PLAYER_CPU, false},
    };
    for (const Case& c : cases) {
        Human().SetLife(20, true);
        Cpu().SetLife(20, true);
        CARD& definition = Define(CT_SORCERY, c.damage ? RED : GREEN);
        definition.m_IsXSpell = true;
        definition.m_SpellEffect.effectType = c.damage ? EFFECT_DAMAGE : EFFECT_MODLIFE;
        definition.m_SpellEffect.damageAmt = 1;
        definition.m_SpellEffect.modLifeAmt = 1;
        definition.m_SpellTarget.caster = !c.damage;
        CardActor& card = InHand(definition, c.caster);
        if (c.caster == PLAYER_HUMAN) {
            Human().m_ManaPool = c.damage ? ManaCost(0, 3, 0, 0, 0, 0) : ManaCost(0, 0, 3, 0, 0, 0);
            ASSERT_TRUE(BeginManaPayment(card, false, -1)) << c.name;
            for (int i = 0; i < 2; ++i) {
                MouseState.x = 170;
                MouseState.y = c.damage ? 35 : 45;
                MouseState.leftClicked = 1;
                EXPECT_TRUE(PayXCost(&card)) << c.name;
            }
            MouseState.leftClicked = 0;
            ConfirmXCostPrompt();
            EXPECT_FALSE(PayXCost(&card)) << c.name;
            EXPECT_EQ(Human().m_ManaPool.Total(), 0) << c.name;
        } else {
            card.GetPaidMana() = ManaCost(2, 0, 0, 0, 0, 0);
        }
        Actor* const opponent = c.caster == PLAYER_HUMAN ? m_cpu : m_human;
        GetSpellStack().CastSpell(&card, nullptr, c.damage ? opponent : nullptr, false, false);
        GetSpellStack().m_State = STACK_RESOLVE;
        GetSpellStack().Resolve();
        const PlayerState& casterRecord = c.caster == PLAYER_HUMAN ? Human() : Cpu();
        const PlayerState& opponentRecord = c.caster == PLAYER_HUMAN ? Cpu() : Human();
        EXPECT_EQ(opponentRecord.GetLife(), c.damage ? 18 : 20) << c.name;
        EXPECT_EQ(casterRecord.GetLife(), c.damage ? 20 : 22) << c.name;
    }
    GetGameDisplay()->m_Zones = savedZones;
    ClearStringTables();
    DestroyPrivateHeap();
}

TEST(GamesPlayedTest, CountsCompletedAndWonGames)
{
    const test::ScopedRegistry registry;
    DeleteRegistrySettings();
    RegistrySettings& settings = *GetRegistrySettings();
    CountGamePlayed(false);
    EXPECT_EQ(settings.GetInt(u"gamescompleted"), 1);
    EXPECT_EQ(settings.GetInt(u"gameswon"), 0);
    CountGamePlayed(true);
    EXPECT_EQ(settings.GetInt(u"gamescompleted"), 2);
    EXPECT_EQ(settings.GetInt(u"gameswon"), 1);
    DeleteRegistrySettings();
}

} // namespace
