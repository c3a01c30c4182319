// Placeholder until the life token exists.
#include "cards/LifeToken.h"

void MarkLifeTokenChanged()
{
}
