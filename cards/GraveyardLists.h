// The players' graveyard list windows. Until they exist only which list is open is kept.
#pragma once

void OpenGraveyardList(int owner);
void CloseGraveyardLists();
bool IsGraveyardListOpen(int owner);
// Lays the open lists out again after the table's layout changed.
void RelayoutGraveyardLists();
