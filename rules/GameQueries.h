// Small pure queries over the board that the rules, the CPU and the lessons ask: affordability, usable
// abilities, finding a player's card, and the stack entry of a card.
#pragma once

#include "rules/ManaCost.h"

class Actor;
class CardActor;

// Whether the player's available mana covers the cost; unless countAll, untapped non-land mana creatures are
// not counted.
bool CanPay(int player, const ManaCost& cost, bool countAll);
bool CanAffordCard(const CardActor* card, bool ability, bool countAll);
bool HasUsableAbility(int player);
// Card types castable from hand now, as bits: 1 creature, 2 artifact, 4 enchantment, 8 sorcery, 16 instant.
int FindCardActorByState(int player);
// The first held card of the player with the id (0 any) after `after` has been passed.
CardActor* FindCardActor(int id, int player, const CardActor* after);
CardActor* FindCardActorInPlay(int id, int player, const CardActor* after);
int CountReadyCreatures(int player);
int CountLandsInPlay(int player);
bool CanSpellTarget(const CardActor* target, const CardActor* spell);
CardActor* FindStackEntryForCard(const Actor* target, int id);
// Whether the spell's damage would destroy a creature of its owner's opponent that it may target; with
// blockersOnly only a creature that could block (the owner's able attackers when againstAttackers).
bool HasKillableTarget(const CardActor* spell, bool blockersOnly, bool againstAttackers);
// Whether casting the card now could do some good: a target worth the spell and, for the combat tricks, a
// moment in which they matter (any step when atAnyStep). noFallback: a card not named by the table is useless.
bool IsInstantUsefulNow(const CardActor* card, bool atAnyStep, bool noFallback);
