#include "platform/Platform.h"
#include "rules/CpuAttack.h"
#include "rules/ManaPool.h"
#include "tests/rules/RulesFixture.h"

#include <vector>

namespace {

using rulestest::RulesTest;

class CpuAttackTest : public RulesTest {
protected:
    CardActor& Fighter(int power, int toughness, bool firstStrike, int owner)
    {
        CARD& card = Creature(power, toughness);
        card.m_Stats.firstStrike = firstStrike;
        return OnTable(card, owner);
    }

    // Whether the CPU attacks with its creatures under the seed, and whether the seed's first draw was used.
    bool AttacksUnderSeed(std::uint32_t seed, bool* drew = nullptr)
    {
        plat::SeedRand(seed);
        const int untouched = plat::Rand();
        plat::SeedRand(seed);
        const bool attacked = CpuDeclareAttackers();
        if (drew != nullptr)
            *drew = plat::Rand() != untouched;
        return attacked;
    }

    static bool FirstDrawHoldsBack(std::uint32_t seed)
    {
        plat::SeedRand(seed);
        return plat::Rand() % 3 != 0;
    }
};

TEST_F(CpuAttackTest, FightTestsAsTruthTables)
{
    struct Row {
        const char* name;
        int pA, tA, damageA;
        bool fsA;
        int pB, tB;
        bool fsB;
        // FirstKillsSecondAndSurvives, FirstSurvivesSecond, FirstTradesWithSecond, SecondKillsFirstAndSurvives,
        // CreaturesTrade, SecondSurvivesFirst, FirstKillsSecond
        bool expect[7];
    };
    const Row rows[] = {
        {"bigger wins", 3, 3, 0, false, 2, 2, false, {1, 1, 0, 0, 0, 0, 1}},
        {"equals trade", 2, 2, 0, false, 2, 2, false, {0, 0, 1, 0, 1, 0, 1}},
        {"smaller loses", 1, 1, 0, false, 3, 3, false, {0, 0, 0, 1, 0, 1, 0}},
        {"A alone strikes first", 2, 1, 0, true, 2, 2, false, {1, 1, 0, 0, 1, 0, 1}},
        {"A strikes first but cannot kill", 1, 1, 0, true, 2, 2, false, {0, 0, 0, 1, 0, 1, 0}},
        {"B alone strikes first", 2, 2, 0, false, 2, 1, true, {0, 0, 1, 1, 0, 0, 0}},
        {"both strike first", 3, 3, 0, true, 2, 2, true, {1, 1, 0, 0, 0, 0, 1}},
        {"damage lowers A", 3, 3, 2, false, 2, 2, false, {0, 0, 1, 0, 1, 0, 1}},
    };
    using Test = bool (*)(const CardActor*, const CardActor*);
    const Test tests[7] = {FirstKillsSecondAndSurvives, FirstSurvivesSecond, FirstTradesWithSecond,
                           SecondKillsFirstAndSurvives, CreaturesTrade,      SecondSurvivesFirst,
                           FirstKillsSecond};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CardActor& a = Fighter(row.pA, row.tA, row.fsA, PLAYER_CPU);
        a.SetDamage(row.damageA);
        CardActor& b = Fighter(row.pB, row.tB, row.fsB, PLAYER_HUMAN);
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(tests[i](&a, &b), row.expect[i]) << "test " << i;
    }
}

