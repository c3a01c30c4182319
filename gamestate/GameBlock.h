// The game block and the lesson flow words that a table reset puts back. Until the turn flows use them they keep
// only what the reset and the tests put there.
#pragma once

#include <array>

struct GameBlock {
    // Set to -1 when the table returns to the menus.
    std::array<int, 5> menuWords{};
    int resetWord = 0;
    std::array<int, 6> flowWords{};
};
GameBlock& GetGameBlock();
