// Placeholder until the hand layout exists.
#include "cards/HandCards.h"

void ClampCardActorToTable(CardActor* /*card*/, bool /*alsoPosition*/)
{
}
