#include "gui/GameMessageWindows.h"

void UpdateMessageDialogs()
{
}

void CheckMessageButtonClick()
{
}

bool IsQuitPromptOpen()
{
    return false;
}
