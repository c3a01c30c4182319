#include "lessons/UntapDrawPrompts.h"

#include "engine/scene/FrameState.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TurnFlags.h"
#include "gui/Messagebox.h"
#include "lessons/CardDropPhysical.h"
#include "lessons/DrawingHand.h"
#include "lessons/LessonBox.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

int s_bCpuStarted = -1;

namespace {

constexpr int BASIC = 1;
constexpr int ADVANCED = 2;
constexpr int KIND_WRONG_PLACE_DRAW = 2;
constexpr int PROMPT_WIDTH = 240;
constexpr int PROMPT_HEIGHT = 140;

bool IsRegisteredKind(int kind)
{
    return GetShownLessonBox(kind) != nullptr;
}

void ShowPlainBox(int kind, int width, int height, const char16_t* key, bool keepNominalHeight = false)
{
    LessonBoxContent content;
    content.kind = kind;
    content.width = width;
    content.height = height;
    content.textKey = key;
    content.keepNominalHeight = keepNominalHeight;
    ShowLessonBox(content);
}

void PlayVoice(const char16_t* clip, int maxTimes, bool stop)
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(clip, maxTimes, stop);
}

} // namespace

void SetFirstPlayer(int cpuFirst)
{
    if (cpuFirst != 0 && cpuFirst != 1)
        return;
    HandTurnTo(cpuFirst == 1 ? PLAYER_CPU : PLAYER_HUMAN);
    SetDrawHandStopped(cpuFirst == 1);
    if (PlayerState* const human = GetPlayerState(PLAYER_HUMAN))
        human->m_CardsToDraw = cpuFirst;
    s_bCpuStarted = cpuFirst;
}

bool IsEarlyBasicTurn()
{
    if (s_GameMode != BASIC)
        return false;
    return s_HumanTurnCount <= (s_bCpuStarted != 0 ? 4 : 5);
}

bool IsBasicLessonStep(int state)
{
    return s_GameMode == BASIC && (state == 6 || state == 14 || state == 15 || state == 17);
}

bool IsUntapKind(int kind)
{
    return kind == KIND_UNTAP_PROMPT || (kind >= 36 && kind <= 40);
}

bool ShowUntapPrompt()
{
    ShowPlainBox(KIND_UNTAP_PROMPT, PROMPT_WIDTH, PROMPT_HEIGHT, u"PHYSDLG_Untap");
    PlayVoice(u"vo_phys\\UntapPrompt.wav", 1, false);
    return true;
}

bool ShowSkippedUntapError()
{
    if (IsAdviceBlocked())
        return false;
    if (IsLessonBoxShowing() && IsUntapKind(GetLessonBox()->GetKindNumber()))
        return false;
    if (s_GameMode == ADVANCED)
        return ShowUntapPrompt();
    if (s_GameMode != BASIC)
        return false;
    ShowPlainBox(KIND_SKIPPED_UNTAP, 300, 200, u"PHYSDLG_BASIC_SkippedUntapStep");
    QueueVoice(u"vo_phys\\basic_untap_err.wav", true);
    return true;
}

bool ShowSkippedDrawError()
{
    // The turn's card waiting on the pile is the draw still to be made, not a draw under way.
    if (GetCardBeingPaid() != nullptr || GetUnaffordableCard() != nullptr || GetMistimedCard() != nullptr ||
        IsDrawnCardInFlight())
        return false;
    if (s_GameMode == ADVANCED)
        return ShowDrawStepPrompt();
    if (s_GameMode != BASIC)
        return false;
    ShowPlainBox(KIND_SKIPPED_DRAW, 300, 200, u"PHYSDLG_BASIC_SkippedDrawStep");
    QueueVoice(u"vo_phys\\basic_draw_err.wav", true);
    return true;
}

bool ShowDrawStepPrompt()
{
    if (IsRegisteredKind(KIND_WRONG_PLACE_DRAW))
        return true;
    if (GetSpellStack().IsWindowUp())
        return false;
    const char16_t* key = u"PHYSDLG_DrawPhase";
    const char16_t* clip = u"vo_phys\\adv_drawphase.wav";
    if (IsEarlyBasicTurn()) {
        const int threshold = s_bCpuStarted != 0 ? 2 : 3;
        const bool later = s_HumanTurnCount > threshold;
        key = later ? u"PHYSDLG_BASIC_DrawStep2" : u"PHYSDLG_BASIC_DrawStep1";
        clip = later ? u"vo_phys\\basic_draw3-4.wav" : u"vo_phys\\basic_draw1-2.wav";
    }
    PlayVoice(clip, 1, true);
    ShowPlainBox(KIND_DRAW_STEP, PROMPT_WIDTH, PROMPT_HEIGHT, key, true);
    return true;
}
