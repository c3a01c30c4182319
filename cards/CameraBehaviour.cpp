#include "cards/CameraBehaviour.h"

#include "cards/CardPicking.h"
#include "cards/CardWindows.h"
#include "cards/GameLog.h"
#include "cards/TableDrawing.h"
#include "cards/TableInput.h"
#include "cards/TableReset.h"
#include "cards/TableScene.h"
#include "engine/core/Easing.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/Intro.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TableLessonCalls.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/BoardSteps.h"
#include "rules/CombatLinks.h"
#include "rules/HumanPayment.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SelectedCard.h"
#include "rules/StackPrompts.h"
#include "rules/TableSelection.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace {

constexpr int STATE_COMBAT = 7;
constexpr int FIRST_BLOCK_PHASE = 4;
constexpr int LAST_BLOCK_PHASE = 8;
constexpr std::uint32_t SAMPLE_PERIOD_MS = 1000;

struct FrameRateCounter {
    std::uint32_t now = 0;
    std::uint32_t difference = 0;
    std::uint32_t previous = 0;
    std::uint32_t accumulated = 0;
    int frames = 0;
    bool started = false;
};

FrameRateCounter s_Counter;
bool s_SituationChanged = true;
std::array<int, 12> s_TableTextures{};

void DrawMatAndHud()
{
    if (GameDisplay* const display = GetGameDisplay())
        display->DrawMatAndHud();
}

void ResetFlowFrameWords()
{
    TableFlowState& flow = GetTableFlow();
    SetCardBeingDrawn(nullptr);
    flow.onlineFrameWords = {};
}

void HandleNoManaClick()
{
    ManaCost produced;
    HandleManaClick(produced);
}

void DrawLessonBlockLinks()
{
    const Actor* const human = GetHumanPlayerActor();
    const Actor* const cpu = GetCpuPlayerActor();
    // Every block shows while the defender answers an attack: the CPU's blocks against the learner's attack
    // until they are settled, the learner's own while it is still choosing them.
    const bool humanAttacks = human != nullptr && human->GetState() == STATE_COMBAT &&
                              (s_CpuBlockStep == 1 || s_CpuBlockStep == 2);
    const bool cpuAttacks = cpu != nullptr && cpu->GetState() == STATE_COMBAT && s_HumanBlockStep == 1;
    if (IsPhysicalLesson() && (humanAttacks || cpuAttacks)) {
        DrawBlockLinks();
        return;
    }
    CardActor* const pointed = GetTableInput().pointedCard;
    const int phase = GetGameDisplay()->m_CurrentPhase;
    if (pointed != nullptr && phase >= FIRST_BLOCK_PHASE && phase <= LAST_BLOCK_PHASE && !ShouldDrawBlockLink(pointed))
        DrawAttackerBlockLinks(pointed);
}

void UpdateAvailableMana()
{
    UpdateHumanAvailableMana();
    UpdateCpuAvailableMana();
}

void DetectLessonSituationChange()
{
    TableFlowState& flow = GetTableFlow();
    const TableLessonCalls& lesson = g_TableLessonCalls;
    s_SituationChanged = lesson.DetectSituationChange != nullptr && lesson.DetectSituationChange(flow.advisorPending);
    flow.advisorPending = false;
}

// The physical quit button's warning, once answered: Yes leaves the table for the menus, anything else gives the
// button back.
void AnswerQuitWarning()
{
    GameDisplay* const display = GetGameDisplay();
    const Messagebox* const box = GetQuitWarningBox();
    if (box == nullptr || !display->IsWindowRegistered(box) || box->GetAnswer() < 0)
        return;
    const int answer = box->GetAnswer();
    DeleteQuitWarningBox();
    if (answer != 0) {
        display->SetQuitButtonDisabled(false);
        return;
    }
    ResetTable(0);
    display->m_SceneTag = 0;
    ResetHover();
    display->SetScreen(1, false);
}

void Run(void (*step)())
{
    if (step != nullptr)
        step();
}

// The lesson's steps are looked up when they run: the lessons fill their calls at start-up, after this table.
CameraSteps MakeRealSteps()
{
    CameraSteps steps;
    steps.UpdateVoiceQueue = ::UpdateVoiceQueue;
    steps.DrawMatAndHud = DrawMatAndHud;
    steps.ResetFlowFrameWords = ResetFlowFrameWords;
    steps.PopNextLibraryCard = ::PopNextLibraryCard;
    // Only the frame's own windows go: the shown game windows stay with the toolkit.
    steps.RebuildCardWindows = ::RebuildCardWindows;
    steps.BindCloseUpWindow = [] { UpdateCloseUpWindow(&GetPreviewCopy(), GetTableInput().pickingReady != 0); };
    steps.UpdateStackPrompt = ::UpdateStackPrompt;
    steps.UpdateBoardCensus = ::UpdateBoardCensus;
    steps.DrawOnlineTable = ::DrawOnlineTable;
    steps.DrawPhysicalTable = ::DrawPhysicalTable;
    steps.LayOutGraveyardLists = ::LayOutOnlineGraveyards;
    steps.BuildActionableCards = [] { Run(g_TableLessonCalls.BuildActionableCards); };
    steps.ProcessSelectedCard = ::ProcessSelectedCard;
    steps.CpuOnlineRespond = [] {
        if (g_TableLessonCalls.CpuOnlineRespond != nullptr)
            g_TableLessonCalls.CpuOnlineRespond();
    };
    steps.UpdatePhysicalPayment = [] { Run(g_TableLessonCalls.UpdatePhysicalPayment); };
    steps.HandleManaClick = HandleNoManaClick;
    steps.DrawBlockLinks = DrawLessonBlockLinks;
    steps.UpdateAvailableMana = UpdateAvailableMana;
    steps.OnlineAdvisor = [] { Run(g_TableLessonCalls.OnlineAdvisor); };
    steps.DetectSituationChange = DetectLessonSituationChange;
    steps.AnswerQuitWarning = AnswerQuitWarning;
    steps.DrawGameLog = GameLog::Draw;
    return steps;
}

