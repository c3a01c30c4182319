// The online lesson's graveyard lists, shown over the owner's cards on the table.
#pragma once

// While a player's list is open the table leaves that player's cards undrawn.
bool IsGraveyardListOpen(int player);
