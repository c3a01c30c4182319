#include "rules/HumanPayment.h"

#include "cards/CardActor.h"
#include "cards/GraveyardLists.h"
#include "cards/MessagePrompts.h"
#include "engine/scene/FrameState.h"
#include "engine/sound/Wave.h"
#include "gamestate/AdviceState.h"
#include "gamestate/LessonState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/RulesLessonCalls.h"
#include "gamestate/TurnFlags.h"
#include "gui/DialogManager.h"
#include "rules/BoardQueries.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"
#include "rules/Targets.h"

#include <initializer_list>

namespace {

constexpr int SOUND_MANA_TAP = 27;
constexpr int STATE_FREE_PLAY = 5;
constexpr int STATE_COMBAT = 7;

const Actor* PlayerActor(int player)
{
    return player == PLAYER_HUMAN ? GetHumanPlayerActor() : GetCpuPlayerActor();
}

int PlayerActorState(int player)
{
    const Actor* const actor = PlayerActor(player);
    return actor != nullptr ? actor->GetState() : -1;
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

// The online learner pays for the spell being paid as if free play held.
bool IsFreePlay()
{
    return GetFreePlayFlag() != 0 || (IsOnlineLesson() && GetPaymentState().paying);
}

bool IsHumanManaClickAllowed()
{
    const TableSelection& selection = GetTableSelection();
    if (GetHumanPlayerActor() == nullptr || GetCpuPlayerActor() == nullptr)
        return false;
    const RulesLessonCalls& lesson = g_RulesLessonCalls;
    if (selection.blocking || selection.abilityStep == ABILITY_CHOOSE_TARGET ||
        (lesson.IsBlockPromptUp != nullptr && lesson.IsBlockPromptUp()) || IsPriorityDialogShown() ||
        IsAdviceBlocked())
        return false;
    const bool pending = GetLessonPendingCard() != nullptr || selection.pendingSpell != nullptr;
    return !pending || GetPaymentState().paying || selection.xCostCollecting;
}

bool IsClickableSource(const CardActor* card)
{
    const TableSelection& selection = GetTableSelection();
    if (card == nullptr || card->GetOwner() != PLAYER_HUMAN || !card->CanAct() || !IsManaSource(*card, false))
        return false;
    const int humanState = PlayerActorState(PLAYER_HUMAN);
    if (humanState == 1 || humanState == 22 || !IsClickPending())
        return false;
    const bool mayPay = s_GameMode == 2 || s_GameMode == 4 || IsFreePlay() || selection.spellPayment ||
                        selection.abilityStep == ABILITY_PAY;
    if (!mayPay)
        return false;
    return !(card->GetCardType() == CT_CREATURE && IsCombatDeclaring());
}

bool TapReadySource(CardActor& card, ManaCost& out)
{
    const bool online = IsOnlineLesson();
    if (card.IsLand()) {
        card.SetTapState(TAP_TAPPED);
        ConsumeClick();
        if (g_RulesLessonCalls.NotifyLandTapped != nullptr)
            g_RulesLessonCalls.NotifyLandTapped(&card);
    } else {
        const bool mayTap = card.GetHost() == nullptr &&
                            ((IsFreePlay() && PlayerActorState(PLAYER_HUMAN) == STATE_FREE_PLAY) ||
                             (online && CanTapForManaNow()) || (!online && GetCanPlayNowFlag() != 0));
        if (!mayTap)
            return false;
        card.SetTapState(TAP_TAPPED);
        card.SetManaReady(true);
    }
    PlayEffect(SOUND_MANA_TAP, 255, 0, 0, 0, nullptr);
    if (GetTableSelection().xCostCollecting) {
        out = GetManaProduction(card);
        return true;
    }
    AddToPlayerPool(GetManaProduction(card), PLAYER_HUMAN);
    if (online && card.IsLand())
        AppendTappedLand(&card);
    return false;
}

bool IsLastTappedLand(const CardActor* card)
{
    const PaymentState& payment = GetPaymentState();
    int last = -1;
    while (last + 1 < TAPPED_LAND_CAPACITY && payment.tappedLands[last + 1] != nullptr)
        ++last;
    return last >= 0 && payment.tappedLands[last] == card;
}

// A tapped source clicked again gives its mana back and stands ready.
bool UntapSource(CardActor& card, ManaCost& out)
{
    const TableSelection& selection = GetTableSelection();
    const CardActor* const pendingCard =
        GetLessonPendingCard() != nullptr ? GetLessonPendingCard() : selection.xCostCard;
    if (selection.xCostCollecting && pendingCard != nullptr && pendingCard->IsXSpell()) {
        out = GetManaProduction(card).Negated();
        return true;
    }
    if (!HumanPoolCovers(GetManaProduction(card)))
        return false;
    if (IsOnlineLesson()) {
        if (IsLastTappedLand(&card))
            UndoLastTappedLand();
        return false;
    }
    // A step of the basic game that forbids free play gives back only the land it expects.
    const RulesLessonCalls& lesson = g_RulesLessonCalls;
    if (s_GameMode == 1 && lesson.IsBasicLessonStep != nullptr &&
        lesson.IsBasicLessonStep(PlayerActorState(PLAYER_HUMAN)) && lesson.IsCardTheExpectedLand != nullptr &&
        !lesson.IsCardTheExpectedLand(&card))
        return false;
    ConsumeClick();
    PayFromPlayerPool(GetManaProduction(card), PLAYER_HUMAN);
    PlayEffect(SOUND_MANA_TAP, 255, 0, 0, 0, nullptr);
    card.SetTapState(TAP_READY);
    return false;
}

void ClearPaymentSlots()
{
    TableSelection& selection = GetTableSelection();
    selection.pendingSpell = nullptr;
    selection.pendingAbility = nullptr;
    selection.spellPayment = false;
    selection.abilityStep = ABILITY_IDLE;
    selection.blocking = false;
    SetLessonPendingCard(nullptr);
    SetLessonSecondCard(nullptr);
    GetPaymentState().paying = false;
    // The target prompt's text owns the message field: left there, no other prompt could be shown again.
    OnlinePromptOwner().clear();
    ClearLandTargetPending();
    CloseGraveyardLists();
}

void EndCancel()
{
    if (IsOnlineLesson())
        ReturnPaidToPool(PLAYER_HUMAN);
    UpdateHumanAvailableMana();
}

} // namespace

bool IsSpellStackBusy()
{
    return GetSpellStack().IsPaused();
}

bool IsPlayerActorWaiting(int player)
{
    const int state = PlayerActorState(player);
    return state == 0 || state == 1 || state == 20 || state == 22 || (state == 18 && IsEndFlagSet(player));
}

bool IsCombatDeclaring()
{
    return IsCombatFlagSet() &&
           (PlayerActorState(PLAYER_HUMAN) == STATE_COMBAT || PlayerActorState(PLAYER_CPU) == STATE_COMBAT);
}

bool HandleManaClick(ManaCost& out)
{
    out.Clear();
    if (!IsHumanManaClickAllowed())
        return false;
    PaymentState& payment = GetPaymentState();
    if (TakePaymentUndoRequest())
        payment.undoRequest = true;
    if (payment.undoRequest && !GetTableSelection().xCostCollecting)
        UndoLastTappedLand();
    CardActor* const card = GetTableSelection().selectedCard;
    if (!IsClickableSource(card))
        return false;
    if (card->GetTapState() == TAP_READY) {
        if (!CanPayNow(PlayerActorState(PLAYER_HUMAN)))
            return false;
        return TapReadySource(*card, out);
    }
    if (card->IsTappedManaSource() && CountBrailmelAuras(card) == 0)
        return UntapSource(*card, out);
    return false;
}

bool CanPayNow(int humanState)
{
    if (IsOnlineLesson())
        return true;
    const RulesLessonCalls& lesson = g_RulesLessonCalls;
    if (GetHumanPlayerActor() == nullptr ||
        (lesson.IsBasicLessonStep != nullptr && lesson.IsBasicLessonStep(humanState)))
        return false;
    return GetCanPlayNowFlag() != 0 || (GetFreePlayFlag() != 0 && humanState == STATE_FREE_PLAY);
}

bool CanTapForManaNow()
{
    if (IsSpellStackBusy() || IsCombatDeclaring())
        return false;
    if (s_HumanTurn && IsPlayerActorWaiting(PLAYER_CPU))
        return false;
    if (!IsFreePlay())
        return true;
    return !IsPlayerActorWaiting(PLAYER_HUMAN);
}

void CancelPaymentOnCard(CardActor* card)
{
    if (card != nullptr && card->m_PaidState != 0 && !card->IsXSpell())
        return;
    if (card != nullptr) {
        card->SetSortKey(card->GetSortKey() - 1);
        card->SetHeld(true);
        card->SetTapState(TAP_OFF_TABLE);
        card->SetChosenTarget(nullptr);
        card->SetState(0);
        card->SetStackIndex(-1);
        card->m_GenericOwed = -1;
        card->GetPaidMana().Clear();
        card->m_PaidState = 0;
        PlayStream(u"data\\sfx\\cancel.wav");
    }
    ClearPaymentSlots();
    EndCancel();
}

void CancelPayment(CardActor& card)
{
    card.SetSortKey(card.GetSortKey() - 1);
    card.SetState(0);
    card.SetOnStack(false);
    card.SetStackIndex(-1);
    card.m_GenericOwed = -1;
    card.GetPaidMana().Clear();
    card.SetChosenTarget(nullptr);
    const int costType = card.GetAbility()->costType;
    if (costType == COSTTYPE_TAP || costType == COSTTYPE_TAPSAC)
        card.SetTapState(TAP_READY);
    TableSelection& selection = GetTableSelection();
    for (CardActor* const slot : {selection.pendingSpell, selection.pendingAbility, GetLessonPendingCard(),
                                  GetLessonSecondCard()}) {
        if (slot != nullptr)
            slot->SetState(0);
    }
    ClearPaymentSlots();
    EndCancel();
}
