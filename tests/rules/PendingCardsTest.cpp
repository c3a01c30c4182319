#include "gamestate/TableFlowState.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"
#include "lessons/LessonFlow.h"
#include "rules/TableSelection.h"
#include "rules/Usability.h"
#include "rules/PendingCards.h"
#include "tests/rules/RulesFixture.h"

#include <functional>
#include <memory>
#include <vector>

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

// Counts the lesson events it is offered and never asks to be shown.
class EventCounter : public CardSpecificDialog {
public:
    explicit EventCounter(int event) : CardSpecificDialog(0, 0, nullptr, {}, -1), m_Event(event) {}
    bool TestEvent(int event, Actor*) override
    {
        m_Count += event == m_Event ? 1 : 0;
        return false;
    }
    bool TestCardEvent(int, Actor*) override { return false; }
    bool IsModal() const override { return false; }
    bool IsExhausted() const override { return false; }
    int m_Event;
    int m_Count = 0;
};

// A card leaving the learner's hand is announced once: not while the learner casts it or activates an ability,
// not for a card in a special slot, and a paid spell only by the payment's own event.
TEST_F(RulesTest, ACardLeavingTheHandIsAnnouncedOnlyOutsideCastingAndOnce)
{
    constexpr int LEAVES_HAND = 5;
    struct Case {
        const char* name;
        std::function<void(CardActor&)> leave;
        int announced;
    };
    const Case cases[] = {
        {"put on the table", [](CardActor& c) { c.SetHeld(false); }, 1},
        {"while the learner casts it",
         [](CardActor& c) {
             GetTableFlow().castingCard = &c;
             c.SetHeld(false);
         },
         0},
        {"while the learner activates an ability",
         [](CardActor& c) {
             GetTableSelection().abilityStep = ABILITY_IDLE + 1;
             c.SetHeld(false);
         },
         0},
        {"a card in a pending slot",
         [](CardActor& c) {
             GetTableFlow().pendingSlots[0] = &c;
             c.SetHeld(false);
         },
         0},
        {"a paid spell",
         [](CardActor& c) {
             GetTableFlow().castingCard = &c;
             FinishPayment(&c);
         },
         1},
    };
    CARD& sorcery = Define(CT_SORCERY);
    for (const Case& c : cases) {
        auto counter = std::make_unique<EventCounter>(LEAVES_HAND);
        EventCounter* const raw = counter.get();
        AddArmedDialog(std::move(counter));
        CardActor& card = InHand(sorcery);
        c.leave(card);
        EXPECT_EQ(raw->m_Count, c.announced) << c.name;
        DestroyAllDialogs();
        GetTableFlow() = TableFlowState();
        GetTableSelection().abilityStep = ABILITY_IDLE;
    }
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
