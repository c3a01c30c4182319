// The rules' view of the players' graveyard lists (the windows are the card windows' graveyard dialogs).
#pragma once

void OpenGraveyardList(int owner);
void CloseGraveyardLists();
// While a player's list is open the online table leaves that player's cards undrawn.
bool IsGraveyardListOpen(int owner);
// Lays the open lists out again after the table's layout changed.
void RelayoutGraveyardLists();
