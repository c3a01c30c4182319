#include "lessons/HumanPhysicalTurn.h"

#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "cards/TableInput.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/Intro.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gui/DialogManager.h"
#include "gui/ExplanatoryWindow.h"
#include "gui/Messagebox.h"
#include "lessons/Advice.h"
#include "lessons/CardDialogRoster.h"
#include "lessons/HandDemos.h"
#include "lessons/HumanTurnSteps.h"
#include "lessons/LessonBox.h"
#include "lessons/PhysicalBlocks.h"
#include "lessons/PhysicalLesson.h"
#include "lessons/TableFlow.h"
#include "lessons/TurnAdvice.h"
#include "rules/Decks.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"

namespace {

constexpr int BOX_ERROR = 11;
constexpr int BOX_CLEANUP = 14;
constexpr int STATE_WAITING = 13;
constexpr int OPENING_HAND = 7;

struct CleanupRequest {
    int kind = -1;
    const char16_t* key = nullptr;
    const char16_t* voice = nullptr;
    const char16_t* name = nullptr;
};

bool AnyPlayerLost()
{
    return GetPlayerState(PLAYER_HUMAN)->HasLost() || GetPlayerState(PLAYER_CPU)->HasLost();
}

bool AnyPlayerWaiting()
{
    const Actor* const human = GetHumanPlayerActor();
    const Actor* const cpu = GetCpuPlayerActor();
    return (human != nullptr && human->GetState() == STATE_WAITING) ||
           (cpu != nullptr && cpu->GetState() == STATE_WAITING);
}

bool IsStackIdle()
{
    const SpellStack& stack = GetSpellStack();
    return stack.GetCount() == 0 && !stack.IsPaused();
}

// The card dialogs wait only while a resolution hands over to its prompts: the stack advice on a CPU spell
// waits for a queued dialog, so the queue must also be served while that spell stands on the stack.
bool MayServeCardDialogs()
{
    const SpellStack& stack = GetSpellStack();
    return !stack.m_ResolutionPaused && stack.m_PausedWord == 0;
}


void StartGame(Actor* actor)
{
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    s_ForcedHumanState = 0;
    human.m_GraveyardCount = 0;
    s_FirstBlockShown = 0;
    human.m_NextDrawIndex = OPENING_HAND;
    human.SetLife(STARTING_LIFE, true);
    human.SetDisplayedLife(STARTING_LIFE);
    human.m_CardsToDraw = 1;
    ClearPlayerManaPool(PLAYER_HUMAN);
    actor->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    actor->SetState(0);
    actor->m_Countdown = 0;
    actor->m_BehaviourData = 0;
    s_HumanBlockStep = 0;
    s_HumanTurnCount = 0;
    DeleteLessonBox();
    SetCardBeingPaid(nullptr);
    SetSpellPaymentUnderWay(false);
    GetTableFlow().castingCard = nullptr;
    // A new game shows every explanation link unvisited again.
    ResetExplanationLinksVisited();
    BuildCardSpecificDialogs();
    human.SetDrewFromEmptyLibrary(false);
}

CleanupRequest FindCleanupRequest()
{
    if (CardActor* const aura = FindPendingAuraOfLeavingHost(PLAYER_HUMAN)) {
        const CardActor* const host = aura->GetHost();
        return {0, u"PHYSDLG_ERROR_AbandonedCreatureEnchantment", u"vo_phys\\tograve_OrphanedEnch.wav",
                host != nullptr ? host->GetNameField() : u""};
    }
    const int permanents = CountPendingPermanents(PLAYER_HUMAN);
    const int pending = CountPendingCards(PLAYER_HUMAN);
    const int creatures = CountPendingCreatures(PLAYER_HUMAN);
    if (permanents >= 1) {
        const CardActor* const last = g_CounteredCard;
        const bool countered = last != nullptr && last->IsExitMoveBackward();
        if (pending == 1) {
            if (countered)
                return {1, u"PHYSDLG_COUNTEREDCARDCLEANUP", u"vo_phys\\tograve_Countered.wav"};
            if (creatures == 1)
                return {1, u"PHYSDLG_DEADCREATURECLEANUP", u"vo_phys\\tograve_Destroyed_1.wav"};
            return {1, u"PHYSDLG_DEADCARDCLEANUP", u"vo_phys\\tograve_Destroyed_1.wav"};
        }
        if (countered)
            return {1, u"PHYSDLG_COUNTEREDANDDEADCARDCLEANUP", u"vo_phys\\tograve_DestroyedAndCountered.wav"};
        if (creatures == pending)
            return {1, u"PHYSDLG_DEADCREATURECLEANUP_MORETHANONE", u"vo_phys\\tograve_Destroyed_N.wav"};
        return {1, u"PHYSDLG_DEADCARDCLEANUP_MORETHANONE", u"vo_phys\\tograve_Destroyed_N.wav"};
    }
    const int spells = CountPendingNonPermanents(PLAYER_HUMAN);
    if (IsLifeTokenReady() && spells == 1)
        return {2, u"PHYSDLG_USEDSPELLCLEANUP", u"vo_phys\\tograve_UsedSpell_1.wav"};
    if (IsLifeTokenReady() && spells >= 2)
        return {2, u"PHYSDLG_USEDSPELLCLEANUP_MORETHANONE", u"vo_phys\\tograve_UsedSpell_N.wav"};
    return {};
}

void ShowCleanupBox(const CleanupRequest& request)
{
    const char16_t* const format = GetString(request.key);
    const std::u16string_view text = format != nullptr ? format : request.key;
    LessonBoxContent content;
    content.kind = BOX_CLEANUP;
    content.width = 200;
    content.height = 200;
    content.builtText = request.name != nullptr ? FormatString(text, {request.name}) : std::u16string(text);
    ShowLessonBox(content);
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(request.voice, -1, true);
}

// True when a request was raised (or kept) in this frame.
bool RequestCleanup()
{
    if (AnyPlayerWaiting() || AnyPlayerLost() || !IsStackIdle() || IsAdviceBlocked() ||
        CountPendingCards(PLAYER_HUMAN) < 1)
        return false;
    const CleanupRequest request = FindCleanupRequest();
    if (request.kind < 0)
        return false;
    if (s_CleanupKind == request.kind && GetShownLessonBox(BOX_CLEANUP) != nullptr)
        return true;
    s_CleanupKind = request.kind;
    ShowCleanupBox(request);
    return true;
}

// False when the frame ends here.
bool WaitForTable()
{
    if (AnyPlayerWaiting() || AnyPlayerLost())
        return true;
    const bool nothingPending = CountPendingCards(PLAYER_HUMAN) == 0 && CountPendingCards(PLAYER_CPU) == 0;
    if (nothingPending && CpuListEmpty() && IsLifeTokenReady() && IsLifeTokenIdle())
        return true;
    if (nothingPending && !IsLifeTokenIdle())
        DeleteLessonBox();
    return false;
}

// The error box of kind 11 holds the frame until answered; its links open their explanations.
bool WaitForErrorBox()
{
    Messagebox* const box = GetShownLessonBox(BOX_ERROR);
    if (box == nullptr)
        return false;
    if (box->GetAnswer() < 0) {
        const int link = box->GetPressedButton();
        if (link >= 0) {
            SetWindowColor(box->FindExtraWindowByTag(link), 0, 160, 224, 255);
            box->ClearPressedButton();
            box->OpenExplanation(link);
        }
        HideCurrentDialog();
        return true;
    }
    if (HintRegistry* const hints = GetHintRegistry())
        hints->StopVoices();
    GetGameDisplay()->UnregisterWindow(box);
    return false;
}

// The draw of the human's turn: the card waits on the library pile until the learner drags it to the hand.
void DrawTurnCard(Actor* actor)
{
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    if (human.m_CardsToDraw <= 0 || actor->GetState() == 0)
        return;
    ++actor->m_Countdown;
    const int count = std::min(human.m_LibraryCount, LIBRARY_CAPACITY);
    if (human.m_NextDrawIndex >= count) {
        human.SetDrewFromEmptyLibrary(true);
        return;
    }
    MouseState.leftClicked = 0;
    if (--human.m_CardsToDraw == 0) {
        s_PastCombat = false;
        if (actor->GetState() == HUMAN_STEP_OPENING_DRAW) {
            ++actor->m_BehaviourData;
            actor->SetState(0);
        }
    }
    CardActor* const card = CreateCardActor(human.m_Library[static_cast<std::size_t>(human.m_NextDrawIndex)],
                                            PLAYER_HUMAN);
    ++human.m_NextDrawIndex;
    GetTableFlow().cardDrawnByHand = card;
    if (card == nullptr)
        return;
    card->SetHeld(true);
    card->SetOwner(PLAYER_HUMAN);
    if (const GameDisplay* const display = GetGameDisplay()) {
        RasterRect pile;
        display->GetPlayerLibraryRect(pile, true);
        card->m_Position.x = static_cast<float>(pile.left);
        card->m_Position.y = static_cast<float>(pile.top);
        card->m_PreviousPosition = card->m_Position;
    }
}

} // namespace

