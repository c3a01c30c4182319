#include "lessons/GameBlock.h"

GameBlock& GetGameBlock()
{
    static GameBlock block;
    return block;
}
