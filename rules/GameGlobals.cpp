#include "rules/GameGlobals.h"

#include "cards/CardActor.h"
#include "cards/CardWindows.h"
#include "cards/GameLog.h"
#include "cards/TableInput.h"
#include "gamestate/AdviceState.h"
#include "gamestate/CardMoveState.h"
#include "gamestate/HandAnimationLists.h"
#include "gamestate/LessonState.h"
#include "gamestate/OnlineResponseState.h"
#include "gamestate/PhysicalAdviceState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/RulesLessonCalls.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TurnAdviceState.h"
#include "gamestate/TurnFlags.h"
#include "gui/DialogManager.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuPayment.h"
#include "rules/CpuPlayChoice.h"
#include "rules/CpuResponse.h"
#include "rules/Decks.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/PendingObjects.h"
#include "rules/PlayerState.h"
#include "rules/ResolutionPrompts.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"
#include "rules/Targets.h"

#include <algorithm>

namespace {

// A removed actor leaves every lesson slot and set, the player slots included.
void ForgetLessonWords(const Actor* actor)
{
    if (actor == nullptr)
        return;
    ForgetPlayerActor(actor);
    if (static_cast<const Actor*>(g_CounteredCard) == actor)
        g_CounteredCard = nullptr;
    struct PendingWord {
        CardActor* (*get)();
        void (*set)(CardActor*);
    };
    for (const PendingWord word : {PendingWord{GetCardBeingPaid, SetCardBeingPaid},
                                   PendingWord{GetUnaffordableCard, SetUnaffordableCard},
                                   PendingWord{GetMistimedCard, SetMistimedCard},
                                   PendingWord{GetRefusedAttacker, SetRefusedAttacker}})
        if (static_cast<const Actor*>(word.get()) == actor)
            word.set(nullptr);
    PhysicalBlockWords& blocks = GetPhysicalBlockWords();
    if (static_cast<const Actor*>(GetBlockErrorCard()) == actor ||
        static_cast<const Actor*>(blocks.badBlockTarget) == actor) {
        blocks.badBlockTarget = nullptr;
        blocks.offsetX = 0.0f;
        blocks.offsetY = 0.0f;
        SetBlockErrorCard(nullptr);
    }
    if (static_cast<const Actor*>(blocks.blockerInHand) == actor)
        blocks.blockerInHand = nullptr;
    PhysicalAdviceState& advice = GetPhysicalAdviceState();
    for (std::vector<CardActor*>& saved : advice.savedPending)
        std::erase_if(saved, [actor](const CardActor* c) { return static_cast<const Actor*>(c) == actor; });
    std::erase_if(advice.combatMap, [actor](const auto& entry) { return static_cast<const Actor*>(entry.first) == actor; });
    std::erase_if(advice.combatSet, [actor](const CardActor* c) { return static_cast<const Actor*>(c) == actor; });
    if (static_cast<const Actor*>(advice.lastAdvisedOpponentSpell) == actor)
        advice.lastAdvisedOpponentSpell = nullptr;
    if (static_cast<const Actor*>(advice.lastSpokenOpponentCard) == actor)
        advice.lastSpokenOpponentCard = nullptr;
    const auto same = [actor](const CardActor* entry) { return static_cast<const Actor*>(entry) == actor; };
    BuryHandWords& bury = GetBuryHandWords();
    std::replace_if(bury.work.begin(), bury.work.end(), same, nullptr);
    std::erase_if(bury.inFlight, [&same](const BuryHandFlight& flight) { return same(flight.card); });
    ActingHandWords& acting = GetActingHandWords();
    std::replace_if(acting.work.begin(), acting.work.end(), same, nullptr);
    std::erase_if(acting.arrivals, [&same](const ActingHandArrival& arrival) { return same(arrival.card); });
    std::erase_if(GetCpuPlayedCards(), same);
    std::erase_if(GetBuriedCards(), same);
    if (same(GetDemoCarry().card))
        GetDemoCarry() = DemoCarry();
    TurnAdviceState& turnAdvice = GetTurnAdviceState();
    for (const CardActor** const word :
         {&turnAdvice.lastSuggestedCreature, &turnAdvice.suggestedCreature, &turnAdvice.flyingCard})
        if (static_cast<const Actor*>(*word) == actor)
            *word = nullptr;
    CpuPhysicalTurnWords& cpu = GetCpuPhysicalTurnWords();
    if (static_cast<const Actor*>(cpu.chosenCard) == actor)
        cpu.chosenCard = nullptr;
    TableFlowState& flow = GetTableFlow();
    auto clear = [actor](CardActor*& slot) {
        if (slot != nullptr && static_cast<const Actor*>(slot) == actor)
            slot = nullptr;
    };
    for (CardActor*& slot : flow.pendingSlots)
        clear(slot);
    for (CardActor*& slot : flow.followSlots)
        clear(slot);
    for (CardActor** slot : {&flow.cardDrawnByHand, &flow.onlineChosenCard, &flow.awaitingPayment, &flow.focusCard,
                             &flow.markedCard, &flow.currentCard, &flow.pendingDrawCard, &flow.demoHand,
                             &flow.castingCard})
        clear(*slot);
    CardMoveState& moves = GetCardMoveState();
    if (static_cast<const Actor*>(moves.damageBoxCreature) == actor) {
        moves.damageBoxCreature = nullptr;
        moves.damageBoxAmount = 0;
    }
    clear(moves.survivingCreature);
    std::erase(flow.pendingRemovals, actor);
    flow.markedActors.erase(const_cast<Actor*>(actor));
    std::erase_if(flow.actorLinks, [actor](const ActorLink& link) { return link.from == actor || link.to == actor; });
    std::erase_if(flow.stepCards,
                  [actor](const CardActor* card) { return static_cast<const Actor*>(card) == actor; });
}

// Every other card lets go of links to the removed one, so none reads it after the purge.
void ForgetLinksTo(const Actor* removed)
{
    for (CardActor* const other : GetCardActors()) {
        if (other == removed)
            continue;
        const auto isRemoved = [removed](const CardActor* linked) { return linked == removed; };
        std::replace_if(other->m_Attachments.begin(), other->m_Attachments.end(), isRemoved, nullptr);
        std::replace_if(other->m_Blockers.begin(), other->m_Blockers.end(), isRemoved, nullptr);
        if (other->GetHost() == removed)
            other->SetHost(nullptr);
        if (other->GetBlockedAttacker() == removed)
            other->SetBlockedAttacker(nullptr);
        if (other->GetChosenTarget() == removed)
            other->SetChosenTarget(nullptr);
    }
}

} // namespace

