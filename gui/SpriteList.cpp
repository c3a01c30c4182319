#include "gui/SpriteList.h"

#include <memory>

namespace {

std::unique_ptr<SpriteList> s_pSpriteList;

} // namespace

SpriteList* GetSpriteList()
{
    if (!s_pSpriteList)
        s_pSpriteList = std::make_unique<SpriteList>();
    return s_pSpriteList.get();
}

void DeleteSpriteList()
{
    s_pSpriteList.reset();
}
