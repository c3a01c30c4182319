#include "cards/CardActor.h"
#include "cards/PlayerHud.h"
#include "cards/TableInput.h"
#include "engine/raster/Raster.h"
#include "lessons/TableFlow.h"
#include "engine/scene/ScriptParser.h"
#include "rules/PlayerState.h"
#include "tests/cards/TableDrawFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Avatar images are named textures; the test enters distinct ids and reads back which one a frame shows.
class PlayerHudTest : public tabletest::TableDrawFixture {
protected:
    void SetUp() override
    {
        TableDrawFixture::SetUp();
        for (int player = 0; player < 2; ++player)
            for (int mood = 0; mood < 5; ++mood)
                Name(u"av" + Num(player) + u"_" + Num(mood), 100 + player * 10 + mood);
        Name(u"avX_pain", 200);
        for (int frame = 0; frame < 6; ++frame)
            Name(u"avX_h" + Num(frame), 300 + frame);
    }

    static std::u16string Num(int v)
    {
        const std::string s = std::to_string(v);
        return std::u16string(s.begin(), s.end());
    }

    static void Name(const std::u16string& name, int id) { AddTextureName(name, id); }

    // Runs the animation every 10 ms from time 1000 until it ends; returns (time, image) at every change.
    std::vector<std::pair<int, int>> Run(int player, int shown, int real, std::vector<int>* overlays = nullptr)
    {
        HudLifeAnimation animation;
        GameDisplay& display = *GetGameDisplay();
        display.m_AvatarImages.fill(-1);
        std::vector<std::pair<int, int>> changes;
        int last = -1;
        int lastOverlay = -1;
        for (std::uint32_t now = 1000; now < 20000; now += 10) {
            StepHudLife(animation, player, real, shown, now);
            const int image = display.m_AvatarImages[static_cast<std::size_t>(player)];
            if (image != last)
                changes.emplace_back(static_cast<int>(now) - 1000, image);
            last = image;
            const int overlay = display.m_AvatarOverlays[static_cast<std::size_t>(player)];
            if (overlays != nullptr && overlay != lastOverlay && overlay != -1)
                overlays->push_back(static_cast<int>(now) - 1000);
            lastOverlay = overlay;
            if (!animation.active && shown == real)
                break;
        }
        EXPECT_EQ(shown, real);
        return changes;
    }
};

TEST_F(PlayerHudTest, LosingShowsPainPerPointAndEndsOnTheMood)
{
    using Changes = std::vector<std::pair<int, int>>;
    // Human 20 -> 17: pain every 150 ms, the mood face 75 ms before each next step, the last face the mood of 17.
    EXPECT_EQ(Run(PLAYER_HUMAN, 20, 17),
              (Changes{{0, 200}, {80, 100}, {150, 200}, {230, 100}, {300, 200}, {380, 100}}));
    // CPU 8 -> 6: 400 ms per point, its face 200 ms before; mood 1 for 6-10.
    EXPECT_EQ(Run(PLAYER_CPU, 8, 6), (Changes{{0, 200}, {200, 111}, {400, 200}, {600, 111}}));
}

TEST_F(PlayerHudTest, GainingBeatsAHeartEvery50Ms)
{
    std::vector<int> beats;
    const auto changes = Run(PLAYER_HUMAN, 1, 3, &beats);
    // Mood of 2 (mood 3) then of 3 (mood 2), 150 ms apart.
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0], std::make_pair(0, 103));
    EXPECT_EQ(changes[1], std::make_pair(150, 102));
    ASSERT_GE(beats.size(), 3u);
    EXPECT_EQ(beats[0], 10);
    EXPECT_EQ(beats[1] - beats[0], 60) << "the next beat once 50 ms have passed, on the 10 ms clock";
    EXPECT_EQ(GetGameDisplay()->m_AvatarOverlays[0], -1) << "the last mood face clears the overlay";
}

TEST(LifeMoodTest, MoodBands)
{
    const std::pair<int, int> cases[] = {{25, 0}, {11, 0}, {10, 1}, {6, 1}, {5, 2}, {3, 2}, {2, 3}, {1, 3}, {0, 4}, {-3, 4}};
    for (const auto& [life, mood] : cases)
        EXPECT_EQ(LifeMood(life), mood) << life;
}

