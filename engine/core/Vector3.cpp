#include "engine/core/Vector3.h"

#include <cmath>

void Vector3::Cross(const Vector3& a, const Vector3& b)
{
    const Vector3 r{b.y * a.z - a.y * b.z, b.z * a.x - a.z * b.x, b.x * a.y - a.x * b.y};
    *this = r;
}

float Vector3::Length() const
{
    return std::sqrt(x * x + y * y + z * z);
}

void Vector3::Normalize()
{
    const float length = Length();
    // A zero vector has no direction; scaling it would fill it with NaN.
    if (length == 0.0f) {
        return;
    }
    Scale(1.0f / length);
}
