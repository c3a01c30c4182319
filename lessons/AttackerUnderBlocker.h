// The CPU's attacker a blocker is being dropped on, found through the card windows under the blocker's corners
// and the middle of its sides.
#pragma once

class CardActor;

// The CPU creature under the blocker: attacking, or any creature with anyCreature, and not blocking itself; null
// when none.
CardActor* FindAttackerUnder(const CardActor* blocker, bool anyCreature);
// The same for the blocker being placed, the card the learner drags.
CardActor* FindAttackerUnderBlocker(bool anyCreature);
