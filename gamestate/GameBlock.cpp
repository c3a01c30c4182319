#include "gamestate/GameBlock.h"

GameBlock& GetGameBlock()
{
    static GameBlock block;
    return block;
}
