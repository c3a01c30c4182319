#include "rules/CpuPayment.h"
#include "rules/ManaPool.h"
#include "tests/rules/RulesFixture.h"

namespace {

using rulestest::RulesTest;

class CpuPaymentTest : public RulesTest {
protected:
    const ManaCost kRed{0, 1, 0, 0, 0, 0};
    const ManaCost kGreen{0, 0, 1, 0, 0, 0};

    CARD& ManaCreature(ManaCost produces)
    {
        CARD& card = Creature(0, 1);
        card.m_Ability.costType = COSTTYPE_TAP;
        card.m_Ability.effect.effectType = EFFECT_PRODUCEMANA;
        card.m_Ability.effect.manaProduced = produces;
        return card;
    }

    static bool Tapped(const CardActor& card) { return card.GetTapState() == TAP_TAPPED; }
};

TEST_F(CpuPaymentTest, ColoursFirstThenGenericAndTheShownColoursReturn)
{
    CardActor& mountainA = OnTable(Land(kRed), PLAYER_CPU);
    CardActor& forest = OnTable(Land(kGreen), PLAYER_CPU);
    CardActor& mountainB = OnTable(Land(kRed), PLAYER_CPU);
    CardActor& humans = OnTable(Land(kRed), PLAYER_HUMAN);
    Cpu().m_ShownMana = ManaCost(4, 0, 1, 0, 0, 0);

    EXPECT_EQ(PayCpuCost(ManaCost(1, 2, 0, 0, 0, 0)), 3);

    EXPECT_TRUE(Tapped(mountainA) && Tapped(mountainB) && Tapped(forest));
    EXPECT_FALSE(Tapped(humans));
    // The generic payer books the Forest's green, which the end of the payment takes back off the display.
    EXPECT_EQ(Cpu().m_ShownMana, ManaCost(4, 0, 1, 0, 0, 0));
    EXPECT_EQ(GetCpuPaymentTally(), ManaCost());
    EXPECT_EQ(GetAvailableMana(PLAYER_CPU).Total(), 0);
}

TEST_F(CpuPaymentTest, NewestLandFirstSurplusLostAndMissingColourSkipped)
{
    CardActor& olderDouble = OnTable(Land(ManaCost(0, 2, 0, 0, 0, 0)), PLAYER_CPU);
    CardActor& newerDouble = OnTable(Land(ManaCost(0, 2, 0, 0, 0, 0)), PLAYER_CPU);
    CardActor& forest = OnTable(Land(kGreen), PLAYER_CPU);

    // No blue source: the blue payer taps nothing and the others still pay.
    EXPECT_EQ(PayCpuCost(ManaCost(0, 1, 1, 1, 0, 0)), 2);
    EXPECT_TRUE(Tapped(newerDouble));
    EXPECT_FALSE(Tapped(olderDouble));
    EXPECT_TRUE(Tapped(forest));
    // A shortfall is not reported; the remaining red land pays what it can.
    EXPECT_EQ(PayCpuRed(5), 1);
    EXPECT_TRUE(Tapped(olderDouble));
    EXPECT_EQ(PayCpuGeneric(0), 0);
}

TEST_F(CpuPaymentTest, NonLandSourcesOnlyWhenLandsFallShortOldestFirst)
{
    CardActor& olderElf = OnTable(ManaCreature(kGreen), PLAYER_CPU);
    CardActor& newerElf = OnTable(ManaCreature(kGreen), PLAYER_CPU);
    CardActor& forest = OnTable(Land(kGreen), PLAYER_CPU);

    EXPECT_EQ(PayCpuGreen(1), 1);
    EXPECT_TRUE(Tapped(forest));
    EXPECT_FALSE(Tapped(olderElf) || Tapped(newerElf));

    EXPECT_EQ(PayCpuGreen(1), 1);
    EXPECT_TRUE(Tapped(olderElf));
    EXPECT_TRUE(olderElf.IsManaReady());
    EXPECT_FALSE(Tapped(newerElf));
}

TEST_F(CpuPaymentTest, SourcesThatMayNotPayAreNeverTapped)
{
    CARD& costly = Land(kGreen);
    costly.m_Ability.cost = ManaCost(1, 0, 0, 0, 0, 0);
    CARD& chooser = ManaCreature(kGreen);
    chooser.m_Ability.effect.effectType = EFFECT_CHOOSEMANA;
    CardActor& withCost = OnTable(costly, PLAYER_CPU);
    CardActor& sick = OnTable(Land(kGreen), PLAYER_CPU);
    sick.SetTapState(TAP_NEW);
    CardActor& onStack = OnTable(Land(kGreen), PLAYER_CPU);
    onStack.SetOnStack(true);
    CardActor& choosing = OnTable(chooser, PLAYER_CPU);

    UpdateCpuAvailableMana();
    // A colour-choice source is left out of the CPU's mana, since no payer taps it.
    EXPECT_EQ(GetAvailableMana(PLAYER_CPU).Total(), 0);
    EXPECT_EQ(PayCpuCost(ManaCost(2, 0, 2, 0, 0, 0)), 0);
    for (const CardActor* card : {&withCost, &sick, &onStack, &choosing})
        EXPECT_FALSE(Tapped(*card));
}

TEST_F(CpuPaymentTest, TappedSourceSetKeptOnlyInThePhysicalLesson)
{
    for (const int mode : {1, 2, 3, 4}) {
        SCOPED_TRACE(mode);
        SetMode(mode);
        ClearCpuTappedSources();
        CardActor& forest = OnTable(Land(kGreen), PLAYER_CPU);
        PayCpuGreen(1);
        const bool physical = mode <= 2;
        EXPECT_EQ(GetCpuTappedSources().size(), physical ? 1u : 0u);
        EXPECT_EQ((forest.m_Flags & ACTOR_FLAG_KEEP_UPRIGHT) != 0, physical);
        RemoveActor(&forest);
        PurgeRemovedActors();
        EXPECT_TRUE(GetCpuTappedSources().empty());
    }
}

TEST_F(CpuPaymentTest, TappedSourceOrder)
{
    SetMode(1);
    CardActor& far = OnTable(Land(kGreen), PLAYER_CPU);
    far.m_Position.Set(30.0f, 40.0f, 0.0f);
    CardActor& nearA = OnTable(Land(kGreen), PLAYER_CPU);
    nearA.m_Position.Set(3.0f, 4.0f, 0.0f);
    CardActor& nearB = OnTable(Land(kGreen), PLAYER_CPU);
    nearB.m_Position.Set(-4.0f, 3.0f, 0.0f);
    CardActor& attacker = OnTable(Creature(2, 2), PLAYER_CPU);
    attacker.m_Position.Set(100.0f, 100.0f, 0.0f);
    CardActor& elf = OnTable(ManaCreature(kGreen), PLAYER_CPU);

    TapManaSource(&far, true);
    TapManaSource(&nearB, true);
    TapManaSource(&nearA, true);
    TapManaSource(&nearA, true);
    TapManaSource(&attacker, false);
    TapManaSource(&elf, true);

    // A tapped non-source comes before every land; a mana-ready creature sorts with the lands; equal distances
    // by creation.
    const std::vector<CardActor*> expected = {&attacker, &elf, &nearA, &nearB, &far};
    EXPECT_EQ(GetCpuTappedSources(), expected);
    EXPECT_TRUE(TappedSourceBefore(&nearA, &nearB));
    EXPECT_FALSE(TappedSourceBefore(&nearB, &nearA));
    EXPECT_FALSE(TappedSourceBefore(&nearA, &nearA));
    EXPECT_FALSE(attacker.IsManaReady());
}

TEST_F(CpuPaymentTest, ResetEmptiesOnlyTheColourCounters)
{
    Cpu().m_ShownMana = ManaCost(2, 1, 1, 0, 0, 3);
    GetCpuPaymentTally() = ManaCost(5, 1, 0, 0, 2, 0);
    ResetCpuTappedMana();
    EXPECT_EQ(Cpu().m_ShownMana, ManaCost(2, 0, 0, 0, 0, 0));
    EXPECT_EQ(GetCpuPaymentTally(), ManaCost(5, 0, 0, 0, 0, 0));
}

} // namespace
