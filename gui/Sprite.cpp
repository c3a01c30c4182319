#include "gui/Sprite.h"

#include "engine/core/Easing.h"
#include "engine/core/FloatMath.h"
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "gui/SpriteList.h"

Sprite::Sprite() : GUI_Window(SPRITE_KIND)
{
}

Sprite::~Sprite()
{
    if (m_bListed) {
        if (SpriteList* const list = FindSpriteList())
            list->Remove(this);
    }
}

void Sprite::SetPosition(int x, int y)
{
    m_X = static_cast<float>(x);
    m_Y = static_cast<float>(y);
}

void Sprite::SetTarget(int x, int y)
{
    m_TargetX = x;
    m_TargetY = y;
}

void Sprite::SetStretched(bool stretched)
{
    m_bStretched = stretched;
    m_bTiled = false;
}

void Sprite::SetTiled(bool tiled, int width, int height)
{
    m_bTiled = tiled;
    m_TileWidth = width;
    m_TileHeight = height;
}

void Sprite::GetAbsolutePosition(float& x, float& y) const
{
    x = m_X;
    y = m_Y;
    // A chain that loops back stops once it has walked as many links as could be distinct.
    int links = 0;
    for (const Sprite* parent = m_pParentSprite; parent != nullptr && parent != this && links < 1024;
         parent = parent->m_pParentSprite, ++links) {
        x += parent->m_X;
        y += parent->m_Y;
    }
}

void Sprite::Update()
{
    StepTowards(m_X, m_Y, static_cast<float>(m_TargetX), static_cast<float>(m_TargetY), m_Speed);
    if (!m_bSyncWindow)
        return;
    float x = 0.0f;
    float y = 0.0f;
    GetAbsolutePosition(x, y);
    const int left = static_cast<int>(x);
    const int top = static_cast<int>(y);
    int width = 0;
    int height = 0;
    if (HasSourceRect()) {
        width = m_Source.right - m_Source.left;
        height = m_Source.bottom - m_Source.top;
    } else if (m_Texture >= 0) {
        const TextureRecord& record = GetGameDisplay()->GetTextureRecord(m_Texture);
        width = record.width;
        height = record.height;
    }
    SetRect(left, top, left + width, top + height, false);
    GetGUIManager()->RegisterWindow(this);
}

void Sprite::Draw()
{
    if (m_Texture < 1)
        return;
    float x = 0.0f;
    float y = 0.0f;
    GetAbsolutePosition(x, y);
    const float left = static_cast<float>(static_cast<int>(x));
    const float top = static_cast<float>(static_cast<int>(y));
    const std::uint32_t keyed = m_bColorKeyed ? PRIM_COLOR_KEY : 0;
    if (m_bTiled) {
        GetRaster()->DrawTextureTiled(m_Texture, left, top, left + static_cast<float>(m_TileWidth),
                                      top + static_cast<float>(m_TileHeight), m_SpriteDepth, keyed);
    } else if (m_bStretched) {
        GetRaster()->DrawTextureEx(m_Texture, left, top, left + static_cast<float>(m_StretchWidth),
                                   top + static_cast<float>(m_StretchHeight), m_SpriteDepth, 0,
                                   HasSourceRect() ? &m_Source : nullptr);
    } else {
        GetGameDisplay()->DrawTexture(m_Texture, left, top, m_SpriteDepth, m_bColorKeyed ? 1 : 0, 0);
    }
}

bool Sprite::IsAtTarget(int tolerance) const
{
    const float dx = FloatAbs(m_X - static_cast<float>(m_TargetX));
    const float dy = FloatAbs(m_Y - static_cast<float>(m_TargetY));
    if (tolerance == 0)
        return dx == 0.0f && dy == 0.0f;
    const float limit = static_cast<float>(tolerance);
    return dx <= limit && dy <= limit;
}

int Sprite::GetWidth() const
{
    if (m_bTiled)
        return m_TileWidth;
    if (m_bStretched)
        return m_StretchWidth;
    if (m_Texture < 0)
        return 0;
    if (HasSourceRect())
        return m_Source.right - m_Source.left;
    return GetGameDisplay()->GetTextureRecord(m_Texture).width;
}

int Sprite::GetHeight() const
{
    if (m_bTiled)
        return m_TileHeight;
    if (m_bStretched)
        return m_StretchHeight;
    if (m_Texture < 0)
        return 0;
    if (HasSourceRect())
        return m_Source.bottom - m_Source.top;
    return GetGameDisplay()->GetTextureRecord(m_Texture).height;
}

void Sprite::GetBounds(RasterRect& rect) const
{
    rect.left = static_cast<int>(m_X);
    rect.top = static_cast<int>(m_Y);
    int width = 0;
    int height = 0;
    if (m_bTiled) {
        width = m_TileWidth;
        height = m_TileHeight;
    } else if (m_bStretched) {
        width = m_StretchWidth;
        height = m_StretchHeight;
    } else if (m_Texture >= 0) {
        const TextureRecord& record = GetGameDisplay()->GetTextureRecord(m_Texture);
        width = record.width;
        height = record.height;
    }
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
}
