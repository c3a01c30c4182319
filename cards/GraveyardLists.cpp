// Placeholder until the graveyard list windows exist.
#include "cards/GraveyardLists.h"

namespace {

bool s_Open[2] = {};

} // namespace

void OpenGraveyardList(int owner)
{
    s_Open[owner == 0 ? 0 : 1] = true;
}

void CloseGraveyardLists()
{
    s_Open[0] = false;
    s_Open[1] = false;
}

bool IsGraveyardListOpen(int owner)
{
    return s_Open[owner == 0 ? 0 : 1];
}

void RelayoutGraveyardLists()
{
}
