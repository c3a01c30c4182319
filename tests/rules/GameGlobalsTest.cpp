#include "cards/CardWindows.h"
#include "rules/GameGlobals.h"
#include "rules/PendingObjects.h"
#include "tests/rules/RulesFixture.h"

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

} // namespace
