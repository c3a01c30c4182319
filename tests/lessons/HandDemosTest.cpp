#include "lessons/HandDemos.h"
#include "platform/Headless.h"
#include "rules/CpuPayment.h"
#include "tests/rules/RulesFixture.h"

#include <vector>

namespace {

using rulestest::RulesTest;

class HandDemosTest : public RulesTest {
protected:
    void SetUp() override
    {
        RulesTest::SetUp();
        SetMode(1);
        ResetCpuHandAnimation();
    }

    void TearDown() override
    {
        ResetCpuHandAnimation();
        RulesTest::TearDown();
    }

    static bool ShownTapped(const CardActor& card)
    {
        return card.GetTapState() == TAP_TAPPED && (card.m_Flags & ACTOR_FLAG_KEEP_UPRIGHT) == 0;
    }

    static int CountShown(const std::vector<CardActor*>& cards)
    {
        int shown = 0;
        for (const CardActor* card : cards)
            shown += ShownTapped(*card) ? 1 : 0;
        return shown;
    }
};

// What the CPU taps stays upright until the hand animation plays the tap back, one card per pause, so that every
// tapped land and attacker ends up turned on the table.
TEST_F(HandDemosTest, CpuTapsArePlayedBackOneByOneUntilEveryCardIsTurned)
{
    const ManaCost green{0, 0, 1, 0, 0, 0};
    std::vector<CardActor*> cards = {&OnTable(Land(green), PLAYER_CPU), &OnTable(Land(green), PLAYER_CPU)};
    CardActor& attacker = OnTable(Creature(2, 2), PLAYER_CPU);
    cards.push_back(&attacker);
    PayCpuCost(ManaCost(1, 0, 1, 0, 0, 0));
    TapManaSource(&attacker, false);
    ASSERT_EQ(GetCpuTappedSources().size(), 3u);
    EXPECT_EQ(CountShown(cards), 0) << "the table waits for the playback";

    StepCpuHandAnimation();
    EXPECT_TRUE(ShownTapped(attacker)) << "the attacker sorts first and turns at once";
    EXPECT_EQ(CountShown(cards), 1);
    plat::headless::AdvanceTime(CPU_TAP_PLAYBACK_MS - 1);
    StepCpuHandAnimation();
    EXPECT_EQ(CountShown(cards), 1) << "the next tap waits for the pause";
    for (int shown = 2; shown <= 3; ++shown) {
        plat::headless::AdvanceTime(CPU_TAP_PLAYBACK_MS);
        StepCpuHandAnimation();
        EXPECT_EQ(CountShown(cards), shown);
    }
    EXPECT_TRUE(GetCpuTappedSources().empty());

    // A new game shows whatever was still waiting at once.
    for (CardActor* card : cards)
        card->SetTapState(TAP_READY);
    PayCpuCost(ManaCost(2, 0, 0, 0, 0, 0));
    ASSERT_EQ(GetCpuTappedSources().size(), 2u);
    ResetCpuHandAnimation();
    EXPECT_EQ(CountShown(cards), 2);
    EXPECT_TRUE(GetCpuTappedSources().empty());
}

} // namespace
