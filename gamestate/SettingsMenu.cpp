#include "gamestate/SettingsMenu.h"

namespace {

SettingsMenuState s_SettingsMenu;

} // namespace

SettingsMenuState& GetSettingsMenu()
{
    return s_SettingsMenu;
}

void ResetSettingsMenu()
{
    s_SettingsMenu.setUp = false;
    s_SettingsMenu.explanationsLeft = 0;
    s_SettingsMenu.explaining = false;
    s_SettingsMenu.placeExplanation = true;
}
