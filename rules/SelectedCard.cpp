#include "rules/SelectedCard.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/MessagePrompts.h"
#include "engine/core/RegistrySettings.h"
#include "engine/core/StringTable.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/LessonState.h"
#include "gamestate/TurnFlags.h"
#include "gui/DialogManager.h"
#include "rules/BoardQueries.h"
#include "rules/CpuPlayChoice.h"
#include "rules/GameQueries.h"
#include "rules/HumanPayment.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"
#include "rules/Targets.h"
#include "rules/Usability.h"

namespace {

constexpr int LESSON_EVENT_ABILITY_TARGET = 8;

bool s_XCostConfirmed = false;
// The physical lesson's X-cost message window, -1 while none is asked for.
int s_XCostWindow = -1;

// True once the learner has confirmed the X-cost question: its message window's button (physical) or the
// message field's confirm button (online). Otherwise the question stays up.
bool XCostQuestionAnswered(const char16_t* text)
{
    GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return false;
    if (!IsOnlineLesson()) {
        const auto [id, answer] = display->GetLastButtonEvent();
        if (s_XCostWindow >= 0 && id == s_XCostWindow && answer != 0) {
            s_XCostWindow = -1;
            return true;
        }
        s_XCostWindow = display->AddMessageWindow(0, 10, text, 200, 200, nullptr, false, 0, 0, 1, u"psok",
                                                  u"psokmo", nullptr, 30, 0, 0);
        return false;
    }
    OnlinePromptOwner() = text;
    return display->ShowMessagePrompt(text, 1) == 1;
}

bool IsClickPending()
{
    return MouseState.leftClicked != 0;
}

void ConsumeClick()
{
    MouseState.leftClicked = 0;
    MouseState.clickConsumed = 1;
}

bool IsManaAbility(const CardAbility& ability)
{
    const int effect = ability.effect.effectType;
    return effect == EFFECT_PRODUCEMANA || effect == EFFECT_CHOOSEMANA;
}

bool IsTapCost(int costType)
{
    return costType == COSTTYPE_TAP || costType == COSTTYPE_TAPSAC;
}

bool IsDriverWaiting()
{
    const TableSelection& selection = GetTableSelection();
    if (GetLessonPendingCard() != nullptr || selection.settingsMenuOpen || IsSpellStackBusy())
        return true;
    if (s_HumanTurn && IsPlayerActorWaiting(PLAYER_CPU))
        return true;
    if (GetFreePlayFlag() != 0 && IsPlayerActorWaiting(PLAYER_HUMAN))
        return true;
    return IsCombatDeclaring();
}

void StartAbility(CardActor& clicked)
{
    TableSelection& selection = GetTableSelection();
    CardActor* payer = nullptr;
    CardActor* const card = clicked.CanActivate(&payer, 0);
    if (card == nullptr || IsManaAbility(*card->GetAbility()) || !IsClickPending())
        return;
    if (GetFreePlayFlag() == 0 && card->GetId() == CD_FENANSAR)
        return;
    selection.pendingAbility = nullptr;
    selection.pendingSpell = nullptr;
    const CardAbility& ability = *card->GetAbility();
    CardActor& tapped = payer != nullptr ? *payer : *card;
    if (IsTapCost(ability.costType) && tapped.GetTapState() != TAP_READY)
        return;
    if (!ability.effect.needsTarget) {
        if (ability.costType == COSTTYPE_TAP)
            tapped.SetTapState(TAP_TAPPED);
        selection.abilityStep = ABILITY_PAY;
    } else {
        if (!CanUseCardNow(card, true))
            return;
        selection.abilityStep = ABILITY_CHOOSE_TARGET;
        PostDialogEvent(LESSON_EVENT_ABILITY_TARGET, card);
    }
    ConsumeClick();
    selection.pendingAbility = card;
    card->SetState(0);
}

void StartInstant(CardActor& card)
{
    TableSelection& selection = GetTableSelection();
    if (card.GetCardType() != CT_INSTANT || !card.IsHeld() || card.IsInLibrary() || !IsClickPending())
        return;
    UpdateHumanAvailableMana();
    if (!CanAffordCard(&card, false, true))
        return;
    if (card.GetSpellEffect()->effectType == EFFECT_COUNTER) {
        if (!CanUseCardNow(&card, false))
            return;
        card.SetChosenTarget(GetSpellStack().GetTopCard());
    }
    ClearCpuChoiceTable();
    selection.spellPayment = true;
    selection.pendingSpell = &card;
    card.SetState(0);
    card.m_PaidState = 0;
    ConsumeClick();
}

void PickUpSelectedCard()
{
    const TableSelection& selection = GetTableSelection();
    CardActor* const card = selection.selectedCard;
    if (card == nullptr || card->GetOwner() != PLAYER_HUMAN || selection.abilityStep != ABILITY_IDLE ||
        selection.blocking || selection.xCostCollecting || GetSpellStack().IsMouseOverStack())
        return;
    if (card->CanAct())
        StartAbility(*card);
    else
        StartInstant(*card);
}

void PaySpell(CardActor& card)
{
    TableSelection& selection = GetTableSelection();
    const bool needsTarget = card.GetSpellEffect()->needsTarget && !card.GetSpellEffect()->targetOnResolve;
    if (needsTarget && card.GetChosenTarget() == nullptr) {
        // Cancel gives the spell up; otherwise it would stay pending and its prompt come back every frame.
        if (Actor* const target = ChooseTarget(&card, selection.selectedCard, false, false, true, nullptr))
            card.SetChosenTarget(target);
        return;
    }
    if (!BeginManaPayment(card, false, GetClickedPoolRow()))
        return;
    selection.spellPayment = false;
    card.EndDrag();
    card.m_PaidState = 1;
    card.SetHeld(false);
    CastCardAtChosenTarget(&card);
    selection.pendingSpell = nullptr;
}

void ChooseAbilityTarget(CardActor& card)
{
    TableSelection& selection = GetTableSelection();
    Actor* const target = ChooseTarget(&card, selection.selectedCard, true, false, true, nullptr);
    if (target == nullptr)
        return;
    card.SetChosenTarget(target);
    selection.abilityStep = ABILITY_PAY;
    // The sacrificed land is gone before payment, so a cancel cannot bring it back: it goes at activation.
}

void PayAbility(CardActor& card)
{
    TableSelection& selection = GetTableSelection();
    const CardAbility& ability = *card.GetAbility();
    if (ability.cost.Total() != 0 && PayAbilityCost(card) != PAY_EXACT)
        return;
    selection.abilityStep = ABILITY_ACTIVATE;
    if (IsTapCost(ability.costType))
        card.SetTapState(TAP_TAPPED);
}

void Activate(CardActor& card)
{
    TableSelection& selection = GetTableSelection();
    const int costType = card.GetAbility()->costType;
    if (costType == COSTTYPE_SACRIFICE || costType == COSTTYPE_TAPSAC) {
        if (card.IsNotLeaving() && card.GetTapState() != TAP_OFF_TABLE)
            card.LeavePlay(LEAVE_SACRIFICE);
    }
    if (costType == COSTTYPE_SACTARGET) {
        auto* const target = AsCardActor(card.GetChosenTarget());
        if (target != nullptr && target->IsNotLeaving())
            target->LeavePlay(LEAVE_SACRIFICE);
        card.SetChosenTarget(nullptr);
    }
    selection.abilityStep = ABILITY_IDLE;
    selection.pendingAbility = nullptr;
    ActivateAtChosenTarget(&card);
}

} // namespace

