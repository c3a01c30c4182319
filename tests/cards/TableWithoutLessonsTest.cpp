// The table and the rules with no lesson behind them: every call into the lessons is left empty, and the camera's
// real frame, a drag's end and the resolution's waits still run, with the no-lesson answers.
#include "cards/CameraBehaviour.h"
#include "gamestate/RulesLessonCalls.h"
#include "gamestate/TableLessonCalls.h"
#include "rules/PlayerState.h"
#include "rules/StackPrompts.h"
#include "tests/cards/TableBehaviourFixture.h"

namespace {

using tabletest::TableBehaviourTest;

class TableWithoutLessonsTest : public TableBehaviourTest {
protected:
    void SetUp() override
    {
        TableBehaviourTest::SetUp();
        m_Table = g_TableLessonCalls;
        m_Rules = g_RulesLessonCalls;
        g_TableLessonCalls = {};
        g_RulesLessonCalls = {};
        m_Camera = SpawnActor(u"camera", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0),
                        SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0));
        GetPlayerState(0)->SetLife(20, true);
        GetPlayerState(1)->SetLife(20, true);
    }

    void TearDown() override
    {
        g_TableLessonCalls = m_Table;
        g_RulesLessonCalls = m_Rules;
        TableBehaviourTest::TearDown();
    }

    TableLessonCalls m_Table;
    RulesLessonCalls m_Rules;
    Actor* m_Camera = nullptr;
};

TEST_F(TableWithoutLessonsTest, TheTableRunsItsFramesAndDragsWithoutTheLessons)
{
    for (const int mode : {1, 3}) {
        SCOPED_TRACE(mode);
        SetMode(mode);
        GetTableFlow().gameStarted = true;
        GetTableFlow().advisorPending = true;
        for (int frame = 0; frame < 3; ++frame)
            CameraBehaviour(m_Camera);
        // Without an advisor nothing reports a change of situation.
        EXPECT_FALSE(IsSituationChanged());

        CardActor* const card = NewHandCard();
        card->BeginDrag(100, 100);
        card->EndDrag();
    }
}

} // namespace