CameraSteps s_Steps = MakeRealSteps();

void FirstFrame(Actor& camera)
{
    camera.m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    camera.m_Flags |= ACTOR_FLAG_SUSPENDED;
    static constexpr std::array<std::u16string_view, 12> NAMES = {
        u"lilnums", u"lilnums", u"shield", u"cardback", u"empty", u"damage", u"arrowleftup", u"arrowleftdown",
        u"arrowrightup", u"arrowrightdown", u"cardglow", u"cardglow_t"};
    for (std::size_t i = 0; i < NAMES.size(); ++i)
        s_TableTextures[i] = GetTextureByName(NAMES[i]);
    TableFlowState& flow = GetTableFlow();
    flow.onlineHumanSubState = 0;
    flow.physicalPending = false;
    flow.pendingDrawCard = nullptr;
    flow.demoHand = nullptr;
    flow.markedActors.clear();
    flow.actorLinks.clear();
}

void SampleFrameRate()
{
    FrameRateCounter& counter = s_Counter;
    counter.now = plat::TimeGetTime();
    if (!counter.started) {
        counter.previous = counter.now;
        counter.started = true;
    }
    counter.difference = counter.now - counter.previous;
    counter.accumulated += counter.difference;
    ++counter.frames;
    if (counter.accumulated > SAMPLE_PERIOD_MS) {
        s_FramesPerSecond = static_cast<float>(counter.frames);
        counter.frames = 0;
        counter.accumulated = 0;
    }
    counter.previous = counter.now;
    g_FrameMilliseconds = static_cast<float>(counter.difference);
}

void RunTableSteps()
{
    Run(s_Steps.ResetFlowFrameWords);
    Run(s_Steps.PopNextLibraryCard);
    Run(s_Steps.RebuildCardWindows);
    if (IntroGate(15) || IntroGate(9))
        Run(s_Steps.BindCloseUpWindow);
    Run(s_Steps.UpdateStackPrompt);
    if (IsIntroRunning() && !IntroGate(15))
        Run(s_Steps.UpdateBoardCensus);
    else if (IsOnlineLesson())
        Run(s_Steps.DrawOnlineTable);
    else if (s_GameMode > 0)
        Run(s_Steps.DrawPhysicalTable);
    if (IsOnlineLesson())
        Run(s_Steps.LayOutGraveyardLists);
}

bool GameIsRunning()
{
    if (!GetTableFlow().gameStarted || GetHumanPlayerActor() == nullptr || GetCpuPlayerActor() == nullptr)
        return false;
    return !GetPlayerState(0)->HasLost() && !GetPlayerState(1)->HasLost();
}

void RunGameSteps()
{
    TableInputState& input = GetTableInput();
    CardActor* const hovered = input.hoveredCard;
    if (IsOnlineLesson()) {
        // The selected card is the one under the mouse: the selection and the mana click below read it, and
        // without it no land could ever be tapped to pay.
        if (!GetTableSelection().xCostCollecting)
            GetTableSelection().selectedCard = input.pointedCard;
        Run(s_Steps.BuildActionableCards);
        Run(s_Steps.ProcessSelectedCard);
        Run(s_Steps.CpuOnlineRespond);
    } else {
        Run(s_Steps.UpdatePhysicalPayment);
    }
    input.hoveredCard = input.pointedCard;
    if (!GetTableFlow().paymentInProgress)
        Run(s_Steps.HandleManaClick);
    Run(s_Steps.DrawBlockLinks);
    input.hoveredCard = hovered;
    Run(s_Steps.UpdateAvailableMana);
    Run(s_Steps.ShowSettingsExplanation);
    Run(s_Steps.OnlineAdvisor);
}

} // namespace

CameraSteps& GetCameraSteps()
{
    return s_Steps;
}

bool IsSituationChanged()
{
    return s_SituationChanged;
}

void RestartCameraClock()
{
    s_Counter = FrameRateCounter();
    s_FramesPerSecond = s_MaxFramesPerSecond;
    ResetTableDrawing();
}

void CameraBehaviour(Actor* camera)
{
    if (s_RequestedGameMode != s_GameMode)
        return;
    if (camera != nullptr && (camera->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0)
        FirstFrame(*camera);
    Run(s_Steps.UpdateVoiceQueue);
    Run(s_Steps.DrawMatAndHud);
    if (s_RequestedGameMode != s_GameMode)
        RestartCameraClock();
    SampleFrameRate();
    // Without a camera there is no table: the steps below need the actors.
    if (camera == nullptr || GetGameDisplay()->m_SceneTag == 0)
        return;
    RunTableSteps();
    if (GameIsRunning())
        RunGameSteps();
    if (IsPhysicalLesson() && GetTableFlow().gameStarted)
        Run(s_Steps.DetectSituationChange);
    Run(s_Steps.AnswerQuitWarning);
    if (IsOnlineLesson())
        Run(s_Steps.DrawGameLog);
}
