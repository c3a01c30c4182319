#include "cards/GraveyardLists.h"

#include "cards/CardWindows.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"

#include <cstddef>

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
    // Online the list is the display's open byte, drawn over the owner's battlefield.
    if (IsOnlineLesson())
        return (owner == 0 || owner == 1) && GetGameDisplay()->m_GraveyardOpen[static_cast<std::size_t>(owner)];
    return IsGraveyardDialogOpen(owner);
}

void RelayoutGraveyardLists()
{
    LayOutOnlineGraveyards();
}
