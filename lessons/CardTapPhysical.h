// What a press on a card means in the physical lesson: activating its ability, untapping it in the untap step, the
// errors of the draw and attack steps, or picking it up to drag it. Online a press only answers a card choice.
#pragma once

class CardActor;

constexpr int KIND_ABILITY_UNAFFORDABLE = 12;

// Called by the card behaviour once per press on a card's window.
void HandleCardTapPhysical(CardActor* card);
// Whether the card is in the combat set the turn drivers keep while a combat is on the table.
bool IsCardInCombatSet(const CardActor* card);
