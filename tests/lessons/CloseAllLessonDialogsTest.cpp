#include "cards/CardWindows.h"
#include "gamestate/PhysicalTurnState.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"
#include "gui/GUI_System.h"
#include "gui/WordBalloon.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/DrawingHand.h"
#include "lessons/HandDemos.h"
#include "lessons/LessonFlow.h"
#include "lessons/TurnAdvice.h"
#include "rules/PendingCards.h"
#include "rules/TargetPrompt.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"

#include <memory>

namespace {

using lessontest::LessonTest;

int s_DialogsAlive = 0;

class CountedDialog : public CardSpecificDialog {
public:
    CountedDialog() : CardSpecificDialog(0, 0, nullptr, {}, -1) { ++s_DialogsAlive; }
    ~CountedDialog() override { --s_DialogsAlive; }
    bool TestEvent(int, Actor*) override { return false; }
    bool TestCardEvent(int, Actor*) override { return false; }
    bool IsModal() const override { return false; }
    bool IsExhausted() const override { return false; }
};

class CloseAllLessonDialogsTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(1);
        GetSpellStack().Reset(1);
        GetSpellStack().OpenWindow();
        SetHandDemosIdle(true);
        SetCpuListEmpty(true);
        GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
        GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
    }
    void TearDown() override
    {
        ClearPendingCards();
        ResetCpuPhysicalTurn();
        DestroyAllDialogs();
        GUI_System::ClearCallbacks();
        LessonTest::TearDown();
    }
    lessontest::DialogScreen m_Screen;
};

// Every lesson window at once, registered as play leaves them; under the address sanitizer a window deleted
// twice, or left for the display to meet after it is gone, fails the run.
TEST_F(CloseAllLessonDialogsTest, ShutdownDeletesEveryLessonWindowOnce)
{
    Actor* const cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
    cpu->m_Flags |= ACTOR_FLAG_FIRST_FRAME;
    CpuPhysicalTurn(cpu);
    ResetDrawHand();
    SetDrawHandStopped(true);
    GetCpuPhysicalTurnWords().delay = 0;
    cpu->SetState(CPU_STEP_TURN_OVER);
    CpuPhysicalTurn(cpu);
    WordBalloon* const balloon = GetCpuTurnBalloon();
    ASSERT_NE(balloon, nullptr);
    Messagebox* const box = ShowBox(8);
    OpenGraveyardDialog(PLAYER_CPU);
    ASSERT_TRUE(IsGraveyardDialogOpen(PLAYER_CPU));
    CardActor* const source = Card(40, PLAYER_HUMAN);
    OpenTargetPrompt(source, false);
    ASSERT_TRUE(IsTargetPromptOpen());
    AddArmedDialog(std::make_unique<CountedDialog>());
    AddArmedDialog(std::make_unique<CountedDialog>());
    ASSERT_EQ(s_DialogsAlive, 2);

    CloseAllLessonDialogs();
    EXPECT_EQ(GetLessonBox(), nullptr);
    EXPECT_EQ(GetCpuTurnBalloon(), nullptr);
    EXPECT_FALSE(IsGraveyardDialogOpen(PLAYER_CPU));
    EXPECT_EQ(GetTargetPrompt(), nullptr);
    EXPECT_EQ(s_DialogsAlive, 0);
    EXPECT_FALSE(GetGameDisplay()->IsWindowRegistered(box));
    EXPECT_FALSE(GetGameDisplay()->IsWindowRegistered(balloon));

    // The later steps of the shutdown find nothing left to delete.
    CloseAllLessonDialogs();
    ResetCpuPhysicalTurn();
    DeleteLessonBox();
}

TEST_F(CloseAllLessonDialogsTest, NothingOpenIsNothingToDo)
{
    CloseAllLessonDialogs();
    EXPECT_EQ(GetLessonBox(), nullptr);
    EXPECT_EQ(GetCpuTurnBalloon(), nullptr);
}

} // namespace
