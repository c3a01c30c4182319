#include "lessons/HumanTurnSteps.h"

#include "cards/CardActor.h"
#include "cards/TableInput.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/Wave.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "lessons/Advice.h"
#include "lessons/LessonBox.h"
#include "lessons/LessonFlow.h"
#include "lessons/PaymentAdvice.h"
#include "lessons/TableFlow.h"
#include "lessons/TurnAdvice.h"
#include "lessons/UntapDrawPrompts.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuResponse.h"
#include "rules/HumanPayment.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"
#include "rules/Targets.h"
#include "rules/Usability.h"

namespace {

constexpr int BOX_PAYMENT = 8;
constexpr int BOX_MAIN1 = 4;
constexpr int BOX_MAIN1_ALT = 44;
constexpr int BOX_MAIN2 = 6;
constexpr int BOX_ATTACK_PROMPT = 49;
constexpr int BOX_CPU_ANSWER = 51;
constexpr int ATTACK_EFFECT = 27;

void StopVoices()
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->StopVoices();
}

bool IsStackBusy()
{
    const SpellStack& stack = GetSpellStack();
    return stack.GetTopController() != 0 || stack.GetCount() != 0 || stack.IsPaused();
}

// The answer of a shown lesson box of that kind, or -1.
int AnswerOf(int kind)
{
    const Messagebox* const box = GetShownLessonBox(kind);
    return box != nullptr ? box->GetAnswer() : -1;
}

void DiscardLessonBox()
{
    if (Messagebox* const box = GetLessonBox()) {
        if (GameDisplay* const display = GetGameDisplay(); display != nullptr && display->IsWindowRegistered(box))
            display->UnregisterWindow(box);
        DeleteLessonBox();
    }
}

// True while the warning waits for the learner; then mana burns.
bool BurnMana(const char16_t* key)
{
    if (s_GameMode == 1 && ShowManaBurnWarning(key))
        return true;
    StopVoices();
    ApplyManaBurn(PLAYER_HUMAN);
    return false;
}

void BeginAttack(Actor* actor)
{
    s_AttackStep = 0;
    s_CpuBlockStep = 0;
    actor->SetState(HUMAN_STEP_ATTACK);
}

void CancelCasting(CardActor* card)
{
    SettleTappedSources();
    GetPaymentState().paying = false;
    CancelPaymentOnCard(card);
    GetTableFlow().castingCard = nullptr;
    DiscardLessonBox();
}

void CastCard(CardActor* card)
{
    TableFlowState& flow = GetTableFlow();
    if (const int answer = AnswerOf(BOX_PAYMENT); answer >= 0) {
        if (answer == 0) {
            GetGameDisplay()->UnregisterWindow(GetLessonBox());
            if (!ShowSpellPaymentBox(card, CheckManaPaymentPhysical(*card, false), 0)) {
                FinishPayment(card);
                flow.castingCard = nullptr;
                DiscardLessonBox();
                StopVoices();
            }
        } else {
            CancelCasting(card);
            StopVoices();
        }
        return;
    }
    const EffectSpec* const effect = card->GetSpellEffect();
    if (effect != nullptr && effect->needsTarget && card->GetChosenTarget() == nullptr) {
        PostDialogEvent(6, card);
        if (GetShownLessonBox(BOX_MAIN1) != nullptr || GetShownLessonBox(BOX_MAIN2) != nullptr)
            DiscardLessonBox();
        bool cancelled = false;
        Actor* const target = ChooseTarget(card, GetTableSelection().selectedCard, false, false, false, &cancelled);
        if (target == nullptr) {
            if (cancelled)
                CancelCasting(card);
            return;
        }
        card->SetChosenTarget(target);
    }
    GetPaymentState().paying = true;
    if (!ShowSpellPaymentBox(card, CheckManaPaymentPhysical(*card, false), 1)) {
        FinishPayment(card);
        flow.castingCard = nullptr;
        StopVoices();
    }
}

void MainPhase(Actor* actor)
{
    TableFlowState& flow = GetTableFlow();
    if (GetCardBeingPaid() != nullptr || flow.cardDrawnByHand != nullptr)
        return;
    if (flow.castingCard != nullptr)
        CastCard(flow.castingCard);
    const bool dialogs = IsPriorityDialogShown() || HasPriorityDialogQueued() || IsNormalDialogShown() ||
                         HasNormalDialogQueued();
    if (dialogs || IsStackBusy() || flow.castingCard != nullptr)
        return;
    if (!s_PastCombat) {
        int answer = AnswerOf(BOX_MAIN1);
        if (answer < 0)
            answer = AnswerOf(BOX_MAIN1_ALT);
        if (answer == 0) {
            DiscardLessonBox();
            PostDialogEvent(9, nullptr);
            actor->SetState(HUMAN_STEP_BEGIN_COMBAT);
        } else if (answer == 1) {
            actor->SetState(HUMAN_STEP_END_PROMPTS);
            DiscardLessonBox();
        }
        return;
    }
    if (AnswerOf(BOX_MAIN2) >= 0) {
        actor->SetState(HUMAN_STEP_END_PROMPTS);
        DiscardLessonBox();
    }
}

