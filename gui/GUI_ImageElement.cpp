#include "gui/GUI_ImageElement.h"

#include "engine/raster/Raster.h"

#include <algorithm>

void GUI_ImageElement::Set(int texture, int offsetX, int offsetY, int width, int height, int modeX, int modeY)
{
    m_Texture = texture;
    m_OffsetX = offsetX;
    m_OffsetY = offsetY;
    m_DesignWidth = width;
    m_DesignHeight = height;
    m_ModeX = modeX;
    m_ModeY = modeY;
    m_TextureWidth = 0;
    m_TextureHeight = 0;
    if (texture >= 0)
        GetRaster()->GetTextureSize(texture, m_TextureWidth, m_TextureHeight);
    m_Width = width;
    m_Height = height;
    m_Depth = 5.0f;
}

void GUI_ImageElement::SetPosition(int x, int y)
{
    m_X = x;
    m_Y = y;
}

void GUI_ImageElement::SetSize(int width, int height)
{
    m_Width = width;
    m_Height = height;
}

void GUI_ImageElement::SetRect(int x, int y, int width, int height)
{
    SetPosition(x, y);
    SetSize(width, height);
}

void GUI_ImageElement::SetColour(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a)
{
    m_Colour[0] = r;
    m_Colour[1] = g;
    m_Colour[2] = b;
    m_Colour[3] = a;
}

void GUI_ImageElement::Draw() const
{
    if (m_Texture < 0)
        return;
    RasterRect source{0, 0, m_TextureWidth, m_TextureHeight};
    int right = m_X + m_Width;
    int bottom = m_Y + m_Height;
    if (m_ModeX == SIZE_MODE_NATURAL) {
        right = m_X + std::min(m_Width, m_TextureWidth);
        if (m_Width < m_TextureWidth)
            source.right = m_Width;
    }
    if (m_ModeY == SIZE_MODE_NATURAL) {
        bottom = m_Y + std::min(m_Height, m_TextureHeight);
        if (m_Height < m_TextureHeight)
            source.bottom = m_Height;
    }
    const std::uint32_t flags = m_bAlpha ? PRIM_COLOR_KEY : 0;
    Raster* const raster = GetRaster();
    if (m_ModeX != SIZE_MODE_TILE && m_ModeY != SIZE_MODE_TILE)
        raster->DrawTextureEx(m_Texture, static_cast<float>(m_X), static_cast<float>(m_Y), static_cast<float>(right),
                              static_cast<float>(bottom), m_Depth, flags, &source);
    else
        raster->DrawTextureTiled(m_Texture, static_cast<float>(m_X), static_cast<float>(m_Y), static_cast<float>(right),
                                 static_cast<float>(bottom), m_Depth, flags);
}
