#include "cards/CameraBehaviour.h"
#include "cards/TableScene.h"
#include "rules/PlayerState.h"
#include "tests/cards/TableBehaviourFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using tabletest::TableBehaviourTest;

std::vector<std::string>& Trace()
{
    static std::vector<std::string> s_trace;
    return s_trace;
}

template <const char* NAME>
void Record()
{
    Trace().push_back(NAME);
}

constexpr char VOICE[] = "voice", MAT[] = "mat", RESET[] = "reset", POP[] = "pop", WINDOWS[] = "windows",
               CLOSEUP[] = "closeup", PROMPT[] = "prompt", CENSUS[] = "census", ONLINE[] = "online",
               PHYSICAL[] = "physical", GRAVES[] = "graves", ACTIONABLE[] = "actionable", SELECTED[] = "selected",
               RESPOND[] = "respond", PAYMENT[] = "payment", MANA[] = "mana", LINKS[] = "links", AVAIL[] = "avail",
               SETTINGS[] = "settings", ADVISOR[] = "advisor", SITUATION[] = "situation", QUIT[] = "quit",
               LOG[] = "log";

class CameraBehaviourTest : public TableBehaviourTest {
protected:
    void SetUp() override
    {
        TableBehaviourTest::SetUp();
        m_Saved = GetCameraSteps();
        CameraSteps& steps = GetCameraSteps();
        steps = {Record<VOICE>,    Record<MAT>,     Record<RESET>,      Record<POP>,      Record<WINDOWS>,
                 Record<CLOSEUP>,  Record<PROMPT>,  Record<CENSUS>,     Record<ONLINE>,   Record<PHYSICAL>,
                 Record<GRAVES>,   Record<ACTIONABLE>, Record<SELECTED>, Record<RESPOND>, Record<PAYMENT>,
                 Record<MANA>,     Record<LINKS>,   Record<AVAIL>,      Record<SETTINGS>, Record<ADVISOR>,
                 Record<SITUATION>, Record<QUIT>,   Record<LOG>};
        Trace().clear();
        m_Camera = SpawnActor(u"camera", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_Human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_Cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(m_Human, m_Cpu);
        GetPlayerState(0)->SetLife(20, true);
        GetPlayerState(1)->SetLife(20, true);
    }

    void TearDown() override
    {
        GetCameraSteps() = m_Saved;
        GetPlayerState(0)->SetLife(20, true);
        TableBehaviourTest::TearDown();
    }

    std::vector<std::string> RunOnce()
    {
        Trace().clear();
        CameraBehaviour(m_Camera);
        return Trace();
    }

    CameraSteps m_Saved;
    Actor* m_Camera = nullptr;
    Actor* m_Human = nullptr;
    Actor* m_Cpu = nullptr;
};

using Steps = std::vector<std::string>;

TEST_F(CameraBehaviourTest, StepOrderPerBranch)
{
    EXPECT_EQ((m_Camera->m_Flags & ACTOR_FLAG_SUSPENDED), 0u);
    // Table shown, game not started: table steps only.
    EXPECT_EQ(RunOnce(), (Steps{"voice", "mat", "reset", "pop", "windows", "closeup", "prompt", "physical", "quit"}));
    EXPECT_NE((m_Camera->m_Flags & ACTOR_FLAG_SUSPENDED), 0u);

    GetTableFlow().gameStarted = true;
    EXPECT_EQ(RunOnce(), (Steps{"voice", "mat", "reset", "pop", "windows", "closeup", "prompt", "physical", "payment",
                                "mana", "links", "avail", "settings", "advisor", "situation", "quit"}));

    SetMode(3);
    EXPECT_EQ(RunOnce(), (Steps{"voice", "mat", "reset", "pop", "windows", "closeup", "prompt", "online", "graves",
                                "actionable", "selected", "respond", "mana", "links", "avail", "settings", "advisor",
                                "quit", "log"}));

    // A player who lost stops the game steps; the table is still drawn.
    SetMode(1);
    GetPlayerState(0)->SetLife(0, false);
    EXPECT_EQ(RunOnce(), (Steps{"voice", "mat", "reset", "pop", "windows", "closeup", "prompt", "physical",
                                "situation", "quit"}));

    // Table inactive: the mat and the clock only.
    GetGameDisplay()->m_SceneTag = 0;
    EXPECT_EQ(RunOnce(), (Steps{"voice", "mat"}));

    // No camera: the voice queue and the mat still run.
    GetGameDisplay()->m_SceneTag = 1;
    Trace().clear();
    CameraBehaviour(nullptr);
    EXPECT_EQ(Trace(), (Steps{"voice", "mat"}));

    // A pending switch: nothing at all.
    s_RequestedGameMode = 0;
    EXPECT_TRUE(RunOnce().empty());
}

TEST_F(CameraBehaviourTest, PaymentInProgressSkipsTheManaClick)
{
    GetTableFlow().gameStarted = true;
    GetTableFlow().paymentInProgress = true;
    const Steps steps = RunOnce();
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "mana"), 0);
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "links"), 1);
}

TEST_F(CameraBehaviourTest, FrameRateSamplesOnlyAfterMoreThan1000Ms)
{
    RestartCameraClock();
    s_FramesPerSecond = 0.0f;
    CameraBehaviour(m_Camera);  // starts the clock
    for (int i = 0; i < 9; ++i) {
        plat::headless::AdvanceTime(100);
        CameraBehaviour(m_Camera);
    }
    plat::headless::AdvanceTime(100);  // exactly 1000 ms
    CameraBehaviour(m_Camera);
    EXPECT_EQ(s_FramesPerSecond, 0.0f);
    EXPECT_EQ(g_FrameMilliseconds, 100.0f);
    plat::headless::AdvanceTime(1);
    CameraBehaviour(m_Camera);
    EXPECT_EQ(s_FramesPerSecond, 12.0f);
}

TEST_F(CameraBehaviourTest, RestartPutsTheMaximumRateBack)
{
    s_FramesPerSecond = 7.0f;
    RestartCameraClock();
    EXPECT_EQ(s_FramesPerSecond, s_MaxFramesPerSecond);
}

} // namespace
