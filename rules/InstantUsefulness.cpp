// Placeholder until the card dialogs' board queries exist: every card is worth playing.
#include "cards/CardActor.h"
#include "rules/GameQueries.h"

bool IsInstantUsefulNow(const CardActor* card, bool /*atAnyStep*/, bool /*noFallback*/)
{
    return card != nullptr;
}
