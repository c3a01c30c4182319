#include "cards/CardIds.h"
#include "rules/BoardQueries.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "tests/rules/RulesFixture.h"

namespace {

using rulestest::RulesTest;

TEST(ManaCostTest, CoverageFilterNegationAndDivision)
{
    struct Cover {
        ManaCost cost, supply;
        bool covered;
    };
    const Cover covers[] = {
        {ManaCost(2, 1, 0, 0, 0, 0), ManaCost(0, 3, 0, 0, 0, 0), false},  // coloured never pays generic
        {ManaCost(2, 1, 0, 0, 0, 0), ManaCost(2, 1, 0, 0, 0, 0), true},
        {ManaCost(0, 0, 1, 0, 0, 0), ManaCost(5, 0, 0, 0, 0, 0), false},  // generic never pays a colour
        {ManaCost(), ManaCost(), true},
        {ManaCost(0, 0, 0, 0, 1, 1), ManaCost(0, 0, 0, 0, 1, 0), false},
    };
    for (const Cover& c : covers)
        EXPECT_EQ(IsCostCoveredBy(c.cost, c.supply), c.covered);

    EXPECT_EQ(KeepCoveredColours(ManaCost(0, 0, 1, 0, 0, 0), ManaCost(1, 0, 0, 0, 0, 0)).Total(), 0);
    EXPECT_EQ(KeepCoveredColours(ManaCost(3, 1, 2, 0, 0, 0), ManaCost(1, 0, 1, 0, 0, 0)), ManaCost(3, 0, 2, 0, 0, 0));
    const ManaCost value(1, 0, 2, 0, 0, 0);
    EXPECT_EQ(value.Negated(), ManaCost(-1, 0, -2, 0, 0, 0));
    EXPECT_EQ(ManaCost(value).Add(value.Negated()), ManaCost());
    ManaCost cleared(1, 1, 1, 1, 1, 1);
    ManaCost::ClearIfSet(&cleared);
    ManaCost::ClearIfSet(nullptr);
    EXPECT_EQ(cleared.Total(), 0);

    struct Division {
        int a, b, result;
    };
    const Division divisions[] = {{5, 2, 3}, {4, 2, 2}, {0, 3, 0}, {7, 1, 7}, {5, 0, 0}, {5, -2, 0}, {1, 5, 1}};
    for (const Division& d : divisions)
        EXPECT_EQ(DivideRoundUp(d.a, d.b), d.result) << d.a << "/" << d.b;
}

TEST(PlayerStateTest, DamagePreventionAndLossStates)
{
    struct Case {
        int amount, shield;
        bool usePrevention;
        int dealt, shieldAfter, life;
    };
    const Case cases[] = {
        {3, 5, true, 0, 2, 20},  {3, 2, true, 1, 0, 19}, {3, 2, false, 3, 2, 17},
        {0, 4, true, 0, 4, 20},  {-4, 0, true, 0, 0, 20}, {-4, 0, false, 0, 0, 20},
    };
    for (const Case& c : cases) {
        PlayerState record;
        record.SetLife(STARTING_LIFE, true);
        record.m_PreventDamage = c.shield;
        EXPECT_EQ(record.TakeDamage(c.amount, c.usePrevention), c.dealt);
        EXPECT_EQ(record.m_PreventDamage, c.shieldAfter);
        EXPECT_EQ(record.GetLife(), c.life);
        EXPECT_EQ(record.m_PreviousLife, STARTING_LIFE);  // ChangeLife(0) still copies
    }

    PlayerState record;
    record.SetLife(1, false);
    record.ChangeLife(-1);
    EXPECT_EQ(record.m_LossState, LOSS_LIFE);
    record.ChangeLife(5);
    EXPECT_TRUE(record.HasLost());
    record.SetDrewFromEmptyLibrary(true);
    EXPECT_EQ(record.m_LossState, LOSS_LIFE);
    record.SetLife(0, true);
    EXPECT_FALSE(record.HasLost());
    record.SetDrewFromEmptyLibrary(true);
    EXPECT_EQ(record.m_LossState, LOSS_EMPTY_LIBRARY);
    record.ResetCounters();
    EXPECT_EQ(record.GetLife(), 0);
    EXPECT_EQ(record.m_LossState, LOSS_NONE);
}

TEST_F(RulesTest, PhysicalPaymentVerdicts)
{
    CardActor& card = InHand(Creature(2, 2, ManaCost(1, 0, 1, 0, 0, 0)));
    struct Case {
        ManaCost pool;
        int verdict;
    };
    const Case cases[] = {
        {ManaCost(), PAY_NOTHING_YET},
        {ManaCost(0, 0, 1, 0, 0, 0), PAY_TOO_LITTLE},
        {ManaCost(0, 0, 2, 0, 0, 0), PAY_EXACT},
        {ManaCost(0, 1, 1, 0, 0, 0), PAY_EXACT},
        {ManaCost(1, 0, 1, 0, 0, 0), PAY_EXACT},
        {ManaCost(0, 2, 0, 0, 0, 0), PAY_WRONG_COLOURS},
        {ManaCost(0, 0, 3, 0, 0, 0), PAY_TOO_MUCH},
    };
    for (const Case& c : cases) {
        Human().m_ManaPool = c.pool;
        EXPECT_EQ(CheckManaPaymentPhysical(card, false), c.verdict) << c.pool.Total();
    }
    CardActor& generic = InHand(Define(CT_ARTIFACT, ManaCost(2, 0, 0, 0, 0, 0)));
    const Case genericCases[] = {{ManaCost(0, 0, 0, 2, 0, 0), PAY_EXACT},
                                 {ManaCost(0, 1, 0, 0, 0, 0), PAY_TOO_LITTLE},
                                 {ManaCost(0, 1, 0, 0, 0, 2), PAY_TOO_MUCH}};
    for (const Case& c : genericCases) {
        Human().m_ManaPool = c.pool;
        EXPECT_EQ(CheckManaPaymentPhysical(generic, false), c.verdict);
    }
    // No shipped card costs two colours, but the verdict must still count each colour once.
    CardActor& twoColours = InHand(Define(CT_ARTIFACT, ManaCost(1, 1, 1, 0, 0, 0)));
    const Case twoColourCases[] = {{ManaCost(0, 1, 1, 0, 1, 0), PAY_EXACT},
                                   {ManaCost(0, 2, 1, 0, 0, 0), PAY_EXACT},
                                   {ManaCost(0, 1, 1, 0, 0, 0), PAY_TOO_LITTLE},
                                   {ManaCost(0, 1, 1, 0, 2, 0), PAY_TOO_MUCH},
                                   {ManaCost(0, 1, 0, 0, 2, 0), PAY_WRONG_COLOURS}};
    for (const Case& c : twoColourCases) {
        Human().m_ManaPool = c.pool;
        EXPECT_EQ(CheckManaPaymentPhysical(twoColours, false), c.verdict)
            << c.pool.red << c.pool.green << c.pool.black;
    }
    CardActor& free = InHand(Define(CT_ARTIFACT));
    Human().m_ManaPool = ManaCost();
    EXPECT_EQ(CheckManaPaymentPhysical(free, false), PAY_EXACT);
    Human().m_ManaPool = ManaCost(0, 1, 0, 0, 0, 0);
    EXPECT_EQ(CheckManaPaymentPhysical(free, false), PAY_TOO_MUCH);
}

TEST_F(RulesTest, PoolPaymentIsAllOrNothing)
{
    ManaCost pool(1, 0, 0, 0, 1, 0);
    EXPECT_FALSE(PayFromPool(ManaCost(2, 0, 0, 0, 1, 0), pool));
    EXPECT_EQ(pool, ManaCost(1, 0, 0, 0, 1, 0));
    EXPECT_TRUE(PayFromPool(ManaCost(1, 0, 0, 0, 1, 0), pool));
    EXPECT_EQ(pool.Total(), 0);

    Human().m_ManaPool = ManaCost(0, 2, 1, 0, 0, 0);
    EXPECT_FALSE(IsPoolUnambiguous(PLAYER_HUMAN));
    Human().m_ManaPool = ManaCost(2, 0, 3, 0, 0, 0);
    EXPECT_TRUE(IsPoolUnambiguous(PLAYER_HUMAN));
    Human().m_ManaPool = ManaCost();
    EXPECT_FALSE(IsPoolUnambiguous(PLAYER_HUMAN));
}

TEST_F(RulesTest, ManaBurnNeedsASourceAndUsesPrevention)
{
    const CARD& forest = Land(ManaCost(0, 0, 1, 0, 0, 0));
    // No tapped source accounts for the pool: it is emptied without damage.
    Human().m_ManaPool = ManaCost(0, 0, 1, 0, 0, 0);
    ApplyManaBurn(PLAYER_HUMAN);
    EXPECT_EQ(Human().m_ManaPool.Total(), 0);
    EXPECT_EQ(Human().GetLife(), 20);

    CardActor& a = OnTable(forest);
    CardActor& b = OnTable(forest);
    a.SetTapState(TAP_TAPPED);
    b.SetTapState(TAP_TAPPED);
    Human().m_ManaPool = ManaCost(0, 0, 2, 0, 0, 0);
    Human().m_PreventDamage = 1;
    ApplyManaBurn(PLAYER_HUMAN);
    EXPECT_EQ(Human().GetLife(), 19);
    EXPECT_EQ(Human().m_PreventDamage, 0);
    EXPECT_EQ(Human().m_ManaPool.Total(), 0);

    // The CPU never burns; an empty pool changes nothing.
    Cpu().m_ManaPool = ManaCost(0, 3, 0, 0, 0, 0);
    ApplyManaBurn(PLAYER_CPU);
    EXPECT_EQ(Cpu().GetLife(), 20);
    ApplyManaBurn(PLAYER_HUMAN);
    EXPECT_EQ(Human().GetLife(), 19);
}

TEST_F(RulesTest, OnlineGenericPaymentTakesClickedSymbolThenUnambiguousRest)
{
    SetMode(3);
    CardActor& card = InHand(Define(CT_ARTIFACT, ManaCost(2, 0, 0, 0, 0, 0)));
    Human().m_ManaPool = ManaCost(0, 0, 3, 0, 0, 0);
    card.m_GenericOwed = -1;
    EXPECT_TRUE(BeginManaPayment(card, false, 4));  // row 4: green
    EXPECT_EQ(Human().m_ManaPool, ManaCost(0, 0, 1, 0, 0, 0));
    EXPECT_FALSE(GetPaymentState().paying);

    // Coloured cost paid automatically, generic from an unambiguous pool.
    CardActor& creature = InHand(Creature(1, 1, ManaCost(1, 1, 0, 0, 0, 0)));
    Human().m_ManaPool = ManaCost(0, 3, 0, 0, 0, 0);
    creature.m_GenericOwed = -1;
    EXPECT_TRUE(BeginManaPayment(creature, false));
    EXPECT_EQ(Human().m_ManaPool, ManaCost(0, 1, 0, 0, 0, 0));

    // Not enough: the payment waits.
    CardActor& dear = InHand(Creature(1, 1, ManaCost(0, 0, 0, 0, 2, 0)));
    Human().m_ManaPool = ManaCost(0, 0, 0, 0, 1, 0);
    dear.m_GenericOwed = -1;
    EXPECT_FALSE(BeginManaPayment(dear, false));
    EXPECT_TRUE(GetPaymentState().paying);
}

TEST_F(RulesTest, PoolSymbolRows)
{
    SetMode(3);
    // Panel 100..200 x 0..60: symbol column 160..193 exclusive, rows of 10 pixels.
    EXPECT_EQ(GetManaPoolSymbolAt(170, 25, 100, 0, 200, 60, true, false), 2);
    EXPECT_EQ(GetManaPoolSymbolAt(170, 25, 100, 0, 200, 60, true, true), 12);
    EXPECT_EQ(GetManaPoolSymbolAt(170, 25, 100, 0, 200, 60, false, false), -1);
    EXPECT_EQ(GetManaPoolSymbolAt(150, 25, 100, 0, 200, 60, true, false), -1);
    EXPECT_EQ(GetManaPoolSymbolAt(170, 2, 100, 0, 200, 3, true, false), -1);  // rows below 1 pixel
}

TEST_F(RulesTest, AvailableManaAndAffordability)
{
    const CARD& mountain = Land(ManaCost(0, 1, 0, 0, 0, 0));
    OnTable(mountain);
    OnTable(mountain);
    CardActor& tapped = OnTable(mountain);
    tapped.SetTapState(TAP_TAPPED);
    UpdateHumanAvailableMana();
    EXPECT_EQ(GetAvailableMana(PLAYER_HUMAN), ManaCost(0, 2, 0, 0, 0, 0));
    EXPECT_EQ(Human().m_LandColours, ManaCost(0, 3, 0, 0, 0, 0));
    EXPECT_TRUE(CanPay(PLAYER_HUMAN, ManaCost(1, 1, 0, 0, 0, 0), true));
    EXPECT_FALSE(CanPay(PLAYER_HUMAN, ManaCost(2, 1, 0, 0, 0, 0), true));
    EXPECT_TRUE(CanPay(PLAYER_HUMAN, ManaCost(), true));
    EXPECT_FALSE(CanAffordCard(nullptr, false, true));
    CardActor& hand = InHand(Creature(2, 2, ManaCost(1, 1, 0, 0, 0, 0)));
    EXPECT_TRUE(CanAffordCard(&hand, false, true));
    EXPECT_EQ(FindCardActorByState(PLAYER_HUMAN), 1);
    EXPECT_EQ(FindCardActor(0, PLAYER_HUMAN, nullptr), &hand);
    EXPECT_EQ(FindCardActor(0, PLAYER_HUMAN, &hand), nullptr);
    EXPECT_EQ(FindCardActorByState(PLAYER_CPU), 0);
}

TEST_F(RulesTest, BoardQueriesKeepTheFirstOfATieAndLumartonAlternates)
{
    CardActor& a = OnTable(Creature(3, 3));
    CardActor& b = OnTable(Creature(3, 3));
    a.SetAttacking(true);
    b.SetAttacking(true);
    EXPECT_EQ(FindStrongestHumanAttacker(), &a);
    CardActor& weak = OnTable(Creature(0, 1), PLAYER_CPU);
    (void)weak;
    EXPECT_EQ(CountAttackingCreatures(PLAYER_HUMAN), 2);

    CARD& lumartonCard = Creature(2, 2);
    lumartonCard.m_Id = CD_LUMARTON;
    CardActor& lumarton = OnTable(lumartonCard, PLAYER_CPU);
    CardActor& trampler = OnTable(Creature(4, 4), PLAYER_CPU);
    trampler.GetStats().trample = true;
    lumarton.SetTapState(TAP_TAPPED);
    trampler.SetTapState(TAP_TAPPED);
    UntapCpuCards();
    EXPECT_EQ(lumarton.GetTapState(), TAP_READY);
    EXPECT_EQ(trampler.GetTapState(), TAP_READY);
    EXPECT_TRUE(trampler.GetStats().trample);
    lumarton.SetTapState(TAP_TAPPED);
    UntapCpuCards();
    EXPECT_EQ(lumarton.GetTapState(), TAP_TAPPED);
    UntapCpuCards();
    EXPECT_EQ(lumarton.GetTapState(), TAP_READY);

    CardActor& land = OnTable(Land(ManaCost(0, 0, 1, 0, 0, 0)));
    land.SetTapState(TAP_NEW);
    ReadySickNonLands(PLAYER_HUMAN);
    EXPECT_EQ(land.GetTapState(), TAP_NEW);
}

TEST_F(RulesTest, GraveyardRefusesDuplicatesAndOverflow)
{
    const CARD& bear = Creature(2, 2);
    CardActor& first = OnTable(bear);
    PutCardIntoGraveyard(&first);
    PutCardIntoGraveyard(&first);
    EXPECT_EQ(Human().m_GraveyardCount, 1);
    for (int i = 0; i < GRAVEYARD_CAPACITY + 3; ++i)
        PutCardIntoGraveyard(&OnTable(bear));
    EXPECT_EQ(Human().m_GraveyardCount, GRAVEYARD_CAPACITY);
    CardActor& outsider = OnTable(bear);
    EXPECT_FALSE(RemoveFromGraveyard(&outsider));
    EXPECT_TRUE(RemoveFromGraveyard(&first));
    EXPECT_EQ(Human().m_GraveyardCount, GRAVEYARD_CAPACITY - 1);
    EXPECT_EQ(Human().m_Graveyard[GRAVEYARD_CAPACITY - 1], nullptr);
}

} // namespace
