// The coin toss that opens an online game: a die for each player, who goes first, the choice when the learner
// won, then the two life globes. The human's online turn driver spawns it and waits while it exists.
#pragma once

class Actor;

// The behaviour of the actor type "cointoss"; states 3 -> 0 -> 1 -> 2 -> 5, then the actor removes itself.
void CoinTossBehaviour(Actor* actor);

// The dice of the last toss (1 to 5; the human's 6 after a tie with 5).
int GetHumanDieValue();
int GetCpuDieValue();
