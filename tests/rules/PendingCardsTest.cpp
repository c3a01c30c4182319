#include "lessons/LessonFlow.h"
#include "rules/PendingCards.h"
#include "tests/rules/RulesFixture.h"

namespace {

using rulestest::RulesTest;

TEST_F(RulesTest, HumanMayActInStateTwentyOneOrWithTheCanPlayNowFlag)
{
    struct Case {
        int state, canPlayNow;
        bool allowed;
    };
    const Case cases[] = {{21, 0, true}, {5, 0, false}, {5, 1, true}, {0, 0, false}};
    for (const Case& c : cases) {
        m_human->SetState(c.state);
        SetCanPlayNowFlag(c.canPlayNow);
        EXPECT_EQ(IsHumanAllowedToAct(), c.allowed) << c.state << " " << c.canPlayNow;
    }
    SetCanPlayNowFlag(0);
}

TEST_F(RulesTest, HandOrderBreaksTiesByCreation)
{
    const CARD& bear = Creature(2, 2);
    CardActor& first = InHand(bear);
    CardActor& second = InHand(bear);
    CardActor& low = InHand(bear);
    first.SetSortKey(3);
    second.SetSortKey(3);
    low.SetSortKey(1);
    EXPECT_TRUE(CompareHandCards(&low, &first));
    EXPECT_TRUE(CompareHandCards(&first, &second));
    EXPECT_FALSE(CompareHandCards(&second, &first));
    EXPECT_FALSE(CompareHandCards(&first, &first));
}

} // namespace
