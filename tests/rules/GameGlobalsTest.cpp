#include "cards/CardWindows.h"
#include "rules/GameGlobals.h"
#include "rules/PendingObjects.h"
#include "tests/rules/RulesFixture.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using rulestest::RulesTest;

class CountedObject : public PendingObject {
public:
    explicit CountedObject(int& deleted) : m_deleted(deleted) {}
    ~CountedObject() override { ++m_deleted; }

private:
    int& m_deleted;
};

TEST_F(RulesTest, NewGameDeletesPendingObjectsAndCardWindows)
{
    int deleted = 0;
    AddPendingObject(std::make_unique<CountedObject>(deleted));
    AddPendingObject(std::make_unique<CountedObject>(deleted));
    AddPendingObject(nullptr);
    EXPECT_EQ(CountPendingObjects(), 2);
    CardActor& card = OnTable(Creature(1, 1));
    ASSERT_NE(CreateCardWindowForActor(&card, 66, 98), nullptr);

    ResetGameState();
    EXPECT_EQ(deleted, 2) << "each through its own destructor";
    EXPECT_EQ(CountPendingObjects(), 0);
    EXPECT_EQ(GetCardWindowCount(), 0);
    ResetGameState();
    EXPECT_EQ(deleted, 2) << "a second reset finds nothing to delete";
}

// A card taken out of the registry is forgotten by every other card: none keeps it as an attachment, host,
// blocker, blocked attacker or chosen target.
TEST_F(RulesTest, ARemovedCardLeavesNoLinkInOtherCards)
{
    CARD& auraDefinition = Define(CT_ENCHANT, ManaCost(0, 0, 0, 0, 0, 1));
    auraDefinition.m_SpellEffect.effectType = EFFECT_ENCHANT;
    struct Link {
        const char* name;
        std::function<void(CardActor& removed, CardActor& other)> make;
        std::function<bool(const CardActor& removed, const CardActor& other)> holds;
    };
    const auto attached = [](const CardActor& removed, const CardActor& other) {
        return std::find(other.m_Attachments.begin(), other.m_Attachments.end(), &removed) != other.m_Attachments.end();
    };
    const auto blocks = [](const CardActor& removed, const CardActor& other) {
        return std::find(other.m_Blockers.begin(), other.m_Blockers.end(), &removed) != other.m_Blockers.end();
    };
    const std::vector<Link> links = {
        {"an aura on the other", [](CardActor& r, CardActor& o) { o.AttachCard(&r); }, attached},
        {"the other's host", [](CardActor& r, CardActor& o) { r.AttachCard(&o); },
         [](const CardActor& r, const CardActor& o) { return o.GetHost() == &r; }},
        {"a blocker of the other", [](CardActor& r, CardActor& o) { o.AddBlocker(&r); }, blocks},
        {"the attacker the other blocks", [](CardActor& r, CardActor& o) { r.AddBlocker(&o); },
         [](const CardActor& r, const CardActor& o) { return o.GetBlockedAttacker() == &r; }},
        {"the other's chosen target", [](CardActor& r, CardActor& o) { o.SetChosenTarget(&r); },
         [](const CardActor& r, const CardActor& o) { return o.GetChosenTarget() == &r; }},
    };
    for (const Link& link : links) {
        const bool aura = std::string(link.name) == "an aura on the other";
        const bool host = std::string(link.name) == "the other's host";
        CardActor& removed = OnTable(aura ? auraDefinition : Creature(1, 1));
        CardActor& other = OnTable(host ? auraDefinition : Creature(2, 2));
        link.make(removed, other);
        ASSERT_TRUE(link.holds(removed, other)) << link.name;
        OnCardActorRemoved(&removed);
        EXPECT_FALSE(link.holds(removed, other)) << link.name;
    }
}

} // namespace
