#include "engine/core/Easing.h"
#include "engine/core/Matrix4.h"
#include "engine/core/Vector3.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Vector3, Operations)
{
    Vector3 v;
    v.Set(3.0f, 4.0f, 0.0f);
    EXPECT_FLOAT_EQ(v.Length(), 5.0f);
    v.Normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);

    Vector3 zero;
    zero.Normalize();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_FALSE(std::isnan(zero.y));

    // this = b cross a: x cross y gives -z.
    Vector3 c;
    c.Cross(Vector3{1, 0, 0}, Vector3{0, 1, 0});
    EXPECT_FLOAT_EQ(c.z, -1.0f);
    EXPECT_FLOAT_EQ(c.x, 0.0f);

    const Vector3 p{1, 2, 3};
    const Vector3 sum = p.Plus(1, 1, 1).Minus(0, 0, 2).Scaled(2.0f).Divided(4.0f);
    EXPECT_FLOAT_EQ(sum.x, 1.0f);
    EXPECT_FLOAT_EQ(sum.y, 1.5f);
    EXPECT_FLOAT_EQ(sum.z, 1.0f);
    Vector3 q = p;
    q.Scale(2.0f);
    q.Add(1, 1, 1);
    EXPECT_FLOAT_EQ(q.z, 7.0f);
}

TEST(Matrix4, IdentityAndTranslation)
{
    Matrix4 m;
    const Vector3 p{1.5f, -2.0f, 7.0f};
    const Vector3 same = Matrix4::TransformPoint(m, p);
    EXPECT_EQ(same.x, p.x);
    EXPECT_EQ(same.y, p.y);
    EXPECT_EQ(same.z, p.z);

    // The fourth row translates; the fourth column is ignored.
    m.m[12] = 10.0f;
    m.m[13] = 20.0f;
    m.m[3] = 5.0f;
    m.m[0] = 2.0f;
    const Vector3 moved = Matrix4::TransformPoint(m, p);
    EXPECT_FLOAT_EQ(moved.x, 13.0f);
    EXPECT_FLOAT_EQ(moved.y, 18.0f);
    EXPECT_FLOAT_EQ(moved.z, 7.0f);
}

TEST(Easing, StepTowards)
{
    struct Case {
        float x, y, tx, ty, rate, ms, ex, ey;
    };
    const Case cases[] = {
        // 1.5 from the target snaps at once, even with no frame time.
        {0.0f, 0.0f, 1.5f, -1.5f, 1.0f, 0.0f, 1.5f, -1.5f},
        // step = 16 * (100 * 3 / 60) / 1000 = 0.08 toward each target.
        {0.0f, 100.0f, 100.0f, 0.0f, 3.0f, 16.0f, 0.08f, 99.92f},
        // A step that would overshoot snaps exactly.
        {0.0f, 0.0f, 100.0f, -100.0f, 60.0f, 2000.0f, 100.0f, -100.0f},
        // No frame time: far points stay.
        {0.0f, 0.0f, 100.0f, 50.0f, 60.0f, 0.0f, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        g_FrameMilliseconds = c.ms;
        float x = c.x;
        float y = c.y;
        StepTowards(x, y, c.tx, c.ty, c.rate);
        EXPECT_FLOAT_EQ(x, c.ex);
        EXPECT_FLOAT_EQ(y, c.ey);
    }
    g_FrameMilliseconds = 0.0f;
    EXPECT_FLOAT_EQ(FloatSin(0.5f), std::sin(0.5f));
}

} // namespace
