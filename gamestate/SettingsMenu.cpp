#include "gamestate/SettingsMenu.h"

void ResetSettingsMenu()
{
}
