// Board steps over the card actors. Until the rules exist only what the card actors call is here.
#pragma once

class CardActor;

// Sends a leaving card to its owner's graveyard at once: exit move +1, tap state 3, no host, appended to the
// owner's graveyard, out of the pending set.
void PutCardIntoGraveyard(CardActor* card);
