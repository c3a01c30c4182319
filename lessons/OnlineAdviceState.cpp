#include "lessons/OnlineAdviceState.h"

#include "cards/CardActor.h"
#include "rules/BoardQueries.h"

#include <algorithm>

namespace {

OnlineAdvisorState s_State;

} // namespace

void AdvisorCursor::ToStart()
{
    next = nullptr;
    atEnd = false;
    order.clear();
}

void AdvisorCursor::ToEnd()
{
    next = nullptr;
    atEnd = true;
    order.clear();
}

int AdvisorCursor::Position() const
{
    const std::vector<CardActor*> cards = GetCardActors();
    if (atEnd)
        return static_cast<int>(cards.size());
    if (next == nullptr)
        return 0;
    const auto found = std::find(cards.begin(), cards.end(), next);
    return static_cast<int>(found - cards.begin());
}

void AdvisorCursor::SetPosition(int position)
{
    const std::vector<CardActor*> cards = GetCardActors();
    order.assign(cards.begin(), cards.end());
    if (position < 0)
        position = 0;
    if (position >= static_cast<int>(cards.size())) {
        next = nullptr;
        atEnd = true;
        return;
    }
    next = cards[static_cast<std::size_t>(position)];
    atEnd = false;
}

void AdvisorCursor::Forget(const Actor* actor)
{
    if (actor == nullptr || next == nullptr || static_cast<const Actor*>(next) != actor)
        return;
    // The next card of the order taken that is still on the list; the list no longer holds the one that left.
    const std::vector<CardActor*> cards = GetCardActors();
    auto it = std::find(order.begin(), order.end(), actor);
    next = nullptr;
    atEnd = true;
    if (it == order.end())
        return;
    for (++it; it != order.end(); ++it) {
        const auto alive = std::find_if(cards.begin(), cards.end(),
                                        [it](const CardActor* c) { return static_cast<const Actor*>(c) == *it; });
        if (alive != cards.end()) {
            next = *alive;
            atEnd = false;
            return;
        }
    }
}

OnlineAdvisorState& GetOnlineAdvisorState()
{
    return s_State;
}

void ResetAdvisorTurn()
{
    OnlineAdvisorState& s = s_State;
    s.advice = 0;
    s.busy = false;
    s.redraw = false;
    s.dirty = false;
    s.watchedCard = nullptr;
    s.lastActiveStep = -1;
    s.page = 0;
    s.pageSpoken = 0;
    s.shown = Advice();
    s.answered = false;
    s.sicknessCursor.ToStart();
    s.pumpCursor.ToStart();
    s.bestCreatureAfter = nullptr;
    s.killableAfter = nullptr;
    s.instantWinsOffered = {};
    s.unblockedIndex = 0;
    s.situations = 0;
    s.remindersDone = false;
    s.endMainDone = false;
    s.combatDamageExplained = false;
    s.blockBudgetTaken = false;
    s.prompt1112Seen = false;
    s.landAdvisedThisTurn = false;
    s.skippedCombatDone = false;
    s.chooseManaCount = 0;
}

void ResetAdvisorGame()
{
    s_State = OnlineAdvisorState();
    ResetAdvisorTurn();
}
