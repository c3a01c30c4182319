#include "engine/core/Easing.h"

#include <cmath>

float g_FrameMilliseconds = 0.0f;

namespace {

constexpr float SNAP_DISTANCE = 2.0f;

void StepAxis(float& position, float target, float rate)
{
    const float step = g_FrameMilliseconds * ((target - position) * rate / 60.0f) / 1000.0f;
    const float moved = position + step;
    const bool passes = (step > 0.0f && moved > target) || (step < 0.0f && moved < target);
    if (passes || std::fabs(position - target) < SNAP_DISTANCE) {
        position = target;
        return;
    }
    position = moved;
}

} // namespace

float FloatSin(float radians)
{
    return std::sin(radians);
}

void StepTowards(float& x, float& y, float targetX, float targetY, float rate)
{
    StepAxis(x, targetX, rate);
    StepAxis(y, targetY, rate);
}
