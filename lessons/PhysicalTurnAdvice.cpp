#include "lessons/PhysicalTurnAdvice.h"

#include "cards/CardActor.h"
#include "cards/TableReset.h"
#include "cards/TableScene.h"
#include "engine/core/LanguageManager.h"
#include "engine/core/StringTable.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gamestate/LessonState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TurnAdviceState.h"
#include "gui/Messagebox.h"
#include "lessons/CardDropPhysical.h"
#include "lessons/CardTapPhysical.h"
#include "lessons/CombatAdvice.h"
#include "lessons/LessonBox.h"
#include "lessons/PhysicalCombatAdvice.h"
#include "lessons/StepAdvice.h"
#include "lessons/TurnAdvice.h"
#include "rules/BoardQueries.h"
#include "rules/CpuResponse.h"
#include "rules/PlayerState.h"
#include "rules/SelectedCard.h"
#include "rules/SpellStack.h"
#include "rules/TargetPrompt.h"

namespace {

constexpr int STEP_CLEANUP = 19;
constexpr int EFFECT_GAME_LOST = 23;
constexpr int EFFECT_GAME_WON = 24;
constexpr int KIND_PAYMENT = 8;
constexpr int KIND_ABILITY_PAYMENT = 9;
constexpr int KIND_SACRIFICE = 55;
// The zone the end-of-game box is centred over.
constexpr int TABLE_ZONE = 0;

void StopVoices()
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->StopVoices();
}

void PlayVoice(const char16_t* voice, int times)
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(voice, times, true);
}

void Unregister(Messagebox* box)
{
    GameDisplay* const display = GetGameDisplay();
    if (box != nullptr && display != nullptr && display->IsWindowRegistered(box))
        display->UnregisterWindow(box);
}

// A clicked link label shows as read and opens its explanation.
void OpenClickedLink()
{
    if (!IsLessonBoxShowing())
        return;
    Messagebox* const box = GetLessonBox();
    const int link = box->GetPressedButton();
    if (link < 0)
        return;
    SetWindowColor(box->FindExtraWindowByTag(link), 0, 160, 224, 255);
    box->ClearPressedButton();
    box->OpenExplanation(link);
}

// ---- End of the game ------------------------------------------------------------------------------------------

struct GameOverText {
    const char16_t* key;
    const char16_t* voice;
};

GameOverText GameOverTextFor(bool humanLost, int lostFlag)
{
    const bool decked = lostFlag == LOSS_EMPTY_LIBRARY;
    if (humanLost)
        return decked ? GameOverText{u"PHYSDLG_LostByDecking", u"vo_phys\\LostByDecking.wav"}
                      : GameOverText{u"PHYSDLG_LostByDamage", u"vo_phys\\LostByDamage.wav"};
    return decked ? GameOverText{u"PHYSDLG_WonByDecking", u"vo_phys\\WonByDecking.wav"}
                  : GameOverText{u"PHYSDLG_WonByDamage", u"vo_phys\\WonByDamage.wav"};
}

struct GameOverAnswer {
    int mode;
    int button;
    int screen;
    int returnScreen;  // -1 unchanged
    const char16_t* voice;
};

constexpr GameOverAnswer GAME_OVER_ANSWERS[] = {
    {1, 0, 11, 1, u"vo_phys\\basic_splash_1a.wav"},
    {1, 1, 20, 1, nullptr},
    {1, 2, 21, 1, nullptr},
    {1, 3, 1, -1, nullptr},
    {2, 0, 14, 1, u"vo_phys\\adv_splash1.wav"},
    {2, 1, 11, 1, u"vo_phys\\basic_splash_1a.wav"},
    {2, 2, 1, -1, nullptr},
};

void AnswerGameOver(int answer)
{
    const int mode = s_GameMode;
    ResetTable(0);
    GameDisplay* const display = GetGameDisplay();
    if (display != nullptr)
        display->m_SceneTag = 0;
    for (const GameOverAnswer& row : GAME_OVER_ANSWERS) {
        if (row.mode != mode || row.button != answer)
            continue;
        if (display != nullptr) {
            display->SetScreen(row.screen, false);
            if (row.returnScreen >= 0) {
                display->SetReturnScreen(row.returnScreen);
                ResetHover();
            }
        }
        if (row.voice != nullptr)
            QueueVoice(row.voice, true);
        break;
    }
    Unregister(GetLessonBox());
    DeleteLessonBox();
}

