// One drawable piece of a skinned frame or background: a texture placed at a rectangle, drawn at natural size
// (cut to the element), stretched or tiled.
#pragma once

#include <cstdint>

constexpr int SIZE_MODE_NATURAL = 0;
constexpr int SIZE_MODE_STRETCH = 1;
constexpr int SIZE_MODE_TILE = 2;

class GUI_ImageElement {
public:
    // The texture size is read from the raster; the current size becomes width x height; depth 5.0.
    void Set(int texture, int offsetX, int offsetY, int width, int height, int modeX, int modeY);
    void SetPosition(int x, int y);
    void SetSize(int width, int height);
    void SetRect(int x, int y, int width, int height);
    void SetColour(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a);
    void SetAlpha(bool alpha) { m_bAlpha = alpha; }
    void SetDepth(float depth) { m_Depth = depth; }
    void Draw() const;

    int GetTexture() const { return m_Texture; }
    int GetTextureWidth() const { return m_TextureWidth; }
    int GetTextureHeight() const { return m_TextureHeight; }
    int GetX() const { return m_X; }
    int GetY() const { return m_Y; }
    int GetWidth() const { return m_Width; }
    int GetHeight() const { return m_Height; }
    int GetModeX() const { return m_ModeX; }
    int GetModeY() const { return m_ModeY; }
    bool GetAlpha() const { return m_bAlpha; }
    float GetDepth() const { return m_Depth; }

private:
    int m_Texture = -1;
    int m_TextureWidth = 0;
    int m_TextureHeight = 0;
    int m_X = 0;
    int m_Y = 0;
    int m_Width = 0;
    int m_Height = 0;
    int m_OffsetX = 0;
    int m_OffsetY = 0;
    int m_DesignWidth = 0;
    int m_DesignHeight = 0;
    int m_ModeX = 0;
    int m_ModeY = 0;
    std::uint32_t m_Colour[4] = {128, 128, 128, 255};
    bool m_bAlpha = false;
    float m_Depth = 5.0f;
};
