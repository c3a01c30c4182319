// Placeholder until the card lists exist: there is nothing to update.
#include "lessons/CardLists.h"

void ClearCardFromLists(Actor* /*actor*/)
{
}

void RebuildCardLists()
{
}
