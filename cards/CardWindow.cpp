#include "cards/CardWindow.h"

#include "cards/CardActor.h"
#include "engine/raster/Raster.h"

void CardWindow::DrawBackground()
{
    Raster* const raster = GetRaster();
    if (m_pCardActor == nullptr || m_pCardActor->m_Texture < 0 || raster == nullptr)
        return;
    raster->DrawTextureEx(m_pCardActor->m_Texture, static_cast<float>(GetLeft()), static_cast<float>(GetTop()),
                          static_cast<float>(GetRight()), static_cast<float>(GetBottom()), GetDepth(), 0);
}
