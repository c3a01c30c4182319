#include "cards/Arrows.h"
#include "engine/raster/Raster.h"
#include "tests/cards/TableDrawFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

bool Finite(const CurvedArrowGeometry& g)
{
    for (int i = 0; i < ARROW_SAMPLES; ++i) {
        const auto& l = g.left[static_cast<std::size_t>(i)];
        const auto& r = g.right[static_cast<std::size_t>(i)];
        if (!std::isfinite(l.x) || !std::isfinite(l.y) || !std::isfinite(r.x) || !std::isfinite(r.y))
            return false;
    }
    return true;
}

TEST(CurvedArrowTest, StraightRibbonWithoutHeadsStopsShortOfTheEnd)
{
    const CurvedArrowGeometry g = ComputeCurvedArrow({0, 0}, {50, 0}, {100, 0}, 0.0f, false, false, 4);
    ASSERT_TRUE(g.valid);
    EXPECT_FALSE(g.hasStartHead);
    EXPECT_FALSE(g.hasEndHead);
    EXPECT_FLOAT_EQ(g.left[0].x, 0.0f);
    EXPECT_FLOAT_EQ(g.left[0].y, -4.0f);
    EXPECT_FLOAT_EQ(g.right[0].y, 4.0f);
    // The last sample is at 63/64 of the curve, short of the end point.
    EXPECT_GT(g.left[63].x, 99.9f);
    EXPECT_LT(g.left[63].x, 100.0f);
    for (int i = 0; i < ARROW_SAMPLES; ++i) {
        EXPECT_NEAR(g.left[static_cast<std::size_t>(i)].y, -4.0f, 1e-4f) << i;
        EXPECT_NEAR(g.right[static_cast<std::size_t>(i)].y, 4.0f, 1e-4f) << i;
    }
}

TEST(CurvedArrowTest, HeadsShortenTheRibbonAndReachBeyondBothEnds)
{
    const CurvedArrowGeometry g = ComputeCurvedArrow({0, 0}, {50, 0}, {100, 0}, 0.0f, true, true, 4);
    ASSERT_TRUE(g.valid && g.hasStartHead && g.hasEndHead);
    EXPECT_FLOAT_EQ(g.left[0].x, 4.0f);  // the start moved toward the bend by w
    // Tips lie w beyond the points passed in; the base corners 2w outside the ribbon.
    EXPECT_NEAR(g.startHead[2].x, -4.0f, 1e-3f);
    EXPECT_NEAR(g.startHead[2].y, 0.0f, 1e-3f);
    EXPECT_NEAR(g.endHead[1].x, 104.0f, 1e-2f);
    EXPECT_NEAR(g.endHead[1].y, 0.0f, 1e-3f);
    EXPECT_NEAR(std::fabs(g.startHead[0].y - g.startHead[1].y), 24.0f, 1e-2f);
}

TEST(CurvedArrowTest, DiagonalRibbonBendsThroughThePullPoint)
{
    const CurvedArrowGeometry g = ComputeCurvedArrow({0, 0}, {0, 100}, {100, 100}, 1.0f, false, false, 4);
    ASSERT_TRUE(g.valid);
    // Leaves downward, arrives to the right.
    EXPECT_FLOAT_EQ(g.left[0].x, 4.0f);
    EXPECT_FLOAT_EQ(g.left[0].y, 0.0f);
    EXPECT_FLOAT_EQ(g.right[0].x, -4.0f);
    EXPECT_NEAR(g.left[63].x, 100.0f, 1.0f);
    EXPECT_NEAR(g.left[63].y, 96.0f, 1.0f);
    // The middle of the ribbon lies well off the chord, toward the pull point.
    EXPECT_LT(g.left[32].x, g.left[32].y - 20.0f);
}

TEST(CurvedArrowTest, ZeroLengthsGiveNothingAndNoNaN)
{
    struct Case {
        ArrowPoint s, p, e;
        float bend;
        bool startHead, endHead;
        int width;
    };
    const Case cases[] = {
        {{10, 10}, {10, 10}, {10, 10}, 1.0f, false, false, 4},  // a point
        {{10, 10}, {10, 10}, {60, 10}, 1.0f, true, false, 4},   // pull on the start, start head
        {{10, 10}, {60, 10}, {60, 10}, 1.0f, false, true, 4},   // pull on the end, end head
        {{0, 0}, {50, 0}, {100, 0}, 0.0f, true, true, 0},       // no width
    };
    for (const Case& c : cases) {
        const CurvedArrowGeometry g = ComputeCurvedArrow(c.s, c.p, c.e, c.bend, c.startHead, c.endHead, c.width);
        EXPECT_TRUE(Finite(g));
        if (c.width != 0) {
            EXPECT_FALSE(g.valid);
        }
    }
}

class LinkTest : public tabletest::TableDrawFixture {};

TEST_F(LinkTest, OverlappingOrDegenerateLinksQueueNothing)
{
    GameDisplay& display = *GetGameDisplay();
    Raster& raster = *GetRaster();
    const int before = raster.GetQueuedCount();
    display.DrawLinkBetweenRects({0, 0, 50, 50}, {40, 40, 90, 90}, 1, 0, 0, true, true, 4, 10.0f);
    display.DrawCurvedArrow(5, 5, 5, 5, 5, 5, 1.0f, 1, 0, 0, 0.5f, true, true, 4, 10.0f);
    display.DrawLinkBetweenCards(nullptr, nullptr, 1, 0, 0, true, true, 4, 10.0f);
    EXPECT_EQ(raster.GetQueuedCount(), before);
    display.DrawLinkBetweenRects({0, 0, 50, 50}, {200, 200, 250, 250}, 1, 0, 0, true, true, 4, 10.0f);
    EXPECT_GT(raster.GetQueuedCount(), before);
}

} // namespace
