// The geometry of the curved arrow: two Bézier edges sampled 64 times and the optional heads.
#pragma once

#include <array>

struct ArrowPoint {
    float x = 0.0f;
    float y = 0.0f;
};

constexpr int ARROW_SAMPLES = 64;

struct CurvedArrowGeometry {
    // False where a needed length is 0: nothing is drawn.
    bool valid = false;
    std::array<ArrowPoint, ARROW_SAMPLES> left{};
    std::array<ArrowPoint, ARROW_SAMPLES> right{};
    bool hasStartHead = false;
    bool hasEndHead = false;
    std::array<ArrowPoint, 3> startHead{};
    std::array<ArrowPoint, 3> endHead{};
};

CurvedArrowGeometry ComputeCurvedArrow(ArrowPoint start, ArrowPoint pull, ArrowPoint end, float bend, bool startHead,
                                       bool endHead, int halfWidth);
// The arc tangent of y / x in the quadrant of (x, y), computed in double precision.
float FloatAtan2(float y, float x);
