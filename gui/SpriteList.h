// The sprite list. Until sprites exist the list is always empty.
#pragma once

class SpriteList {
public:
    void UpdateAll() {}
    void DrawAll() {}
    void Clear() {}
};

// Created on first use; shutdown deletes it.
SpriteList* GetSpriteList();
void DeleteSpriteList();
