// The display's screen switch and colour-selection screen. Until the screens exist, showing one only records its
// id in the display.
#include "engine/scene/GameDisplay.h"

namespace {

bool s_bColorSelectSetUp = false;

} // namespace

void GameDisplay::SetScreen(int screenId, bool keepReturn)
{
    if (keepReturn)
        m_ReturnScreenId = m_ScreenId;
    m_ScreenId = screenId;
}

void GameDisplay::SetReturnScreen(int screenId)
{
    m_ReturnScreenId = screenId;
}

int GameDisplay::GetScreen() const
{
    return m_ScreenId;
}

void GameDisplay::ResetColorSelect()
{
    s_bColorSelectSetUp = false;
}

void GameDisplay::LoadColorSelectImages()
{
}

bool GameDisplay::IsColorSelectSetUp() const
{
    return s_bColorSelectSetUp;
}
