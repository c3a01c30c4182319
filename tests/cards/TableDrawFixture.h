// A headless scene with images made in the test, for the table's drawing: zones, buttons and named textures.
#pragma once

#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/Intro.h"
#include "tests/engine/scene/SceneFixture.h"

#include <memory>
#include <vector>

namespace tabletest {

class TableDrawFixture : public test::SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        MouseState = MouseRecord();
        MarkIntroEnded();
    }

    void TearDown() override
    {
        MouseState = MouseRecord();
        s_GameMode = 0;
        GetGameDisplay()->m_SceneTag = 0;
        SceneFixture::TearDown();
    }

    int Image(int width, int height)
    {
        m_pixels.push_back(std::make_unique<std::vector<std::uint16_t>>(static_cast<std::size_t>(width * height),
                                                                         std::uint16_t{0x1234}));
        return GetGameDisplay()->CreateTextureFromPixels(m_pixels.back()->data(), width, height, 0);
    }

    void Click(int x, int y)
    {
        MouseState.x = x;
        MouseState.y = y;
        MouseState.leftClicked = 1;
    }

    std::vector<std::unique_ptr<std::vector<std::uint16_t>>> m_pixels;
};

} // namespace tabletest
