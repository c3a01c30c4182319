// The physical lesson's combat explanations in their order: for a CPU attack the announcement, the declaration,
// the blocking advice and the damage step; for the learner's attack the attack advice and the CPU's blocks.
#include "cards/CardActor.h"
#include "engine/core/StringTable.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/Intro.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TurnAdviceState.h"
#include "gui/GUI_System.h"
#include "gui/WordBalloon.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/LessonBox.h"
#include "lessons/TurnAdvice.h"
#include "rules/CombatDamage.h"
#include "rules/PlayerState.h"
#include "tests/lessons/LessonFixture.h"

#include <string>

namespace {

using lessontest::LessonTest;

constexpr int CREATURE = 30;

class PhysicalCombatAdviceTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(1);
        m_savedNoIntro = s_bNoIntroDefault;
        s_bNoIntroDefault = true;
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(m_human, m_cpu);
        Human().SetLife(20, true);
        Cpu().SetLife(20, true);
        Human().m_CardsToDraw = 0;
        GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
        GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
    }

    void TearDown() override
    {
        s_bNoIntroDefault = m_savedNoIntro;
        ResetCpuPhysicalTurn();
        GUI_System::ClearCallbacks();
        LessonTest::TearDown();
    }

    static int ShownKind() { return IsLessonBoxShowing() ? GetLessonBox()->GetKindNumber() : -1; }

    static WordBalloon* Balloon(int kind)
    {
        WordBalloon* const balloon = GetCpuTurnBalloon();
        if (balloon == nullptr || !GetGameDisplay()->IsWindowRegistered(balloon))
            return nullptr;
        return balloon->GetKindNumber() == kind ? balloon : nullptr;
    }

    Actor* m_human = nullptr;
    Actor* m_cpu = nullptr;
    bool m_savedNoIntro = false;
};

TEST_F(PhysicalCombatAdviceTest, ACpuAttackIsAnnouncedDeclaredBlockedAndDamaged)
{
    HandTurnTo(PLAYER_CPU);
    CardActor* const attacker = Card(CREATURE, PLAYER_CPU);
    CardActor* const blocker = Card(CREATURE, PLAYER_HUMAN);

    // D: the announcement holds the CPU until the learner's OK.
    m_cpu->SetState(6);
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_CPU));
    WordBalloon* const announce = Balloon(56);
    ASSERT_NE(announce, nullptr);
    EXPECT_EQ(announce->GetButtonCount(), 1) << "the basic game offers no Respond";
    EXPECT_EQ(ShownKind(), -1) << "the lesson box stays free";
    Click(announce, 0);
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_CPU));
    EXPECT_EQ(GetGameDisplay()->m_CurrentPhase, 5);

    // E: the declared attackers are explained, and OK opens the learner's blocking step.
    m_cpu->SetState(7);
    m_cpu->m_BehaviourData = 2;
    Cpu().m_TurnFlag = true;
    attacker->SetAttacking(true);
    attacker->SetTapState(TAP_TAPPED);
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_CPU));
    WordBalloon* const declared = Balloon(59);
    ASSERT_NE(declared, nullptr);
    Click(declared, 0);
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_CPU));
    EXPECT_EQ(s_HumanBlockStep, 1);
    EXPECT_EQ(GetGameDisplay()->m_CurrentPhase, 7);

    // C: the basic blocking lesson, page one, then page two; Done without a blocker is taken for a misclick.
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_CPU)) << "the CPU waits for the blocks";
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    ASSERT_EQ(ShownKind(), 23);
    Click(GetLessonBox(), 0);
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    EXPECT_EQ(GetTurnAdviceState().blockAdviceStep, 1);
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    ASSERT_EQ(ShownKind(), 24);
    EXPECT_EQ(GetLessonBox()->GetButtonCount(), 2);
    Click(GetLessonBox(), 0);
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    ASSERT_EQ(ShownKind(), 25) << "Done without a blocker";
    Click(GetLessonBox(), 0);
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    ASSERT_EQ(ShownKind(), 24) << "back to the blocking box";
    AssignBlocker(attacker, blocker);
    Click(GetLessonBox(), 0);
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    EXPECT_EQ(s_HumanBlockStep, 3) << "the basic game settles the blocks";
    EXPECT_EQ(m_cpu->m_BehaviourData, 3) << "the CPU's driver goes on to damage";
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_CPU));

    // F: nothing to explain lets the damage step run.
    m_cpu->SetState(13);
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_CPU));
}

TEST_F(PhysicalCombatAdviceTest, AnUnblockableAttackPreparesTheLearnerForThePain)
{
    AddString(u"PHYSDLG_BASIC_PrepareForPain1", u"%0 %1");
    AddString(u"STR_damage", u"damage");
    HandTurnTo(PLAYER_CPU);
    CardActor* const attacker = Card(CREATURE, PLAYER_CPU);
    attacker->SetAttacking(true);
    m_cpu->SetState(7);
    s_HumanBlockStep = 1;
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    ASSERT_EQ(ShownKind(), 26);
    EXPECT_TRUE(GetTurnAdviceState().noBlockersShown);
    const int power = attacker->GetStats().power;
    EXPECT_EQ(GetLessonBox()->GetText().substr(0, std::to_string(power).size() + 1),
              std::u16string(u"") + static_cast<char16_t>(u'0' + power) + u" ");
}

TEST_F(PhysicalCombatAdviceTest, TheLearnersAttackIsAdvisedThenTheCpuBlocksExplained)
{
    AddString(u"PHYSDLG_BASIC_OpponentDeclareBlockers1", u"%0 blocks %1.");
    HandTurnTo(PLAYER_HUMAN);
    CardActor* const attacker = Card(CREATURE, PLAYER_HUMAN);
    CardActor* const blocker = Card(CREATURE, PLAYER_CPU);
    m_human->SetState(7);

    // A: two pages on blockers, then the declaration box that the driver answers.
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    ASSERT_EQ(ShownKind(), 46);
    Click(GetLessonBox(), 0);
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    EXPECT_EQ(ShownKind(), -1);
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    ASSERT_EQ(ShownKind(), 47);
    Click(GetLessonBox(), 0);
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    ASSERT_EQ(ShownKind(), 49);
    EXPECT_EQ(GetLessonBox()->GetButtonCount(), 2);

    // B: the driver has declared the attack and the CPU has blocked; the balloon names the pair.
    CloseLessonBox();
    attacker->SetAttacking(true);
    attacker->SetTapState(TAP_TAPPED);
    AssignBlocker(attacker, blocker);
    s_AttackStep = 3;
    s_CpuBlockStep = 2;
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_CPU));
    EXPECT_FALSE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    WordBalloon* const blocks = Balloon(58);
    ASSERT_NE(blocks, nullptr);
    const std::u16string name = attacker->GetNameField() != nullptr ? attacker->GetNameField() : u"";
    EXPECT_NE(blocks->GetText().find(name + u" blocks " + name + u"."), std::u16string::npos);
    Click(blocks, 0);
    EXPECT_TRUE(UpdatePhysicalTurnAdvice(PLAYER_HUMAN));
    EXPECT_EQ(s_CpuBlockStep, 3) << "the CPU had no answer: the blocks are settled";
    EXPECT_EQ(Balloon(58), nullptr);
}

} // namespace
