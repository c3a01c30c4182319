#include "screens/GameInterface.h"

#include "engine/scene/GameDisplay.h"

namespace {

bool s_bColorSelectSetUp = false;

} // namespace

void SetScreen(int screenId, bool keepReturn)
{
    GameDisplay* const display = GetGameDisplay();
    if (keepReturn)
        display->m_ReturnScreenId = display->m_ScreenId;
    display->m_ScreenId = screenId;
}

void SetReturnScreen(int screenId)
{
    GetGameDisplay()->m_ReturnScreenId = screenId;
}

int GetShownScreen()
{
    return GetGameDisplay()->m_ScreenId;
}

void ResetColorSelect()
{
    s_bColorSelectSetUp = false;
}

void LoadColorSelectImages()
{
}

bool IsColorSelectSetUp()
{
    return s_bColorSelectSetUp;
}