void PlaceGameOverBox(Messagebox& box)
{
    box.SetScaledSize(box.GetWidth(), box.GetHeight() + 16);
    box.CenterOnScreen();
    const GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return;
    const RasterRect& table = display->GetZoneRectByIndex(TABLE_ZONE);
    box.MoveTo(box.GetLeft() + table.left / 2, box.GetTop() + (display->m_Height - table.bottom) / 2, true);
}

void ShowGameOverBox(bool humanLost, int lostFlag)
{
    const GameOverText text = GameOverTextFor(humanLost, lostFlag);
    StopVoices();
    PlayVoice(text.voice, -1);
    static constexpr const char16_t* BASIC_BUTTONS[] = {
        u"PHYSDLG_BASIC_ENDGAME_PlayTutorial1", u"PHYSDLG_BASIC_ENDGAME_ExplainPayForSpells",
        u"PHYSDLG_BASIC_ENDGAME_ExplainCombat", u"PHYSDLG_BUTTON_MainMenu"};
    static constexpr const char16_t* ADVANCED_BUTTONS[] = {u"PHYSDLG_ADVANCED_ENDGAME_PlayTutorial2",
                                                           u"PHYSDLG_ADVANCED_ENDGAME_PlayTutorial1",
                                                           u"PHYSDLG_BUTTON_MainMenu"};
    LessonBoxContent content;
    content.kind = KIND_GAME_OVER;
    content.width = 368;
    content.height = 200;
    content.textKey = text.key;
    if (s_GameMode == 2)
        content.buttons.assign(std::begin(ADVANCED_BUTTONS), std::end(ADVANCED_BUTTONS));
    else
        content.buttons.assign(std::begin(BASIC_BUTTONS), std::end(BASIC_BUTTONS));
    Messagebox* const box = ShowLessonBox(content);
    box->Layout(4, 5);
    box->AutoSize();
    PlaceGameOverBox(*box);
    SpellStack& stack = GetSpellStack();
    if (stack.IsWindowUp())
        stack.CloseWindow();
}

void RunGameOverBox()
{
    if (const Messagebox* const box = GetShownLessonBox(KIND_GAME_OVER)) {
        if (box->GetAnswer() >= 0)
            AnswerGameOver(box->GetAnswer());
        return;
    }
    const PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    const bool humanLost = human.HasLost();
    TurnAdviceState& advice = GetTurnAdviceState();
    if (!advice.gameOverShown) {
        PlayEffect(humanLost ? EFFECT_GAME_LOST : EFFECT_GAME_WON, 255, 0, 0, 0, nullptr);
        advice.gameOverShown = true;
        advice.humanLost = humanLost ? 1 : 0;
        CountGamePlayed(!humanLost);
    }
    const int lostFlag = humanLost ? human.m_LossState : GetPlayerState(PLAYER_CPU)->m_LossState;
    ShowGameOverBox(humanLost, lostFlag);
}

// ---- Instant answers ------------------------------------------------------------------------------------------

bool IsCardPending()
{
    return GetCardBeingPaid() != nullptr || GetUnaffordableCard() != nullptr || GetMistimedCard() != nullptr ||
           GetTableFlow().cardDrawnByHand != nullptr;
}

bool RunInstantAnswerPrompt()
{
    if (IsCardPending())
        return true;
    if (GetShownLessonBox(KIND_PAYMENT) != nullptr || GetShownLessonBox(KIND_ABILITY_PAYMENT) != nullptr ||
        GetShownLessonBox(KIND_SACRIFICE) != nullptr)
        return true;
    if (IsTargetPromptOpen())
        return true;
    if (Messagebox* const box = GetShownLessonBox(KIND_INSTANT_ANSWER)) {
        if (box->GetAnswer() >= 0) {
            SetCanPlayNowFlag(0);
            Unregister(box);
            box->ClearClickedButton();
            CpuRespond(false);
        }
        return true;
    }
    LessonBoxContent content;
    content.kind = KIND_INSTANT_ANSWER;
    content.width = 320;
    content.height = 200;
    content.textKey = u"PHYS_IA_PROMPT";
    content.buttons = {u"STR_Done"};
    ShowLessonBox(content);
    if (!GetSpellStack().HasEntryOfPlayer(PLAYER_HUMAN, false))
        PlayVoice(u"vo_phys\\IA_Prompt.wav", -1);
    return true;
}

