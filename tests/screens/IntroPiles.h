// The piles the intros aim at take their size from the small card back: a plain one for the test's table.
#pragma once

#include "engine/scene/GameDisplay.h"

#include <cstdint>
#include <vector>

namespace introtest {

class SmallCardBack {
public:
    SmallCardBack() : m_Pixels(static_cast<std::size_t>(WIDTH * HEIGHT), 0x1234)
    {
        GameDisplay& display = *GetGameDisplay();
        m_Previous = display.m_SmallCardBack;
        display.m_SmallCardBack = display.CreateTextureFromPixels(m_Pixels.data(), WIDTH, HEIGHT, 0);
    }
    ~SmallCardBack() { GetGameDisplay()->m_SmallCardBack = m_Previous; }
    SmallCardBack(const SmallCardBack&) = delete;
    SmallCardBack& operator=(const SmallCardBack&) = delete;

    static constexpr int WIDTH = 40;
    static constexpr int HEIGHT = 56;

private:
    std::vector<std::uint16_t> m_Pixels;
    int m_Previous = -1;
};

} // namespace introtest
