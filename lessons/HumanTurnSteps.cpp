#include "lessons/HumanTurnSteps.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/TableInput.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/Wave.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalAdviceState.h"
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
constexpr int BOX_ATTACK_ERROR = 34;
constexpr int BOX_DONE_WITHOUT_ATTACKERS = 50;
constexpr int BOX_MUST_ATTACK = 54;
constexpr int ATTACK_EFFECT = 27;
constexpr int STEP_BOX_WIDTH = 300;
constexpr int STEP_BOX_HEIGHT = 200;

// Why the learner who chose to attack has no creature that can: by whether any creature is summoning-sick or
// tapped.
struct AttackErrorRow {
    bool any;
    bool sick;
    bool tapped;
    const char16_t* key;
    const char16_t* voice;
};

constexpr AttackErrorRow ATTACK_ERRORS[] = {
    {false, false, false, u"PHYSDLG_ERROR_ATTACK_NoCreatures", u"vo_phys\\ERROR_ATTACK_NoCreatures.wav"},
    {true, true, true, u"PHYSDLG_ERROR_ATTACK_NoUntappedUnsickCreatures",
     u"vo_phys\\ERROR_ATTACK_NoUntappedUnsickCreatures.wav"},
    {true, true, false, u"PHYSDLG_ERROR_ATTACK_NoUnsickCreatures", u"vo_phys\\ERROR_ATTACK_NoUnsickCreatures.wav"},
    {true, false, true, u"PHYSDLG_ERROR_ATTACK_NoUntappedCreatures",
     u"vo_phys\\ERROR_ATTACK_NoUntappedCreatures.wav"},
    {true, false, false, u"PHYSDLG_ERROR_ATTACK_NoUntappedUnsickCreatures",
     u"vo_phys\\ERROR_ATTACK_NoUntappedUnsickCreatures.wav"},
};

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

// The lesson box's call pattern: made or reused, reset, sized, of its kind, with its text and, when asked, the OK
// button; placed when new or when it showed another kind; shown.
Messagebox* ShowStepBox(int kind, std::u16string_view text, bool okButton)
{
    const bool place = GetLessonBox() == nullptr || GetLessonBox()->GetKindNumber() != kind;
    Messagebox* const box = ReuseLessonBox();
    box->Reset();
    box->SetScaledSize(STEP_BOX_WIDTH, STEP_BOX_HEIGHT);
    box->SetKind(kind);
    box->CopyText(text);
    if (okButton)
        box->CreateButtons(0);
    box->AutoSize();
    GameDisplay* const display = GetGameDisplay();
    if (display != nullptr && place)
        display->PlaceAdviceWindow(box);
    if (display != nullptr)
        display->RegisterWindow(box);
    return box;
}

std::u16string_view TextOf(const char16_t* key)
{
    const char16_t* const text = GetString(key);
    return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

void PlayVoice(const char16_t* voice, int times)
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(voice, times, true);
}

// The learner chose to attack, but no creature of his can: the box says why.
void ShowAttackError()
{
    bool any = false;
    bool sick = false;
    bool tapped = false;
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() != PLAYER_HUMAN || card->GetCardType() != CT_CREATURE || !card->IsNotLeaving() ||
            card->IsHeld())
            continue;
        any = true;
        sick = sick || card->GetTapState() == TAP_NEW;
        tapped = tapped || card->GetTapState() == TAP_TAPPED;
    }
    for (const AttackErrorRow& row : ATTACK_ERRORS) {
        if (row.any == any && (!any || (row.sick == sick && row.tapped == tapped))) {
            ShowStepBox(BOX_ATTACK_ERROR, TextOf(row.key), true);
            PlayVoice(row.voice, 1);
            return;
        }
    }
}

bool HasAbleAttacker()
{
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == PLAYER_HUMAN && card->GetCardType() == CT_CREATURE && card->IsNotLeaving() &&
            !card->IsHeld() && IsAbleToAttack(card))
            return true;
    }
    return false;
}

// Creatures that must attack and do not: the box names them and the step waits for them.
void ShowMustAttack(int count, const CardActor* creature)
{
    const bool one = count == 1;
    const bool tavevsar = creature != nullptr && creature->GetId() == CD_TAVEVSAR;
    std::u16string text;
    if (s_GameMode == 1) {
        const char16_t* const name = creature != nullptr ? creature->GetNameField() : nullptr;
        text = FormatString(TextOf(one ? u"PHYS_BASIC_MustAttack_1" : u"PHYS_BASIC_MustAttack_N"),
                            {name != nullptr ? name : u""});
    } else {
        text = TextOf(one ? u"PHYS_ADV_MustAttack_1" : u"PHYS_ADV_MustAttack_N");
    }
    const char16_t* voice = one ? u"vo_phys\\adv_MustAttack.wav" : u"vo_phys\\adv_MustAttack_N.wav";
    if (s_GameMode == 1 && tavevsar)
        voice = one ? u"vo_phys\\basic_tavevsar_MustAttack.wav" : u"vo_phys\\basic_tavevsar_MustAttack_N.wav";
    ShowStepBox(BOX_MUST_ATTACK, text, false);
    PlayVoice(voice, count);
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
    // The payment box waits for its answer; showing it again would restart its voice and drop a press.
    if (GetShownLessonBox(BOX_PAYMENT) != nullptr)
        return;
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
            const bool dialogsNow = IsPriorityDialogShown() || HasPriorityDialogQueued() || IsNormalDialogShown() ||
                                    HasNormalDialogQueued();
            if (!dialogsNow && !HasAbleAttacker())
                ShowAttackError();
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
    CardActor* mustAttack = nullptr;
    if (const int count = CountMustAttackCreatures(PLAYER_HUMAN, &mustAttack); count != 0) {
        StopVoices();
        ShowMustAttack(count, mustAttack);
        return;
    }
    if (answer == 0 && s_AttackStep == 0) {
        // Done without choosing an attacker: most likely a misclick, so the step asks before it ends the attack.
        ShowStepBox(BOX_DONE_WITHOUT_ATTACKERS, TextOf(u"PHYS_ATTACK_Declare_Misclick_Done"), true);
        PlayVoice(u"vo_phys\\AttackDeclare_misclick_done.wav", 1);
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
    ResetEndOfStepPrompts();
    ResetExplainedGangBlocks();
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
        // The combat's advice containers would otherwise carry its cards into the next combat.
        GetPhysicalAdviceState().combatMap.clear();
        GetPhysicalAdviceState().combatSet.clear();
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
