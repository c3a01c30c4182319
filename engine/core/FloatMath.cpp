#include "engine/core/FloatMath.h"

#include <cmath>

float FloatAbs(float value)
{
    return std::fabs(value);
}

float FloatSqrt(float value)
{
    return value > 0.0f ? std::sqrt(value) : 0.0f;
}
