#include "lessons/TableFlow.h"

#include "engine/scene/Actor.h"
#include "rules/SpellStack.h"

// Online, a press only answers a card choice of a paused resolution (the cards to discard); the physical
// lesson's handling comes with its lesson flow.
void HandleCardTapPhysical(CardActor* card)
{
    if (!IsOnlineLesson())
        return;
    SpellStack& stack = GetSpellStack();
    stack.m_PromptCard = stack.IsPaused() ? card : nullptr;
}
