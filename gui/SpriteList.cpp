#include "gui/SpriteList.h"

#include "gui/Sprite.h"

#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<SpriteList> s_pSpriteList;

} // namespace

void SpriteList::Add(Sprite* sprite)
{
    if (sprite == nullptr)
        return;
    sprite->SetListed(true);
    m_Sprites.push_back(sprite);
}

void SpriteList::Remove(Sprite* sprite)
{
    const auto found = std::find(m_Sprites.begin(), m_Sprites.end(), sprite);
    if (found == m_Sprites.end())
        return;
    sprite->SetListed(false);
    m_Sprites.erase(found);
}

void SpriteList::Clear()
{
    m_Sprites.clear();
}

// A sprite's update may add or remove sprites: walk a copy and skip the ones gone meanwhile.
void SpriteList::UpdateAll()
{
    const std::vector<Sprite*> sprites = m_Sprites;
    for (Sprite* const sprite : sprites) {
        if (std::find(m_Sprites.begin(), m_Sprites.end(), sprite) != m_Sprites.end())
            sprite->Update();
    }
}

void SpriteList::DrawAll()
{
    for (Sprite* const sprite : m_Sprites) {
        sprite->Draw();
    }
}

SpriteList* GetSpriteList()
{
    if (!s_pSpriteList)
        s_pSpriteList = std::make_unique<SpriteList>();
    return s_pSpriteList.get();
}

SpriteList* FindSpriteList()
{
    return s_pSpriteList.get();
}

void DeleteSpriteList()
{
    s_pSpriteList.reset();
}