void ProcessSelectedCard()
{
    if (IsDriverWaiting())
        return;
    TableSelection& selection = GetTableSelection();
    if (selection.pendingAbility == nullptr && !selection.spellPayment) {
        PickUpSelectedCard();
        return;
    }
    if (selection.spellPayment && selection.pendingSpell != nullptr) {
        PaySpell(*selection.pendingSpell);
        return;
    }
    CardActor* const card = selection.pendingAbility;
    if (card == nullptr)
        return;
    switch (selection.abilityStep) {
    case ABILITY_CHOOSE_TARGET:
        ChooseAbilityTarget(*card);
        break;
    case ABILITY_PAY:
        PayAbility(*card);
        break;
    case ABILITY_ACTIVATE:
        Activate(*card);
        break;
    default:
        break;
    }
}

bool PayXCost(CardActor* card)
{
    TableSelection& selection = GetTableSelection();
    if (card == nullptr || !card->IsXSpell())
        return false;
    GetPaymentState().paying = false;
    const char16_t* const text = GetString(u"ONL_PAY_X_COST");
    // Without its prompt text the learner could never end the collection.
    if (text == nullptr || text[0] == 0 || s_XCostConfirmed || XCostQuestionAnswered(text)) {
        s_XCostConfirmed = false;
        s_XCostWindow = -1;
        selection.xCostCollecting = false;
        return false;
    }
    // The payment booked the printed cost in the same record; resolution reads X from it, as the CPU books it.
    if (!selection.xCostCollecting || selection.xCostCard != card)
        card->GetPaidMana().Clear();
    selection.xCostCollecting = true;
    selection.xCostCard = card;
    // The clicked source stays the selected card, so a tap there produces mana for X.
    ManaCost taken;
    if (!TakePoolSymbol(GetClickedPoolRow(), taken))
        HandleManaClick(taken);
    card->GetPaidMana().Add(taken);
    return true;
}

void ConfirmXCostPrompt()
{
    s_XCostConfirmed = true;
}

void CountGamePlayed(bool won)
{
    RegistrySettings* const settings = GetRegistrySettings();
    settings->SetInt(u"gamescompleted", settings->GetInt(u"gamescompleted") + 1);
    if (won)
        settings->SetInt(u"gameswon", settings->GetInt(u"gameswon") + 1);
}
