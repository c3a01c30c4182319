// The links between blockers and their attackers on the table, and whether a player is in a combat step.
#pragma once

class CardActor;

// Per frame: links every shown blocker to its attacker.
void DrawBlockLinks();
// Per frame for one attacker: links it to each shown blocker; true when one was drawn.
bool DrawAttackerBlockLinks(CardActor* attacker);
// Links one blocker to its attacker when both are shown; true when drawn.
bool ShouldDrawBlockLink(const CardActor* card);
// Online only: the point lies on one of the card's placed records.
bool IsMouseOverCardOnline(const CardActor* card, int x, int y);
// The player who has the turn (index 0 while the human's turn flag is set, else the CPU) is in a combat state.
bool IsPlayerInCombatStep(int player);
