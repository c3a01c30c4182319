#include "screens/SettingsMenu.h"

void ResetSettingsMenu()
{
}