// ---- Clean-up -------------------------------------------------------------------------------------------------

bool HasDamagedCreature()
{
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetCardType() == CT_CREATURE && card->IsNotLeaving() && !card->IsHeld() && !card->IsInLibrary() &&
            card->GetDamage() > card->GetShields())
            return true;
    }
    return false;
}

bool RunCleanupBox()
{
    if (Messagebox* const box = GetShownLessonBox(KIND_CLEANUP_DAMAGE)) {
        if (box->GetAnswer() < 0)
            return false;
        StopVoices();
        Unregister(box);
        DeleteLessonBox();
        return true;
    }
    if (!HasDamagedCreature())
        return true;
    LessonBoxContent content;
    content.kind = KIND_CLEANUP_DAMAGE;
    content.width = 200;
    content.height = 200;
    content.textKey = u"STR_Cleanup";
    content.buttons = {u"STR_OK"};
    ShowLessonBox(content);
    PlayVoice(u"vo_phys\\basic_Cleanup.wav", 1);
    return false;
}

const Actor* OwnActor(int side)
{
    return side == PLAYER_HUMAN ? GetHumanPlayerActor() : GetCpuPlayerActor();
}

// Rule 4: the caller's own turn. Sets result and returns true when a rule decided.
bool RunOwnTurnChecks(int side, bool& result)
{
    OpenClickedLink();
    if (CheckDropToAttack(nullptr)) {
        result = false;
        return true;
    }
    if (const Messagebox* const box = GetShownLessonBox(KIND_ATTACK_DROP_ERROR)) {
        result = box->GetAnswer() >= 0;
        if (result)
            CloseLessonBox();
        return true;
    }
    if (GetCanPlayNowFlag() != 0) {
        result = RunInstantAnswerPrompt();
        return true;
    }
    const Actor* const own = OwnActor(side);
    if (own != nullptr && own->GetState() == STEP_CLEANUP) {
        result = RunCleanupBox();
        return true;
    }
    return false;
}

bool RunCpuAnnouncements(Actor* cpu)
{
    if (cpu == nullptr)
        return true;
    switch (cpu->GetState()) {
    case 6:
        return AnnounceCpuAttack(cpu);
    case 7:
        return DeclareCpuAttack(cpu);
    case 13:
        return AdviseCombatDamage(PLAYER_CPU);
    default:
        return true;
    }
}

} // namespace

bool UpdatePhysicalTurnAdvice(int side)
{
    if (GetTableFlow().cardDrawnByHand != nullptr)
        return false;
    const bool humanLost = GetPlayerState(PLAYER_HUMAN)->HasLost();
    const bool cpuLost = GetPlayerState(PLAYER_CPU)->HasLost();
    if (humanLost && cpuLost)
        return false;
    if (humanLost || cpuLost) {
        RunGameOverBox();
        return false;
    }
    const bool ownTurn = side == PLAYER_HUMAN ? s_HumanTurn : s_CpuTurn;
    if (ownTurn) {
        bool result = true;
        if (RunOwnTurnChecks(side, result))
            return result;
    }
    if (s_HumanTurn && IsHumanAttackUnderWay())
        return ExplainCpuBlocks(side);
    if (s_CpuTurn && IsCpuAttackUnderWay())
        return AdviseBlockers(side);
    if (side == PLAYER_HUMAN && s_HumanTurn)
        return RunStepAdvice(const_cast<Actor*>(GetHumanPlayerActor()));
    if (side == PLAYER_CPU && s_CpuTurn)
        return RunCpuAnnouncements(const_cast<Actor*>(GetCpuPlayerActor()));
    return true;
}

void StoreAdviceDelayForLanguage()
{
    const LanguageManager* const languages = GetLanguageManager();
    SetAdviceDelay(GetAdviceDelayForLanguage(languages != nullptr ? languages->GetLanguageId() : 0));
}
