#include "tests/gui/GameWindowFixture.h"

#include "engine/core/Easing.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"

#include <memory>

namespace {

constexpr std::uint32_t RED = 0xFF0000;
constexpr std::uint32_t GREEN = 0x00FF00;

class SpriteTest : public guitest::GameWindowFixture {
protected:
    void TearDown() override
    {
        GetSpriteList()->Clear();
        g_FrameMilliseconds = 0.0f;
        GameWindowFixture::TearDown();
    }
};

TEST_F(SpriteTest, UpdateGlidesMovesItsWindowAndRegistersIt)
{
    const int texture = NamedImage("hand", 24, 16, RED);
    Sprite parent;
    parent.SetPosition(100, 50);
    parent.SetTarget(100, 50);
    Sprite child;
    child.SetTexture(texture);
    child.SetParentSprite(&parent);
    child.SetPosition(10, 0);
    child.SetTarget(10, 0);
    child.Update();
    EXPECT_EQ(child.GetLeft(), 110);
    EXPECT_EQ(child.GetTop(), 50);
    EXPECT_EQ(child.GetRight(), 134) << "the texture's size without a source rectangle";
    EXPECT_TRUE(GetGUIManager()->IsRegistered(&child));

    child.SetSourceRect(RasterRect{0, 0, 8, 4});
    child.Update();
    EXPECT_EQ(child.GetRight() - child.GetLeft(), 8);
    EXPECT_EQ(child.GetWidth(), 8);

    // Speed 0 never moves; sync off keeps the window where it was and registers nothing.
    Sprite still;
    still.SetTexture(texture);
    still.SetPosition(5, 5);
    still.SetTarget(40, 40);
    still.SetSyncWindow(false);
    g_FrameMilliseconds = 16.0f;
    still.Update();
    EXPECT_EQ(still.GetX(), 5);
    EXPECT_FALSE(still.IsAtTarget(0));
    EXPECT_FALSE(GetGUIManager()->IsRegistered(&still));
    EXPECT_EQ(still.GUI_Window::GetWidth(), 0);

    still.SetSpeed(300.0f);
    for (int frame = 0; frame < 200 && !still.IsAtTarget(0); ++frame) {
        still.Update();
    }
    EXPECT_TRUE(still.IsAtTarget(0)) << "a moving sprite snaps onto its target";
    GetGUIManager()->Clear();
}

TEST_F(SpriteTest, AtTargetToleranceAndSizes)
{
    const int texture = NamedImage("token", 20, 30, RED);
    struct Case {
        int x;
        int y;
        int tolerance;
        bool at;
    };
    for (const Case& c : {Case{50, 50, 0, true}, Case{51, 50, 0, false}, Case{53, 47, 3, true},
                          Case{54, 50, 3, false}}) {
        Sprite sprite;
        sprite.SetPosition(c.x, c.y);
        sprite.SetTarget(50, 50);
        EXPECT_EQ(sprite.IsAtTarget(c.tolerance), c.at) << c.x << "," << c.y << " within " << c.tolerance;
    }

    Sprite sprite;
    sprite.SetPosition(7, 9);
    RasterRect bounds;
    sprite.GetBounds(bounds);
    EXPECT_EQ(bounds.Width(), 0) << "no texture, empty bounds";
    EXPECT_EQ(sprite.GetWidth(), 0);
    sprite.SetTexture(texture);
    sprite.SetSourceRect(RasterRect{0, 0, 5, 6});
    sprite.GetBounds(bounds);
    EXPECT_EQ(bounds.Width(), 20) << "bounds ignore the source rectangle";
    EXPECT_EQ(sprite.GetWidth(), 5);
    sprite.SetTiled(true, 70, 40);
    EXPECT_EQ(sprite.GetWidth(), 70);
    sprite.SetStretched(true);
    sprite.SetStretchWidth(33);
    EXPECT_EQ(sprite.GetWidth(), 33) << "stretching ends tiling";
    sprite.SetTexture(0);
    sprite.SetStretched(false);
    sprite.SetSourceRect(RasterRect{0, 0, -1, -1});
    EXPECT_EQ(sprite.GetWidth(), 1) << "texture 0 reports its width though it is never drawn";
}

TEST_F(SpriteTest, TheListDrawsInOrderAndForgetsDeletedSprites)
{
    const int red = NamedImage("red", 10, 10, RED);
    const int green = NamedImage("green", 10, 10, GREEN);
    SpriteList& list = *GetSpriteList();
    Sprite parent;
    parent.SetPosition(100, 50);
    Sprite child;
    child.SetTexture(red);
    child.SetParentSprite(&parent);
    child.SetPosition(10, 0);
    child.SetDepth(150.0f);
    auto over = std::make_unique<Sprite>();
    over->SetTexture(green);
    over->SetPosition(130, 55);
    over->SetDepth(100.0f);
    Sprite hidden;
    hidden.SetTexture(0);
    list.Add(&child);
    list.Add(over.get());
    list.Add(&hidden);
    EXPECT_TRUE(child.IsListed());

    BeginDrawing();
    list.DrawAll();
    EndDrawing();
    EXPECT_EQ(PixelAt(110, 50), Colour(RED)) << "a child draws at its parent's position plus its own";
    EXPECT_EQ(PixelAt(130, 55), Colour(GREEN));

    over.reset();
    EXPECT_EQ(list.GetSprites(), (std::vector<Sprite*>{&child, &hidden})) << "a deleted sprite leaves the list";
    Sprite stranger;
    list.Remove(&stranger);
    EXPECT_EQ(list.GetSprites().size(), 2u);
    list.Remove(&child);
    EXPECT_FALSE(child.IsListed());
    list.Clear();
    EXPECT_TRUE(hidden.IsListed()) << "clearing keeps the flags";
}

} // namespace
