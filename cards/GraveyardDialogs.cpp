#include "cards/GraveyardDialogs.h"

void ToggleGraveyardDialog(int /*player*/)
{
}
