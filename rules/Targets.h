// Whether a card's spell or ability may be aimed at a card or a player, and the learner's choice of it.
#pragma once

class Actor;
class CardActor;

// The accepted target (the candidate, or the "player" / "cpuplayer" actor) or null. A quiet call is a pure test
// of the candidate and changes nothing.
Actor* ChooseTarget(CardActor* source, CardActor* candidate, bool isAbility, bool quiet, bool cancelPaymentOnAbort,
                    bool* aborted);
// The basic game refuses six hostile cards aimed at the human's side; key gets the refusal text's key.
bool IsHostileTargetOfOwn(const CardActor* source, int targetOwner, const char16_t** key);
// The single tests of a candidate, in the order ChooseTarget applies them.
bool PassesTargetOwner(const CardActor& source, const CardActor& candidate, int owner);
bool PassesTargetColour(const CardActor& candidate, const struct ManaCost& colours);
bool PassesTargetState(const CardActor& candidate, int state);
bool PassesTargetType(const CardActor& source, const CardActor& candidate, int type);

bool IsLandTargetPending();
void ClearLandTargetPending();
void ClearTargetChoiceState();
