#include "gui/GameMessageWindows.h"

void UpdateMessageDialogs()
{
}

void CheckMessageButtonClick()
{
}
