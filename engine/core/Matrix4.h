// A 4 by 4 matrix of floats in row order; the fourth row holds the translation.
#pragma once

#include "engine/core/Vector3.h"

struct Matrix4 {
    float m[16];

    // Identity.
    Matrix4();

    // p.x * row0 + p.y * row1 + p.z * row2 + row3, first three columns only (no division by w).
    static Vector3 TransformPoint(const Matrix4& matrix, const Vector3& p);
};
