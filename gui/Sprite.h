// A moving image of the scene that is also a toolkit window, so the mouse can find it. A listed sprite glides
// toward its target each frame, carries its window rectangle along and is drawn by the sprite list. A sprite
// chained to a parent is placed relative to it.
#pragma once

#include "engine/raster/RasterTypes.h"
#include "gui/GUI_Window.h"

constexpr std::uint32_t SPRITE_KIND = 8;

class Sprite : public GUI_Window {
public:
    Sprite();
    // A sprite deleted while listed leaves the list.
    ~Sprite() override;

    void Draw() override;
    void Update() override;

    void SetTexture(int texture) { m_Texture = texture; }
    int GetTexture() const { return m_Texture; }
    void SetPosition(int x, int y);
    void SetX(int x) { m_X = static_cast<float>(x); }
    int GetX() const { return static_cast<int>(m_X); }
    int GetY() const { return static_cast<int>(m_Y); }
    void SetDepth(float depth) { m_SpriteDepth = depth; }
    float GetSpriteDepth() const { return m_SpriteDepth; }
    void SetTarget(int x, int y);
    void SetTargetX(int x) { m_TargetX = x; }
    void SetTargetY(int y) { m_TargetY = y; }
    int GetTargetX() const { return m_TargetX; }
    int GetTargetY() const { return m_TargetY; }
    void SetSpeed(float speed) { m_Speed = speed; }
    void SetStartTime(std::uint32_t time) { m_StartTime = time; }
    std::uint32_t GetStartTime() const { return m_StartTime; }
    void SetSourceRect(const RasterRect& rect) { m_Source = rect; }
    void SetSyncWindow(bool sync) { m_bSyncWindow = sync; }
    void SetColorKeyed(bool keyed) { m_bColorKeyed = keyed; }
    // Stretched drawing replaces tiled drawing.
    void SetStretched(bool stretched);
    void SetStretchWidth(int width) { m_StretchWidth = width; }
    void SetStretchHeight(int height) { m_StretchHeight = height; }
    void SetTiled(bool tiled, int width, int height);
    void SetParentSprite(Sprite* parent) { m_pParentSprite = parent; }
    Sprite* GetParentSprite() const { return m_pParentSprite; }
    void SetListed(bool listed) { m_bListed = listed; }
    bool IsListed() const { return m_bListed; }

    // tolerance 0: exactly on the target; else within it on both axes.
    bool IsAtTarget(int tolerance) const;
    // The drawn size: tile size, else stretch size, else the source rectangle or the whole texture.
    int GetWidth() const;
    int GetHeight() const;
    // From the own position with the tile, stretch or whole-texture size; empty without a texture.
    void GetBounds(RasterRect& rect) const;

private:
    bool HasSourceRect() const { return m_Source.right - m_Source.left >= 0 && m_Source.bottom - m_Source.top >= 0; }
    void GetAbsolutePosition(float& x, float& y) const;

    bool m_bListed = false;
    int m_Texture = -1;
    float m_X = 0.0f;
    float m_Y = 0.0f;
    float m_SpriteDepth = 0.0f;
    int m_TargetX = 0;
    int m_TargetY = 0;
    float m_Speed = 0.0f;
    std::uint32_t m_StartTime = 0;
    RasterRect m_Source{0, 0, -1, -1};
    bool m_bStretched = false;
    int m_StretchWidth = 0;
    int m_StretchHeight = 0;
    bool m_bSyncWindow = true;
    bool m_bColorKeyed = false;
    Sprite* m_pParentSprite = nullptr;
    bool m_bTiled = false;
    int m_TileWidth = 0;
    int m_TileHeight = 0;
};
