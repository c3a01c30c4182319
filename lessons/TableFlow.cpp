#include "lessons/TableFlow.h"

#include "cards/CardActor.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "gamestate/PlayerActors.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/LessonBox.h"
#include "lessons/PhysicalAdviceState.h"
#include "lessons/PhysicalBlocks.h"
#include "lessons/PhysicalLesson.h"
#include "lessons/PhysicalTurnAdvice.h"
#include "rules/SpellStack.h"

#include <algorithm>

void ForgetFlowCard(const Actor* actor)
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
    ForgetPhysicalBlockCard(actor);
    ForgetAdviceCard(actor);
    ForgetCpuPhysicalCard(actor);
    ForgetTurnAdviceCard(actor);
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
    std::erase(flow.pendingRemovals, actor);
    flow.markedActors.erase(const_cast<Actor*>(actor));
    std::erase_if(flow.actorLinks, [actor](const ActorLink& link) { return link.from == actor || link.to == actor; });
    std::erase_if(flow.stepCards,
                  [actor](const CardActor* card) { return static_cast<const Actor*>(card) == actor; });
}

// Online, a press only answers a card choice of a paused resolution (the cards to discard); the physical
// lesson's handling comes with its lesson flow.
void HandleCardTapPhysical(CardActor* card)
{
    if (!IsOnlineLesson())
        return;
    SpellStack& stack = GetSpellStack();
    stack.m_PromptCard = stack.IsPaused() ? card : nullptr;
}

bool DetectSituationChange(bool /*pending*/)
{
    return false;
}