void OnCardActorRemoved(Actor* actor)
{
    if (actor == nullptr)
        return;
    // Player actors are plain actors, yet the lessons and the stack keep pointers to them too.
    ForgetLessonWords(actor);
    GetSpellStack().ForgetPlayerActor(actor);
    ForgetLinksTo(actor);
    CardActor* const card = AsCardActor(actor);
    if (card == nullptr)
        return;
    ForgetTableCard(card);
    ForgetSpentSorcery(card);
    if (GetDraggedCard() == card)
        SetDraggedCard(nullptr);
    ForgetSelectedCard(card);
    if (GetLessonPendingCard() == card)
        SetLessonPendingCard(nullptr);
    if (GetLessonSecondCard() == card)
        SetLessonSecondCard(nullptr);
    RemovePendingCard(card);
    ForgetLibraryActor(card);
    RemoveBlockLink(card);
    ForgetCpuTappedSource(card);
    OnCpuChoiceCardRemoved(card);
    ForgetCpuResponseActor(card);
    OnlineResponseState& response = GetOnlineResponseState();
    response.usedKeys.erase(card);
    if (response.actingCard == card)
        response.actingCard = nullptr;
    std::erase(response.actionable, card);
    for (int player = 0; player < 2; ++player) {
        PlayerState& record = *GetPlayerState(player);
        if (std::find(record.m_Graveyard.begin(), record.m_Graveyard.begin() + record.m_GraveyardCount, card) !=
            record.m_Graveyard.begin() + record.m_GraveyardCount)
            RemoveFromGraveyard(card);
    }
    GetSpellStack().ForgetCard(card);
    PaymentState& payment = GetPaymentState();
    std::replace(std::begin(payment.tappedLands), std::end(payment.tappedLands), card, static_cast<CardActor*>(nullptr));
}

void ResetGameState()
{
    SetDraggedCard(nullptr);
    ClearTableSelection();
    SetLessonPendingCard(nullptr);
    SetLessonSecondCard(nullptr);
    ClearPendingCards();
    DeletePendingObjects();
    if (g_RulesLessonCalls.ClearHandAnimationLists != nullptr)
        g_RulesLessonCalls.ClearHandAnimationLists();
    if (g_RulesLessonCalls.ResetPendingObjects != nullptr)
        g_RulesLessonCalls.ResetPendingObjects();
    DestroyAllCardWindows();
    DestroyAllDialogs();
    for (int player = 0; player < 2; ++player) {
        if (IsGraveyardDialogOpen(player))
            CloseGraveyardDialog(player);
    }
    ClearLibraryActors();
    ClearBlockLinkMap();
    ClearCombatDamageRecords();
}

void ResetRulesState()
{
    ResetGameState();
    for (int player = 0; player < 2; ++player) {
        PlayerState& record = *GetPlayerState(player);
        record.ResetCounters();
        record.SetLife(STARTING_LIFE, true);
        record.SetDisplayedLife(STARTING_LIFE);
    }
    ResetManaPoolState();
    ResetCpuPaymentState();
    ClearCpuChoiceTable();
    ResetCpuResponseState();
    ResetOnlineResponseState();
    SpellStack& stack = GetSpellStack();
    stack.ForgetCard(nullptr);
    stack.Reset(stack.m_Physical);
    ClearFirstAppearanceTips();
    ResetDeckState();
    ClearTargetChoiceState();
    SetFreePlayFlag(0);
    SetCanPlayNowFlag(0);
    SetCombatFlag(false);
    SetEndFlag(0, false);
    SetEndFlag(1, false);
    GameLog::Clear();
}
