// What the card-specific dialogs ask of the table: a card in hand, the active cards of a kind, what a spell or
// ability does, what is doomed, and the few questions that go to the lesson's own queries (gathered here).
#pragma once

#include "rules/ManaCost.h"

#include <string>

class Actor;
class CardActor;

namespace carddialog {

// ---- The lesson's own queries -------------------------------------------------------------------------------
// The human answers a spell of the CPU.
bool IsResponding();

// ---- The table ----------------------------------------------------------------------------------------------
// The owner's card of that id in hand, or null.
CardActor* FindInHand(int id, int owner);
// The owner's next card of that id on the table that can act, after `previous` (null: the first).
CardActor* FindActive(int id, int owner, const CardActor* previous);
bool IsAffordable(const CardActor* card, bool ability);
bool IsUntapped(const CardActor* card);
// Damage for a damage effect, the drained life for a drain, else 0.
int GetSpellAmount(const CardActor* card);
int GetAbilityAmount(const CardActor* card);
// The damage the stack aims at the card plus the damage marked on it.
int GetDoomingDamage(const CardActor* card);
// Some CPU creature that `amount` damage would destroy has a toughness above the amount (it is wounded).
bool HasWoundedKillableCpuCreature(int amount);
// The dialog's owner matches (-1 matches either).
bool IsOwnedBy(const CardActor* card, int owner);
// The card's name in the card table, empty for an id outside it.
std::u16string GetCardName(int id);
// The event's card as a card actor (null for none).
CardActor* AsEventCard(Actor* card);

} // namespace carddialog
