#include "engine/core/Matrix4.h"

Matrix4::Matrix4()
{
    for (int i = 0; i < 16; ++i) {
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    }
}

Vector3 Matrix4::TransformPoint(const Matrix4& matrix, const Vector3& p)
{
    const float* r = matrix.m;
    return {p.x * r[0] + p.y * r[4] + p.z * r[8] + r[12], p.x * r[1] + p.y * r[5] + p.z * r[9] + r[13],
            p.x * r[2] + p.y * r[6] + p.z * r[10] + r[14]};
}
