#include "lessons/PhysicalPayment.h"

#include "cards/CardActor.h"
#include "cards/CardWindow.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "lessons/Advice.h"
#include "lessons/HandDemos.h"
#include "lessons/LessonBox.h"
#include "lessons/LessonBoxCard.h"
#include "lessons/PaymentAdvice.h"
#include "lessons/TableFlow.h"
#include "rules/HumanPayment.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"
#include "rules/Targets.h"
#include "rules/Usability.h"

namespace {

constexpr int BOX_SPELL_PAYMENT = 8;
constexpr int BOX_ABILITY_PAYMENT = 9;
constexpr int BOX_MAIN_PHASE_1 = 4;
constexpr int BOX_MAIN_PHASE_2 = 6;
constexpr int BOX_SACRIFICE = 55;
constexpr int BUTTON_DONE = 0;
constexpr int BUTTON_CANCEL = 1;
constexpr int DIALOG_EVENT_TARGET = 6;
constexpr int DIALOG_EVENT_SACRIFICE = 8;

void StopVoices()
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->StopVoices();
}

// Unregistered and deleted whether or not the display still holds it.
void DiscardLessonBox()
{
    if (Messagebox* const box = GetLessonBox()) {
        if (GameDisplay* const display = GetGameDisplay(); display != nullptr && display->IsWindowRegistered(box))
            display->UnregisterWindow(box);
        DeleteLessonBox();
    }
}

void UnregisterLessonBox(Messagebox* box)
{
    if (GameDisplay* const display = GetGameDisplay())
        display->UnregisterWindow(box);
}

// The clicked button of a shown box, cleared so the box waits for a new click.
int TakeAnswer(Messagebox* box)
{
    const int answer = box->GetAnswer();
    box->ClearClickedButton();
    return answer;
}

bool IsPaymentGated()
{
    if (IsAdviceBlocked())
        return true;
    if (CountPendingCards(PLAYER_HUMAN) != 0 || CountPendingCards(PLAYER_CPU) != 0 || !CpuListEmpty())
        return true;
    const SpellStack& stack = GetSpellStack();
    return GetTableFlow().castingCard != nullptr || stack.m_ResolutionPaused || stack.m_PausedWord != 0 ||
           GetTableSelection().settingsMenuOpen;
}

void SacrificeCostPrompt(CardActor* card)
{
    const char16_t* const name = card->GetNameField();
    const char16_t* const format = GetString(u"PHYSDLG_PROMPT_COSTTYPE_SACRIFICE");
    LessonBoxContent content;
    content.kind = BOX_SACRIFICE;
    content.width = 300;
    content.height = 200;
    content.builtText = FormatString(format != nullptr ? format : u"", {name != nullptr ? name : u""});
    // The one button gives the ability up.
    content.buttons = {u"STR_Cancel"};
    content.placing = LessonBoxPlacing::OnlyNew;
    Messagebox* const box = ShowLessonBox(content);
    ShowCardInLessonBox(*box, card);
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(u"vo_phys\\adv_costtype_sacrifice.wav", -1, true);
    PostDialogEvent(DIALOG_EVENT_SACRIFICE, card);
}

void CancelAbility(CardActor* card, bool settle)
{
    if (settle)
        SettleTappedSources();
    CancelPayment(*card);
    DiscardLessonBox();
}

void MarkAbilityPaid(TableSelection& selection)
{
    selection.abilityStep = ABILITY_ACTIVATE;
    GetPaymentState().paying = false;
}

