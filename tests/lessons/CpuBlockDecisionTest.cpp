#include "lessons/CpuBlockDecision.h"
#include "tests/rules/RulesFixture.h"

namespace {

using rulestest::RulesTest;

using CpuBlockDecisionTest = RulesTest;

// A 3/3 and a -2/1 attack a CPU at 3 life holding a 1/1. Only the physical lesson counts the negative power, so
// there the CPU is safe and takes the small attacker; online the 3 power is lethal and the 1/1 chumps the 3/3.
TEST_F(CpuBlockDecisionTest, TheLessonsDifferOnlyInWhichAttackersCount)
{
    struct Row {
        AttackerPower counted;
        int blocked;
    };
    for (const Row row : {Row{AttackerPower::NotZero, 1}, Row{AttackerPower::AboveZero, 0}}) {
        SCOPED_TRACE(row.counted == AttackerPower::NotZero ? "physical" : "online");
        TearDown();
        SetUp();
        GetPlayerState(PLAYER_CPU)->m_Life = 3;
        CardActor& blocker = OnTable(Creature(1, 1), PLAYER_CPU);
        CardActor& big = OnTable(Creature(3, 3));
        CardActor& weak = OnTable(Creature(-2, 1));
        big.SetAttacking(true);
        weak.SetAttacking(true);
        ChooseCpuBlocks(row.counted);
        EXPECT_EQ(blocker.GetBlockedAttacker(), row.blocked == 0 ? &big : &weak);
    }
}

// Equal attackers are taken in the order the table lists them, which a card moved to the front changes; the
// order in which they were created does not count.
TEST_F(CpuBlockDecisionTest, EqualAttackersAreBlockedInTableOrder)
{
    for (const AttackerPower counted : {AttackerPower::NotZero, AttackerPower::AboveZero}) {
        TearDown();
        SetUp();
        CardActor& blocker = OnTable(Creature(3, 3), PLAYER_CPU);
        const CARD& bear = Creature(2, 2);
        CardActor* const early = new CardActor();
        CardActor* const late = new CardActor();
        for (CardActor* attacker : {early, late}) {
            attacker->SetCard(&bear);
            attacker->SetOwner(PLAYER_HUMAN);
            attacker->SetOwnerRecord(GetPlayerState(PLAYER_HUMAN));
            attacker->m_Held = 0;
            attacker->m_InLibrary = false;
            attacker->SetTapState(TAP_READY);
            attacker->SetPlayedMark(1);
            attacker->UpdatePowerToughness(false);
            attacker->SetAttacking(true);
        }
        ASSERT_LT(early->GetSerial(), late->GetSerial());
        RegisterActor(late);
        RegisterActor(early);
        ChooseCpuBlocks(counted);
        EXPECT_EQ(blocker.GetBlockedAttacker(), late) << (counted == AttackerPower::NotZero ? "physical" : "online");
    }
}

} // namespace
