#include "cards/GraveyardLists.h"

#include "cards/CardWindows.h"

void OpenGraveyardList(int owner)
{
    OpenGraveyardDialog(owner);
}

void CloseGraveyardLists()
{
    CloseGraveyardDialog(0);
    CloseGraveyardDialog(1);
}

bool IsGraveyardListOpen(int owner)
{
    return IsGraveyardDialogOpen(owner);
}

void RelayoutGraveyardLists()
{
    LayOutOnlineGraveyards();
}