void BeginCombat(Actor* actor)
{
    if (GetCanPlayNowFlag() != 0 || IsStackBusy())
        return;
    if (CpuRespond(false))
        return;
    if (BurnMana(u"PRE_PHYSDLG_PreCombatManaBurn"))
        return;
    if (CountAbleAttackers(PLAYER_HUMAN) != 0)
        BeginAttack(actor);
    else
        actor->SetState(HUMAN_STEP_MAIN2);
}

bool CanDeclare(const CardActor* card)
{
    return card != nullptr && card->CanAct() && card->GetOwner() == PLAYER_HUMAN &&
           card->GetCardType() == CT_CREATURE;
}

void ConfirmAttack(Actor* actor, int answer)
{
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    if (answer == 1)
        ReturnAttackersToReady(PLAYER_HUMAN);
    if (CountMustAttackCreatures(PLAYER_HUMAN, nullptr) != 0) {
        StopVoices();
        if (Messagebox* const box = GetLessonBox())
            box->ClearClickedButton();
        return;
    }
    CloseLessonBox();
    StopVoices();
    if (s_AttackStep == 0) {
        human.SetAttackDeclared(false);
        actor->SetState(HUMAN_STEP_POST_COMBAT_BURN);
        return;
    }
    human.SetAttackDeclared(true);
    if (s_GameMode == 2) {
        s_AttackStep = 2;
        CpuRespond(false);
    } else {
        s_AttackStep = 3;
        s_CpuBlockStep = 1;
    }
}

void DeclareAttackers(Actor* actor)
{
    if (s_CpuBlockStep == 3) {
        s_CpuBlockStep = 0;
        actor->SetState(HUMAN_STEP_FIRST_STRIKE);
        return;
    }
    if (s_CpuBlockStep != 0)
        return;
    TableSelection& selection = GetTableSelection();
    selection.selectedCard = GetTableInput().pointedCard;
    if (const int answer = AnswerOf(BOX_ATTACK_PROMPT); answer >= 0 && s_AttackStep < 2) {
        ConfirmAttack(actor, answer);
        return;
    }
    if (s_AttackStep == 2) {
        if (const int answer = AnswerOf(BOX_CPU_ANSWER); answer >= 0) {
            if (answer == 0 && !CpuRespond(false)) {
                s_AttackStep = 3;
                s_CpuBlockStep = 1;
            } else {
                SetCanPlayNowFlag(1);
            }
            CloseLessonBox();
        } else if (GetShownLessonBox(BOX_CPU_ANSWER) == nullptr && CountAttackingCreatures(PLAYER_HUMAN) == 0) {
            s_AttackStep = 3;
            s_CpuBlockStep = 1;
        }
        return;
    }
    if (s_AttackStep == 3) {
        if (GetPlayerState(PLAYER_HUMAN)->IsAttackDeclared())
            s_CpuBlockStep = 1;
        else
            actor->SetState(HUMAN_STEP_POST_COMBAT_BURN);
        return;
    }
    if (HasPriorityDialogQueued() || IsPriorityDialogShown() || GetCanPlayNowFlag() != 0 || GetPaymentState().paying)
        return;
    CardActor* const card = selection.selectedCard;
    if (!CanDeclare(card) || MouseState.leftClicked == 0)
        return;
    if (!card->IsAttacking() && card->GetTapState() == TAP_READY && !card->GetStats().cannotAttack) {
        MouseState.leftClicked = 0;
        s_AttackStep = 1;
        PlayEffect(ATTACK_EFFECT, 255, 0, 0, 0, nullptr);
        if (!card->GetStats().noTapAttack)
            card->SetTapState(TAP_TAPPED);
        card->SetAttacking(true);
        card->SetBlocked(false);
        card->RemoveBlocker(nullptr);
        PostDialogEvent(11, nullptr);
    } else if (card->IsAttacking()) {
        MouseState.leftClicked = 0;
        card->SetAttacking(false);
        if (CountAttackingCreatures(PLAYER_HUMAN) == 0)
            s_AttackStep = 0;
        PlayEffect(ATTACK_EFFECT, 255, 0, 0, 0, nullptr);
        if (card->GetTapState() == TAP_TAPPED)
            card->SetTapState(TAP_READY);
    }
}

void EndOfTurnPrompts(Actor* actor)
{
    int answer = -1;
    if (ShowPassAndNoAttackPrompt(answer)) {
        if (answer == 0) {
            BeginAttack(actor);
            return;
        }
        if (answer != 1)
            return;
    }
    if (ShowPlayMoreCardsPrompt(answer)) {
        if (answer == 0) {
            actor->SetState(HUMAN_STEP_MAIN2);
            return;
        }
        if (answer != 1)
            return;
    }
    if (BurnMana(u"PRE_PHYSDLG_EndOfTurnManaBurn"))
        return;
    actor->SetState(HUMAN_STEP_LAST_CHANCE);
}

