// The per-frame controller of the game table: the behaviour of the actor type "camera", run by the frame tick
// after every other actor, and with no actor at all while no game scene runs.
#pragma once

class Actor;

// Measures the frame rate, lays out and draws the table, and runs the rules' and lessons' per-frame steps in a
// fixed order. With no camera it keeps only the voice queue and the mat running.
void CameraBehaviour(Actor* camera);
bool IsSituationChanged();

// The steps the camera runs, in its order. Each entry is the step's function; a step left null is skipped.
struct CameraSteps {
    void (*UpdateVoiceQueue)() = nullptr;
    void (*DrawMatAndHud)() = nullptr;
    void (*ResetFlowFrameWords)() = nullptr;
    void (*PopNextLibraryCard)() = nullptr;
    void (*RebuildCardWindows)() = nullptr;
    void (*BindCloseUpWindow)() = nullptr;
    void (*UpdateStackPrompt)() = nullptr;
    void (*UpdateBoardCensus)() = nullptr;
    void (*DrawOnlineTable)() = nullptr;
    void (*DrawPhysicalTable)() = nullptr;
    void (*LayOutGraveyardLists)() = nullptr;
    void (*BuildActionableCards)() = nullptr;
    void (*ProcessSelectedCard)() = nullptr;
    void (*CpuOnlineRespond)() = nullptr;
    void (*UpdatePhysicalPayment)() = nullptr;
    void (*HandleManaClick)() = nullptr;
    void (*DrawBlockLinks)() = nullptr;
    void (*UpdateAvailableMana)() = nullptr;
    void (*ShowSettingsExplanation)() = nullptr;
    void (*OnlineAdvisor)() = nullptr;
    void (*DetectSituationChange)() = nullptr;
    void (*AnswerQuitWarning)() = nullptr;
    void (*DrawGameLog)() = nullptr;
};
// The table the camera runs; start-up values are the real steps.
CameraSteps& GetCameraSteps();