TEST_F(CpuAttackTest, KillableCreaturesWalkFromTheToughestDown)
{
    CardActor& small = Fighter(1, 1, false, PLAYER_HUMAN);
    CardActor& tough = Fighter(1, 3, false, PLAYER_HUMAN);
    CardActor& middle = Fighter(1, 2, false, PLAYER_HUMAN);
    CardActor& middleTwin = Fighter(1, 2, false, PLAYER_HUMAN);
    CardActor& pricey = OnTable(Creature(1, 2, ManaCost(3, 0, 1, 0, 0, 0)), PLAYER_HUMAN);
    Fighter(1, 9, false, PLAYER_HUMAN);  // beyond the amount
    Fighter(1, 1, false, PLAYER_CPU);    // another owner
    InHand(Creature(1, 1), PLAYER_HUMAN);
    CardActor& doomed = Fighter(1, 1, false, PLAYER_HUMAN);
    doomed.SetDamage(1);

    std::vector<CardActor*> walked;
    for (CardActor* card = FindKillableCreature(false, 4, PLAYER_HUMAN, nullptr, true); card != nullptr;
         card = FindKillableCreature(false, 4, PLAYER_HUMAN, card, true))
        walked.push_back(card);
    // Equal toughness: the dearer first, then the later made of two twins.
    const std::vector<CardActor*> expected = {&tough, &pricey, &middle, &middleTwin, &small};
    ASSERT_EQ(walked.size(), expected.size());
    EXPECT_EQ(walked[0], &tough);
    EXPECT_EQ(walked[1], &pricey);
    EXPECT_EQ(walked[2], &middleTwin);
    EXPECT_EQ(walked[3], &middle);
    EXPECT_EQ(walked[4], &small);

    // Without require-positive a creature that is already dying counts too; shields raise the margin.
    EXPECT_EQ(FindKillableCreature(false, 0, PLAYER_HUMAN, nullptr, false), &doomed);
    small.SetShields(5);
    EXPECT_EQ(FindKillableCreature(false, 1, PLAYER_HUMAN, nullptr, true), nullptr);
    EXPECT_EQ(FindKillableCreature(true, 1, PLAYER_HUMAN, nullptr, true), &small);
}

TEST_F(CpuAttackTest, BasicGamesAttackWithEveryAbleCreature)
{
    SetMode(1);
    CardActor& weak = Fighter(1, 1, false, PLAYER_CPU);
    CARD& vigilantCard = Creature(1, 1);
    vigilantCard.m_Stats.noTapAttack = true;
    CardActor& vigilant = OnTable(vigilantCard, PLAYER_CPU);
    CardActor& harmless = Fighter(0, 4, false, PLAYER_CPU);
    Fighter(5, 5, false, PLAYER_HUMAN);

    EXPECT_TRUE(CpuDeclareAttackers());
    EXPECT_TRUE(weak.IsAttacking());
    EXPECT_EQ(weak.GetTapState(), TAP_TAPPED);
    EXPECT_TRUE(vigilant.IsAttacking());
    EXPECT_EQ(vigilant.GetTapState(), TAP_READY);
    EXPECT_FALSE(harmless.IsAttacking());
    // Nobody left able: nothing declared.
    weak.SetAttacking(false);
    vigilant.SetTapState(TAP_TAPPED);
    vigilant.SetAttacking(false);
    EXPECT_FALSE(CpuDeclareAttackers());
}

TEST_F(CpuAttackTest, LosingAttackerHeldBackTwoTimesInThree)
{
    CardActor& weak = Fighter(1, 1, false, PLAYER_CPU);
    Fighter(5, 5, false, PLAYER_HUMAN);
    int attacks = 0;
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        weak.SetAttacking(false);
        weak.SetTapState(TAP_READY);
        const bool attacked = AttacksUnderSeed(seed);
        EXPECT_EQ(attacked, !FirstDrawHoldsBack(seed)) << seed;
        attacks += attacked ? 1 : 0;
    }
    EXPECT_GT(attacks, 0);
    EXPECT_LT(attacks, 30);
}

TEST_F(CpuAttackTest, NoDrawWhenAttackersOutnumberBlockers)
{
    CardActor& first = Fighter(1, 1, false, PLAYER_CPU);
    CardActor& second = Fighter(1, 1, false, PLAYER_CPU);
    Fighter(5, 5, false, PLAYER_HUMAN);
    bool drew = true;
    EXPECT_TRUE(AttacksUnderSeed(2, &drew));
    EXPECT_FALSE(drew);
    EXPECT_TRUE(first.IsAttacking() && second.IsAttacking());
}