// The physical table's piles and CPU hand drawn into the back buffer: each image a plain colour.
class PlayerHudDrawingTest : public tabletest::TableDrawFixture {
protected:
    PlayerHudDrawingTest()
    {
        m_DesktopWidth = 800;
        m_DesktopHeight = 600;
    }

    void SetUp() override
    {
        TableDrawFixture::SetUp();
        s_GameMode = 1;
        GameDisplay& display = *GetGameDisplay();
        display.m_SmallCardBack = Plain(20, 28, BACK);
        display.m_StackEdge = -1;
        display.m_PilePoints[2] = MatPoint{100, 100};
        display.m_CpuHandRect = RasterRect{300, 20, 500, 90};
        ResetPlayerStates();
        GetTableFlow() = TableFlowState();
        GetTableInput() = TableInputState();
    }

    void TearDown() override
    {
        ResetPlayerStates();
        GetTableFlow() = TableFlowState();
        GetTableInput() = TableInputState();
        TableDrawFixture::TearDown();
    }

    int Plain(int width, int height, std::uint16_t colour)
    {
        m_pixels.push_back(std::make_unique<std::vector<std::uint16_t>>(static_cast<std::size_t>(width * height),
                                                                         colour));
        return GetGameDisplay()->CreateTextureFromPixels(m_pixels.back()->data(), width, height, 0);
    }

    CardActor* GraveyardCard(std::uint16_t colour)
    {
        CardActor* const card = AsCardActor(CreateActor(ACTOR_TYPE_CARD));
        RegisterActor(card);
        card->m_Texture = Plain(20, 28, colour);
        PlayerState& record = *GetPlayerState(PLAYER_HUMAN);
        record.m_Graveyard[static_cast<std::size_t>(record.m_GraveyardCount++)] = card;
        return card;
    }

    static int DrawAndCount()
    {
        Raster& raster = *GetRaster();
        raster.SetActive(true);
        raster.BeginFrame();
        DrawPlayerHud();
        const int queued = raster.GetQueuedCount();
        raster.Invalidate();
        raster.EndFrame();
        return queued;
    }

    static std::uint16_t PixelAt(int x, int y)
    {
        const PixelTarget target = GetRaster()->BackBuffer();
        return target.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(target.pitch) +
                             static_cast<std::size_t>(x)];
    }

    // Shades of blue read the same in 555 and 565 pixels.
    static constexpr std::uint16_t BACK = 0x001F;
    static constexpr std::uint16_t FIRST = 0x0008;
    static constexpr std::uint16_t TOP = 0x0010;
};

TEST_F(PlayerHudDrawingTest, GraveyardShowsItsTopCardFaceAndGlowsWhenMarked)
{
    GraveyardCard(FIRST);
    CardActor* const top = GraveyardCard(TOP);
    const int unmarked = DrawAndCount();
    RasterRect pile;
    GetGameDisplay()->GetPlayerGraveyardRect(pile, true);
    EXPECT_EQ(PixelAt(pile.left + 5, pile.top + 5), TOP);

    GetTableFlow().markedActors.insert(top);
    EXPECT_GT(DrawAndCount(), unmarked) << "the marked top card glows";
}

TEST_F(PlayerHudDrawingTest, CpuHandShowsOneBackPerCardAndCountsTheDemonstratedCard)
{
    const RasterRect& area = GetGameDisplay()->m_CpuHandRect;
    const auto lastBackRight = [&](int cards) { return area.left + 5 + 9 * (cards - 1) + 36; };
    GetTableInput().cpuHandCount = 3;
    DrawAndCount();
    EXPECT_EQ(PixelAt(lastBackRight(3) - 1, area.top + 30), BACK);
    EXPECT_NE(PixelAt(lastBackRight(3) + 1, area.top + 30), BACK);

    // A card being dragged out by the demonstration hand still counts; its slot stays empty.
    CardActor* const dragged = AsCardActor(CreateActor(ACTOR_TYPE_CARD));
    RegisterActor(dragged);
    dragged->SetHeld(false);
    dragged->SetInLibrary(false);
    GetTableFlow().demoHand = dragged;
    GetTableFlow().demoHandIndex = 3;
    DrawAndCount();
    EXPECT_NE(PixelAt(lastBackRight(4) - 1, area.top + 30), BACK) << "the demonstrated slot is empty";
    GetTableFlow().demoHandIndex = 0;
    DrawAndCount();
    EXPECT_EQ(PixelAt(lastBackRight(4) - 1, area.top + 30), BACK);
}

} // namespace
