#include "cards/CardIds.h"
#include "lessons/PhysicalBlocks.h"
#include "tests/lessons/LessonFixture.h"

#include <functional>

namespace {

using lessontest::LessonTest;

class PhysicalBlocksTest : public LessonTest {};

TEST_F(PhysicalBlocksTest, RefusalsComeInOrderAndUnblockableIsRefusedSilently)
{
    struct Case {
        const char* name;
        int attackerId;
        std::function<void(CardActor& blocker, CardActor& attacker)> setUp;
        int row;
        bool box;
    };
    const auto none = [](CardActor&, CardActor&) {};
    const Case cases[] = {
        {"plain block", 30, none, 0, false},
        {"tapped blocker before the flying attacker",
         30,
         [](CardActor& b, CardActor& a) {
             b.SetTapState(TAP_TAPPED);
             a.GetStats().flying = true;
         },
         1, true},
        {"target not attacking", 30, [](CardActor&, CardActor& a) { a.SetAttacking(false); }, 2, true},
        {"cannot block", 30, [](CardActor& b, CardActor&) { b.GetStats().hasCannotBlock = true; }, 4, true},
        {"unblockable attacker", 30, [](CardActor&, CardActor& a) { a.GetStats().isUnblockable = true; }, 10, false},
        {"ground blocker on a flyer", 30, [](CardActor&, CardActor& a) { a.GetStats().flying = true; }, 5, true},
        {"flyer on a flyer",
         30,
         [](CardActor& b, CardActor& a) {
             a.GetStats().flying = true;
             b.GetStats().flying = true;
         },
         0, false},
        {"reach on a flyer",
         30,
         [](CardActor& b, CardActor& a) {
             a.GetStats().flying = true;
             b.GetStats().flyBlock = true;
         },
         0, false},
        {"nobody blocks it", CD_QUELINVIN, none, 7, false},
        {"ground creature on the one only flyers and walls block", CD_JAVUNGAST, none, 8, false},
        {"flyer on it", CD_JAVUNGAST, [](CardActor& b, CardActor&) { b.GetStats().flying = true; }, 0, false},
        {"wall on it", CD_JAVUNGAST, [](CardActor& b, CardActor&) { b.GetStats().isWall = true; }, 0, false},
        {"landwalk with the land on the human's side",
         30,
         [this](CardActor&, CardActor& a) {
             a.GetStats().walk = ManaCost(0, 1, 0, 0, 0, 0);
             Card(CD_MOUNTAIN1, PLAYER_HUMAN);
         },
         9, false},
        {"landwalk without the land", 30,
         [](CardActor&, CardActor& a) { a.GetStats().walk = ManaCost(0, 1, 0, 0, 0, 0); }, 0, false},
    };
    for (const Case& c : cases) {
        CardActor* const blocker = Card(31, PLAYER_HUMAN);
        CardActor* const attacker = Card(c.attackerId, PLAYER_CPU);
        attacker->SetAttacking(true);
        c.setUp(*blocker, *attacker);
        const BlockRefusal refusal = CheckPhysicalBlock(*blocker, *attacker);
        EXPECT_EQ(refusal.row, c.row) << c.name;
        EXPECT_EQ(refusal.key != nullptr, c.box) << c.name;
        DestroyAllActors();
        PurgeRemovedActors();
    }
}

} // namespace
