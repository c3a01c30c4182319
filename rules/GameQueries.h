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
