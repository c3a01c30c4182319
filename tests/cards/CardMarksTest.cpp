// What the marks on a card in play say: the damage number, changed power and toughness, and the state labels.
#include "cards/CardActor.h"
#include "cards/CardMarks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CardMarksTest, DamageNumbers)
{
    const std::pair<int, std::u16string> cases[] = {{1, u"1"}, {20, u"20"}, {21, u"20+"}, {99, u"20+"}, {0, u"1"},
                                                    {-5, u"1"}};
    for (const auto& [total, text] : cases)
        EXPECT_EQ(std::u16string(GetDamageText(total)), text) << total;
}

TEST(CardMarksTest, PowerToughnessShownOnlyWhenChanged)
{
    CARD bear;
    bear.m_CardType = CT_CREATURE;
    bear.m_Stats.power = 2;
    bear.m_Stats.toughness = 2;
    CardActor card;
    EXPECT_FALSE(ShouldShowPowerToughness(card));  // no definition
    card.SetCard(&bear);
    EXPECT_FALSE(ShouldShowPowerToughness(card));
    card.GetStats().toughness = 3;
    EXPECT_TRUE(ShouldShowPowerToughness(card));
}

TEST(CardMarksTest, StateLabels)
{
    struct Case {
        const char* name;
        bool printedFlying;
        bool flying;
        bool attacking;
        bool blocking;
        bool upright;
        bool noTapAttack;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"nothing to say", false, false, false, false, false, false, 0},
        {"gained flying", false, true, false, false, false, false, LABEL_SHOWS_FLYING},
        {"printed flying", true, true, false, false, false, false, 0},
        {"attacking", false, false, true, false, false, false, LABEL_SHOWS_ATTACKING},
        {"attacking upright", false, false, true, false, true, false, 0},
        {"attacking upright without tapping", false, false, true, false, true, true, LABEL_SHOWS_ATTACKING},
        {"blocking", false, false, false, true, false, false, LABEL_SHOWS_BLOCKING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CARD definition;
        definition.m_CardType = CT_CREATURE;
        definition.m_Stats.flying = c.printedFlying;
        definition.m_Stats.noTapAttack = c.noTapAttack;
        CardActor attacker;
        CardActor card;
        card.SetCard(&definition);
        card.SetHeld(false);
        card.SetInLibrary(false);
        card.SetTapState(TAP_READY);
        card.SetPlayedMark(1);
        card.GetStats().flying = c.flying;
        card.SetAttacking(c.attacking);
        card.SetBlockedAttacker(c.blocking ? &attacker : nullptr);
        if (c.upright)
            card.m_Flags |= ACTOR_FLAG_KEEP_UPRIGHT;
        EXPECT_EQ(GetCardStateLabels(card), c.expected);
    }
}

TEST(CardMarksTest, RegenerationShieldLabelOnCreaturesOnly)
{
    CARD wall;
    wall.m_CardType = CT_CREATURE;
    CardActor card;
    card.SetCard(&wall);
    card.SetRegenerationShield(true);
    EXPECT_EQ(GetCardStateLabels(card), LABEL_SHOWS_REGEN);
    wall.m_CardType = CT_ARTIFACT;
    EXPECT_EQ(GetCardStateLabels(card), 0u);
}

} // namespace
