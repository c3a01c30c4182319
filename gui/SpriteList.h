// The sprites of the scene in the order they were added. The list refers to them; their owners delete them.
#pragma once

#include <vector>

class Sprite;

class SpriteList {
public:
    void Add(Sprite* sprite);
    // The first entry of the sprite; nothing when it is not listed.
    void Remove(Sprite* sprite);
    // Forgets every entry; the sprites keep their listed flags (a mode switch drops the list wholesale).
    void Clear();
    void UpdateAll();
    void DrawAll();

    const std::vector<Sprite*>& GetSprites() const { return m_Sprites; }

private:
    std::vector<Sprite*> m_Sprites;
};

// Created on first use; shutdown deletes it.
SpriteList* GetSpriteList();
void DeleteSpriteList();
// The list while it exists, without creating it.
SpriteList* FindSpriteList();
