// What each combat-damage step leaves for the physical lesson's combat-result box: one result per blocked
// attacker, taken off in order, and per player the creatures hit in combat, so that the dead among them can be
// handed to their owners once every result was shown.
#pragma once

#include <deque>
#include <vector>

class CardActor;

struct CombatResultBlocker {
    CardActor* blocker = nullptr;
    // Damage the attacker dealt to this blocker, and the damage this blocker dealt to the attacker.
    int damageTaken = 0;
    int damageDealt = 0;
};

struct CombatResult {
    CardActor* attacker = nullptr;
    int damageTaken = 0;
    std::vector<CombatResultBlocker> blockers;
};

// Queues a result for every blocked attacker of the damage records just dealt and notes the creatures hit.
void QueueCombatResults();
std::deque<CombatResult>& GetCombatResultQueue();
// The creatures of that player hit in combat since the queue last ran dry.
std::vector<CardActor*>& GetCreaturesHitInCombat(int player);
// A removed card leaves every result and list; null empties them all (a new game).
void ForgetCombatResultCard(const CardActor* card);
