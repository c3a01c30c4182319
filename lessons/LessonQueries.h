// Small queries of the physical lesson that several flows share: whether a card could be played now, a player's
// available mana, whether the learner may start a drag, the lands that made the floating mana, the explanation
// link some boxes carry for particular cards, and the demonstration hand's carried card for the table's drawing.
#pragma once

#include "gamestate/PlayerActors.h"
#include "rules/ManaCost.h"

#include <vector>

class CardActor;
class Messagebox;

// Affordable, usable and worth it now; a creature only in the human's main phase once the driver's step flag is
// set.
bool CanPlayCardNow(CardActor* card, bool ability);
// Refreshes the player's available mana (0 the human, else the CPU) and copies it into out.
ManaCost& GetAvailableMana(ManaCost& out, int player);
// A link label to that explanation (none for -1 or an empty caption), coloured by whether it was read, tagged with
// the link index.
void AddExplanationLinkLabel(Messagebox* box, int link);
// The cards with their own explanation get a link label to it in the box, tagged with the link index.
void AddCardExplanationLink(Messagebox* box, const CardActor* card);
// The table's drag and click test.
bool IsHumanPlayAllowed();
// The lands that produced the mana now floating, filled by the mana-burn warning.
std::vector<CardActor*>& GetManaBurnSources();
bool IsManaBurnSource(const CardActor* card);
void ClearManaBurnSources();
CardActor* GetDemoCarriedCard();
void GetDemoCarryStart(int& x, int& y);
void GetDemoCarrySize(int& width, int& height);
