// Text helpers of the table drawing: shadowed labels and the box behind a card's popup text.
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"

void GameDisplay::DrawShadowedText(std::u16string_view text, const RasterRect& rect, int alignment, int font,
                                   std::uint32_t colour, int dx, int dy, std::uint32_t shadowColour) const
{
    Raster* const raster = GetRaster();
    if (raster == nullptr || text.empty())
        return;
    const RasterRect shadow{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    raster->DrawText(text, shadow, alignment, font, shadowColour, true);
    raster->DrawText(text, rect, alignment, font, colour, true);
}

void GameDisplay::DrawLabelBox(const RasterRect& rect) const
{
    Raster* const raster = GetRaster();
    if (raster == nullptr)
        return;
    const float left = static_cast<float>(rect.left - 4);
    const float top = static_cast<float>(rect.top - 2);
    const float right = static_cast<float>(rect.right + 4);
    const float bottom = static_cast<float>(rect.bottom + 2);
    DrawFrameRect(left, top, right, bottom, 1.0f, raster->MakeColor(255, 255, 224, 255), true, 1.0f);
    DrawFrameRect(left, top, right, bottom, 1.0f, raster->MakeColor(128, 128, 96, 255), false, 1.0f);
}
