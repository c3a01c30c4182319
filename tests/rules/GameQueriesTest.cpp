// The board queries the advisor, the dialogs and the lesson share: paying a cost, the best creature to play and
// the next best, the unblocked attackers by power, targets worth a removal, tapped cards.
#include "rules/CombatDamage.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "tests/rules/RulesFixture.h"

namespace {

using rulestest::RulesTest;

class GameQueriesTest : public RulesTest {
protected:
    // count untapped lands of the human giving one mana of that counter each, then the recount.
    void Lands(int count, ManaCost oneMana, int owner = PLAYER_HUMAN)
    {
        CARD& land = Land(oneMana);
        for (int i = 0; i < count; ++i)
            OnTable(land, owner);
        UpdateHumanAvailableMana();
        UpdateCpuAvailableMana();
    }
};

const ManaCost RED(0, 1, 0, 0, 0, 0);
const ManaCost GREEN(0, 0, 1, 0, 0, 0);

TEST_F(GameQueriesTest, CanPayCoversColoursFirstThenGenericFromColoursLeft)
{
    struct Case {
        const char* name;
        int redLands, greenLands;
        ManaCost cost;
        bool payable;
    };
    const Case cases[] = {
        {"cost 0 with no mana", 0, 0, ManaCost(), true},
        {"one red two generic, three red", 3, 0, ManaCost(2, 1, 0, 0, 0, 0), true},
        {"one red two generic, two red", 2, 0, ManaCost(2, 1, 0, 0, 0, 0), false},
        {"green asked, only red", 3, 0, ManaCost(0, 0, 1, 0, 0, 0), false},
        {"red and green, one of each", 1, 1, ManaCost(0, 1, 1, 0, 0, 0), true},
        {"two red asked, one red one green", 1, 1, ManaCost(0, 2, 0, 0, 0, 0), false},
        {"generic only from any colour", 1, 1, ManaCost(2, 0, 0, 0, 0, 0), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        Lands(c.redLands, RED);
        Lands(c.greenLands, GREEN);
        EXPECT_EQ(CanPay(PLAYER_HUMAN, c.cost, true), c.payable);
        EXPECT_EQ(GetAvailableManaTotal(PLAYER_HUMAN), c.redLands + c.greenLands);
    }
}

TEST_F(GameQueriesTest, WithoutCountingAllSourcesAnUntappedManaCreatureIsLeftOut)
{
    Lands(1, RED);
    CARD& elf = Creature(1, 1);
    elf.m_Ability.costType = COSTTYPE_TAP;
    elf.m_Ability.effect.effectType = EFFECT_PRODUCEMANA;
    elf.m_Ability.effect.manaProduced = GREEN;
    CardActor& mana = OnTable(elf);
    UpdateHumanAvailableMana();
    const ManaCost cost(0, 1, 1, 0, 0, 0);
    EXPECT_TRUE(CanPay(PLAYER_HUMAN, cost, true));
    EXPECT_FALSE(CanPay(PLAYER_HUMAN, cost, false));
    // Tapped, it counts neither way.
    mana.SetTapState(TAP_TAPPED);
    UpdateHumanAvailableMana();
    EXPECT_FALSE(CanPay(PLAYER_HUMAN, cost, true));
}

TEST_F(GameQueriesTest, SubtractGoesCounterByCounter)
{
    ManaCost a(3, 2, 1, 0, 0, 4);
    a.Subtract(ManaCost(1, 2, 3, 0, 1, 0));
    EXPECT_EQ(a, ManaCost(2, 0, -2, 0, -1, 4));
}

TEST_F(GameQueriesTest, TheBestCreatureAndItsNextBestChain)
{
    Lands(9, RED);
    // In hand, in actor-list order; the expected ranking is by cost, power, flying, then lower id.
    CARD& cheap = Creature(5, 5, ManaCost(1, 0, 0, 0, 0, 0));
    CARD& dear = Creature(1, 1, ManaCost(3, 1, 0, 0, 0, 0));
    CARD& strong = Creature(4, 1, ManaCost(2, 0, 0, 0, 0, 0));
    CARD& flier = Creature(2, 1, ManaCost(2, 0, 0, 0, 0, 0));
    flier.m_Stats.flying = true;
    CARD& walker = Creature(2, 1, ManaCost(2, 0, 0, 0, 0, 0));
    CARD& tooDear = Creature(9, 9, ManaCost(20, 0, 0, 0, 0, 0));
    CardActor& c = InHand(cheap);
    CardActor& d = InHand(dear);
    CardActor& w = InHand(walker);
    CardActor& f = InHand(flier);
    CardActor& s = InHand(strong);
    InHand(tooDear);
    CardActor& w2 = InHand(walker);  // a second copy is skipped once its twin is the previous result
    OnTable(dear);                    // not in hand
    InHand(dear, PLAYER_CPU);         // the other player's

    std::vector<const CardActor*> chain;
    for (const CardActor* best = FindBestCreatureToPlay(PLAYER_HUMAN, nullptr); best != nullptr;
         best = FindBestCreatureToPlay(PLAYER_HUMAN, best))
        chain.push_back(best);
    EXPECT_EQ(chain, (std::vector<const CardActor*>{&d, &s, &f, &w, &c}));
    (void)w2;

    // Equal on cost, power and flying: the lower id ranks first.
    Clear();
    Lands(2, RED);
    CARD& later = Creature(2, 2, ManaCost(1, 0, 0, 0, 0, 0));
    CARD& earlier = Creature(2, 2, ManaCost(1, 0, 0, 0, 0, 0));
    later.m_Id = 320;
    earlier.m_Id = 310;
    CardActor& l = InHand(later);
    CardActor& e = InHand(earlier);
    EXPECT_EQ(FindBestCreatureToPlay(PLAYER_HUMAN, nullptr), &e);
    EXPECT_EQ(FindBestCreatureToPlay(PLAYER_HUMAN, &e), &l);
    EXPECT_EQ(FindBestCreatureToPlay(PLAYER_HUMAN, &l), nullptr);
}

TEST_F(GameQueriesTest, UnblockedAttackersSortByPowerFliersFirstEmptySlotsStay)
{
    CARD& two = Creature(2, 1);
    CARD& twoFlier = Creature(2, 1);
    twoFlier.m_Stats.flying = true;
    CARD& five = Creature(5, 1);
    CardActor& a = OnTable(two, PLAYER_CPU);
    CardActor& b = OnTable(twoFlier, PLAYER_CPU);
    CardActor& c = OnTable(five, PLAYER_CPU);
    auto& list = GetUnblockedAttackers();
    list = {};
    list[0] = &a;
    list[2] = &b;
    list[3] = &c;
    list[5] = &a;  // beyond the count: untouched
    SortUnblockedByPower(4);
    EXPECT_EQ(list[0], &c);
    EXPECT_EQ(list[1], nullptr);
    EXPECT_EQ(list[2], &b);
    EXPECT_EQ(list[3], &a);
    EXPECT_EQ(list[5], &a);
    list = {};
}

TEST_F(GameQueriesTest, RemovableTargetsAreTheOpponentsCreaturesOnTheTable)
{
    CARD& removal = Define(CT_INSTANT);
    CardActor& spell = InHand(removal);
    EXPECT_FALSE(HasRemovableTarget(&spell, false, false));
    EXPECT_FALSE(HasRemovableTarget(nullptr, false, false));
    InHand(Creature(2, 2), PLAYER_CPU);
    OnTable(Creature(2, 2), PLAYER_HUMAN);
    EXPECT_FALSE(HasRemovableTarget(&spell, false, false)) << "held or own creatures do not count";
    CardActor& theirs = OnTable(Creature(2, 2), PLAYER_CPU);
    EXPECT_TRUE(HasRemovableTarget(&spell, false, false));
    EXPECT_EQ(HasRemovableTarget(&spell, true, false), IsAbleToBlock(&theirs));
    theirs.SetTapState(TAP_TAPPED);
    EXPECT_FALSE(HasRemovableTarget(&spell, true, false)) << "a tapped creature cannot block";
    EXPECT_TRUE(HasRemovableTarget(&spell, false, false));
}

TEST_F(GameQueriesTest, TappedPermanentKindsAndTappedReadyCounts)
{
    CARD& land = Land(RED);
    CARD& bear = Creature(2, 2);
    EXPECT_EQ(GetTappedPermanentKinds(PLAYER_HUMAN), 0);
    CardActor& tappedLand = OnTable(land);
    tappedLand.SetTapState(TAP_TAPPED);
    EXPECT_EQ(GetTappedPermanentKinds(PLAYER_HUMAN), 1);
    CardActor& sick = OnTable(bear);
    sick.SetTapState(TAP_TAPPED);
    sick.m_SummoningSick = true;
    EXPECT_EQ(GetTappedPermanentKinds(PLAYER_HUMAN), 1) << "a summoning-sick creature does not count";
    CardActor& tappedBear = OnTable(bear);
    tappedBear.SetTapState(TAP_TAPPED);
    EXPECT_EQ(GetTappedPermanentKinds(PLAYER_HUMAN), 3);
    EXPECT_EQ(GetTappedPermanentKinds(PLAYER_CPU), 0);
    OnTable(land, PLAYER_CPU).SetTapState(TAP_TAPPED);

    int human = -1;
    int cpu = -1;
    CountTappedReadyCards(&human, &cpu);
    EXPECT_EQ(human, 2);  // the sick creature cannot act
    EXPECT_EQ(cpu, 1);
    CountTappedReadyCards(nullptr, &cpu);
    EXPECT_EQ(cpu, 1);
    CountTappedReadyCards(&human, nullptr);
}

TEST_F(GameQueriesTest, TheStackTellsTheEntryBeingResolved)
{
    SpellStack& stack = GetSpellStack();
    CardActor& card = InHand(Define(CT_INSTANT));
    stack.m_ResolvingCard = &card;
    stack.m_ResolvingIsAbility = true;
    EXPECT_EQ(stack.GetResolvingCard(), &card);
    EXPECT_TRUE(stack.IsResolvingAbility());
    stack.m_ResolvingCard = nullptr;
    stack.m_ResolvingIsAbility = false;
}

} // namespace