void PayAbility(TableSelection& selection)
{
    CardActor* const card = selection.pendingAbility;
    const CardAbility& ability = *card->GetAbility();
    switch (selection.abilityStep) {
    case ABILITY_CHOOSE_TARGET: {
        bool cancelled = false;
        Actor* const target = ChooseTarget(card, selection.selectedCard, true, false, false, &cancelled);
        if (target != nullptr) {
            card->SetChosenTarget(target);
            selection.abilityStep = ABILITY_PAY;
            if (ability.costType == COSTTYPE_TAP || ability.costType == COSTTYPE_TAPSAC)
                card->SetTapState(TAP_TAPPED);
            GetPaymentState().paying = false;
            if (Messagebox* const box = GetLessonBox())
                box->ClearClickedButton();
        } else if (cancelled) {
            CancelAbility(card, ability.effect.effectType != EFFECT_PTMOD_MANAPUMP);
        }
        return;
    }
    case ABILITY_PAY: {
        Messagebox* const box = GetShownLessonBox(BOX_ABILITY_PAYMENT);
        if (box == nullptr) {
            if (!ShowAbilityPaymentBox(card, PayAbilityCost(*card), 1))
                MarkAbilityPaid(selection);
            return;
        }
        const int answer = TakeAnswer(box);
        if (answer == BUTTON_DONE) {
            UnregisterLessonBox(box);
            if (!ShowAbilityPaymentBox(card, PayAbilityCost(*card), 0))
                MarkAbilityPaid(selection);
        } else if (answer == BUTTON_CANCEL) {
            CancelAbility(card, true);
        }
        return;
    }
    case ABILITY_ACTIVATE: {
        const bool sacrifice = ability.costType == COSTTYPE_SACRIFICE || ability.costType == COSTTYPE_TAPSAC;
        if (sacrifice) {
            Messagebox* const box = GetShownLessonBox(BOX_SACRIFICE);
            if (box == nullptr) {
                SacrificeCostPrompt(card);
                return;
            }
            // The prompt's one button is its cancel.
            if (TakeAnswer(box) == 0) {
                CancelPayment(*card);
                DiscardLessonBox();
                return;
            }
            if (card->IsNotLeaving())
                return;
        }
        DiscardLessonBox();
        FinishAbilityPayment(card);
        selection.pendingAbility = nullptr;
        return;
    }
    default:
        return;
    }
}

void CancelSpell(CardActor* card)
{
    SettleTappedSources();
    card->SetHeld(true);
    CancelPaymentOnCard(card);
    GetTableSelection().pendingSpell = nullptr;
    DiscardLessonBox();
}

void CompleteSpell(CardActor* card)
{
    SetSpellPaymentUnderWay(false);
    GetTableSelection().pendingSpell = nullptr;
    FinishPayment(card);
}

void PaySpell(const TableSelection& selection, CardActor* card)
{
    if (Messagebox* const box = GetShownLessonBox(BOX_SPELL_PAYMENT)) {
        const int answer = TakeAnswer(box);
        if (answer == BUTTON_DONE) {
            UnregisterLessonBox(box);
            if (!ShowSpellPaymentBox(card, CheckManaPaymentPhysical(*card, false), 0)) {
                CompleteSpell(card);
                DiscardLessonBox();
                StopVoices();
            }
        } else if (answer == BUTTON_CANCEL) {
            CancelSpell(card);
            StopVoices();
        }
        return;
    }
    const EffectSpec* const effect = card->GetSpellEffect();
    if (effect != nullptr && effect->needsTarget && card->GetChosenTarget() == nullptr) {
        PostDialogEvent(DIALOG_EVENT_TARGET, nullptr);
        if (GetShownLessonBox(BOX_MAIN_PHASE_1) != nullptr || GetShownLessonBox(BOX_MAIN_PHASE_2) != nullptr)
            DiscardLessonBox();
        bool cancelled = false;
        Actor* const target = ChooseTarget(card, selection.selectedCard, false, false, false, &cancelled);
        if (target == nullptr) {
            if (cancelled)
                CancelSpell(card);
            return;
        }
        card->SetChosenTarget(target);
    }
    GetPaymentState().paying = true;
    if (!ShowSpellPaymentBox(card, CheckManaPaymentPhysical(*card, false), 1)) {
        CompleteSpell(card);
        StopVoices();
    }
}

} // namespace

void UpdatePhysicalPayment()
{
    if (IsPaymentGated())
        return;
    TableSelection& selection = GetTableSelection();
    if (selection.pendingAbility != nullptr) {
        PayAbility(selection);
        return;
    }
    // The card in payment; the card being paid of the advice state is one parked off the play area.
    CardActor* const card = selection.pendingSpell;
    if (IsSpellPaymentUnderWay() && card != nullptr)
        PaySpell(selection, card);
}