void HumanPhysicalTurn(Actor* actor)
{
    if (s_ForcedHumanState != 0) {
        actor->SetState(s_ForcedHumanState);
        return;
    }
    const GameDisplay* const display = GetGameDisplay();
    if (GetQuitWarningBox() != nullptr || display == nullptr || !display->m_TableLaidOut)
        return;
    if ((actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0) {
        SetHumanPlayerActor(actor);
        if (!IntroGate(15))
            return;
        StartGame(actor);
    }
    if (!IsIntroFinished())
        return;
    TableFlowState& flow = GetTableFlow();
    flow.gameStarted = true;

    const bool cardsBusy = GetCardBeingPaid() != nullptr || flow.cardDrawnByHand != nullptr ||
                           GetPaymentState().paying || IsSpellPaymentUnderWay() || flow.castingCard != nullptr;
    if (!cardsBusy && MayServeCardDialogs() && UpdateDialogQueue()) {
        DeleteLessonBox();
        if (IsPriorityDialogShown() || HasPriorityDialogQueued())
            return;
    }
    if (!RequestCleanup()) {
        if (GetShownLessonBox(BOX_CLEANUP) != nullptr && CountPendingCards(PLAYER_HUMAN) == 0)
            CloseLessonBox();
    }
    if (CountPendingCards(PLAYER_HUMAN) > 0 || !IsLifeTokenReady())
        HideCurrentDialog();
    if (!WaitForTable())
        return;
    if (IsStackIdle()) {
        if (WaitForErrorBox())
            return;
        if (!UpdatePhysicalTurnAdvice(0))
            return;
    }
    if (GetSpellStack().GetTopController() != 0 || AnyPlayerLost())
        return;
    if ((s_HumanBlockStep == 1 || s_HumanBlockStep == 2) && DeclarePhysicalBlocks())
        return;
    if (!s_HumanTurn)
        return;
    DrawTurnCard(actor);
    RunHumanTurnStep(actor);
}

void ResetHumanPhysicalTurn()
{
    ResetPhysicalBlocks();
}