void HandOver(Actor* actor)
{
    ResetOnlineLesson(0);
    MouseState.leftClicked = 0;
    ApplyManaBurn(PLAYER_HUMAN);
    actor->SetState(HUMAN_STEP_START);
    HandTurnTo(PLAYER_CPU);
    ResetCombatDamage(true);
    ++actor->m_BehaviourData;
    ++s_CompletedTurns;
}

void Untap(Actor* actor)
{
    if (IsAdviceBlocked())
        return;
    ReadySickNonLands(PLAYER_HUMAN);
    if (!HumanHasNoTappedCards())
        return;
    if (IsLessonBoxShowing() && IsUntapKind(GetLessonBox()->GetKindNumber()))
        return;
    GetPlayerState(PLAYER_HUMAN)->m_CardsToDraw = 1;
    actor->SetState(HUMAN_STEP_DRAW);
}

void StartTurn(Actor* actor)
{
    ++s_HumanTurnCount;
    s_StepFlag = false;
    GetPlayerState(PLAYER_HUMAN)->SetAttackDeclared(false);
    GetPlayerState(PLAYER_CPU)->SetAttackDeclared(false);
    if (s_HumanTurnCount == 1) {
        actor->SetState(HUMAN_STEP_DRAW);
        return;
    }
    actor->SetState(HUMAN_STEP_UNTAP);
    Untap(actor);
}

} // namespace

void RunHumanTurnStep(Actor* actor)
{
    TableFlowState& flow = GetTableFlow();
    switch (actor->GetState()) {
    case HUMAN_STEP_START:
        StartTurn(actor);
        return;
    case HUMAN_STEP_UNTAP:
        Untap(actor);
        return;
    case HUMAN_STEP_DRAW:
        if (GetCardBeingPaid() == nullptr && GetUnaffordableCard() == nullptr && GetMistimedCard() == nullptr &&
            flow.cardDrawnByHand == nullptr)
            actor->SetState(HUMAN_STEP_MAIN1);
        return;
    case HUMAN_STEP_MAIN1:
        PostDialogEvent(1, nullptr);
        s_PastCombat = s_GameMode == 1 && s_HumanTurnCount == 1;
        PostDialogEvent(3, nullptr);
        s_StepFlag = true;
        actor->SetState(HUMAN_STEP_MAIN);
        return;
    case HUMAN_STEP_MAIN2:
        PostDialogEvent(2, nullptr);
        s_PastCombat = true;
        PostDialogEvent(4, nullptr);
        s_StepFlag = true;
        actor->SetState(HUMAN_STEP_MAIN);
        return;
    case HUMAN_STEP_MAIN:
        MainPhase(actor);
        return;
    case HUMAN_STEP_BEGIN_COMBAT:
        BeginCombat(actor);
        return;
    case HUMAN_STEP_ATTACK:
        DeclareAttackers(actor);
        return;
    case HUMAN_STEP_DAMAGE:
        if (AssignCombatDamage(PLAYER_HUMAN, false))
            GetSpellStack().PushCombatDamage(0, 1);
        else
            EndCombat();
        actor->SetState(HUMAN_STEP_DAMAGE_STACK);
        return;
    case HUMAN_STEP_DAMAGE_STACK:
        if (GetSpellStack().GetCount() == 0)
            actor->SetState(HUMAN_STEP_END_COMBAT);
        return;
    case HUMAN_STEP_FIRST_STRIKE:
        if (AnyFirstStrikeInCombat()) {
            if (AssignCombatDamage(PLAYER_HUMAN, true))
                GetSpellStack().PushCombatDamage(0, 2);
            actor->SetState(HUMAN_STEP_FIRST_STRIKE_STACK);
        } else {
            actor->SetState(HUMAN_STEP_DAMAGE);
        }
        return;
    case HUMAN_STEP_FIRST_STRIKE_STACK:
        if (GetSpellStack().GetCount() == 0)
            actor->SetState(HUMAN_STEP_DAMAGE);
        return;
    case HUMAN_STEP_END_COMBAT:
        actor->SetState(HUMAN_STEP_POST_COMBAT_BURN);
        return;
    case HUMAN_STEP_POST_COMBAT_BURN:
        if (!BurnMana(u"PRE_PHYSDLG_PostCombatManaBurn"))
            actor->SetState(HUMAN_STEP_MAIN2);
        return;
    case HUMAN_STEP_END_PROMPTS:
        EndOfTurnPrompts(actor);
        return;
    case HUMAN_STEP_LAST_CHANCE:
        if (GetCanPlayNowFlag() != 0 || IsStackBusy() || CpuRespond(false))
            return;
        actor->SetState(HUMAN_STEP_END_BURN);
        return;
    case HUMAN_STEP_END_BURN:
        if (!BurnMana(u"PRE_PHYSDLG_EndOfTurnManaBurn"))
            actor->SetState(HUMAN_STEP_END);
        return;
    case HUMAN_STEP_END:
        actor->SetState(HUMAN_STEP_HAND_OVER);
        return;
    case HUMAN_STEP_HAND_OVER:
        HandOver(actor);
        return;
    default:
        return;
    }
}
