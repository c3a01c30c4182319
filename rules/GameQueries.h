// Small pure queries over the board that the rules, the CPU and the lessons ask: affordability, usable
// abilities, finding a player's card, the best creature to play, targets worth a spell, tapped cards, and the
// stack entry of a card. Each walks the actor list in its update order.
#pragma once

#include "rules/ManaCost.h"

#include <array>

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
int GetAvailableManaTotal(int player);
// The best affordable creature in the player's hand: higher cost total, then higher power, then flying, then the
// lower id. With after, the best of those ranked below it (its own id excluded): called again with the previous
// result it gives the next best.
CardActor* FindBestCreatureToPlay(int player, const CardActor* after);
// The opponent's unblocked attackers the advisor collects; empty slots are null.
constexpr int UNBLOCKED_LIST_SIZE = 40;
std::array<CardActor*, UNBLOCKED_LIST_SIZE>& GetUnblockedAttackers();
// Orders the first count entries by falling power, a flier first among equal power; empty slots stay put.
void SortUnblockedByPower(int count);
// A creature of the spell owner's opponent on the table that the spell may target; with blockersOnly one that
// could block (the owner's attackers' evasion when againstAttackers is set).
bool HasRemovableTarget(const CardActor* spell, bool blockersOnly, bool againstAttackers);
// Whether the spell's damage would destroy a creature of its owner's opponent that it may target; with
// blockersOnly only a creature that could block (the owner's able attackers when againstAttackers).
bool HasKillableTarget(const CardActor* spell, bool blockersOnly, bool againstAttackers);
// Whether an instant (or with atAnyStep an ability, at any step) has a worthwhile use now; without noFallback a
// creature-targeting spell falls back to any ready creature.
bool IsInstantUsefulNow(const CardActor* card, bool atAnyStep, bool noFallback);
// Bit 1 a tapped land, bit 2 a tapped creature of the player on the table (not leaving, not summoning-sick).
int GetTappedPermanentKinds(int player);
// Tapped cards that can act or are on their way back, by owner; either output may be null.
void CountTappedReadyCards(int* human, int* cpu);