TEST_F(CpuAttackTest, EvasionsAttackDespiteLosing)
{
    struct Row {
        const char* name;
        void (*shape)(CARD&);
        bool humanHasSwamp;
        bool alwaysAttacks;
    };
    const Row rows[] = {
        {"must attack", [](CARD& c) { c.m_Stats.mustAttack = true; }, false, true},
        {"unblockable", [](CARD& c) { c.m_Stats.isUnblockable = true; }, false, true},
        {"swampwalk, human has a swamp", [](CARD& c) { c.m_Stats.walk.black = 1; }, true, true},
        {"swampwalk, no swamp", [](CARD& c) { c.m_Stats.walk.black = 1; }, false, false},
        {"fear, no black blocker", [](CARD& c) { c.m_Stats.hasFearAttack = true; }, false, true},
        {"plain", [](CARD&) {}, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Clear();
        SetUp();
        CARD& card = Creature(1, 1);
        row.shape(card);
        CardActor& attacker = OnTable(card, PLAYER_CPU);
        // A green blocker that beats the attacker, and for the fear row no black one.
        Fighter(5, 5, false, PLAYER_HUMAN);
        if (row.humanHasSwamp)
            OnTable(Land(ManaCost(0, 0, 0, 0, 1, 0)), PLAYER_HUMAN);
        UpdateHumanAvailableMana();
        bool always = true;
        for (std::uint32_t seed = 1; seed <= 12; ++seed) {
            attacker.SetAttacking(false);
            attacker.SetTapState(TAP_READY);
            always = AttacksUnderSeed(seed) && always;
        }
        EXPECT_EQ(always, row.alwaysAttacks);
    }
}

TEST_F(CpuAttackTest, PumpAttacksWhenTheCpuCanPayThePumpsNeeded)
{
    for (const int mountains : {1, 2}) {
        SCOPED_TRACE(mountains);
        Clear();
        SetUp();
        CARD& card = Creature(1, 1);
        card.m_Ability.costType = COSTTYPE_NOTAP;
        card.m_Ability.effect.effectType = EFFECT_PTMOD_MANAPUMP;
        card.m_Ability.effect.powerModAmt = 1;
        card.m_Ability.cost = ManaCost(0, 1, 0, 0, 0, 0);
        CardActor& attacker = OnTable(card, PLAYER_CPU);
        Fighter(1, 3, false, PLAYER_HUMAN);  // needs two pumps
        for (int i = 0; i < mountains; ++i)
            OnTable(Land(ManaCost(0, 1, 0, 0, 0, 0)), PLAYER_CPU);
        UpdateCpuAvailableMana();
        for (std::uint32_t seed = 1; seed <= 12; ++seed) {
            attacker.SetAttacking(false);
            attacker.SetTapState(TAP_READY);
            const bool attacked = AttacksUnderSeed(seed);
            EXPECT_EQ(attacked, mountains == 2 || !FirstDrawHoldsBack(seed)) << seed;
        }
    }
}

TEST_F(CpuAttackTest, WeakTapperStaysHomeWhileTheHumanCanBlock)
{
    CARD& card = Creature(1, 1);
    card.m_Ability.costType = COSTTYPE_TAP;
    card.m_Ability.effect.effectType = EFFECT_TAP;
    CardActor& tapper = OnTable(card, PLAYER_CPU);
    CardActor& wall = Fighter(0, 1, false, PLAYER_HUMAN);
    EXPECT_FALSE(CpuDeclareAttackers());
    EXPECT_FALSE(tapper.IsAttacking());
    // With no able blocker left it attacks.
    wall.SetTapState(TAP_TAPPED);
    EXPECT_TRUE(CpuDeclareAttackers());
}

} // namespace
