// Placeholder until the graveyard lists exist: no list is ever open.
#include "cards/GraveyardLists.h"

bool IsGraveyardListOpen(int /*player*/)
{
    return false;
}
