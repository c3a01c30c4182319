// Three floats x, y, z: actor positions, particle movement.
#pragma once

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    void Set(float nx, float ny, float nz)
    {
        x = nx;
        y = ny;
        z = nz;
    }
    // this = b cross a.
    void Cross(const Vector3& a, const Vector3& b);
    float Length() const;
    // Scales to length 1; a zero vector stays zero.
    void Normalize();

    Vector3 Plus(float dx, float dy, float dz) const { return {x + dx, y + dy, z + dz}; }
    Vector3 Minus(float dx, float dy, float dz) const { return {x - dx, y - dy, z - dz}; }
    Vector3 Scaled(float s) const { return {x * s, y * s, z * s}; }
    void Scale(float s)
    {
        x *= s;
        y *= s;
        z *= s;
    }
    Vector3 Divided(float s) const { return Scaled(1.0f / s); }
    void Add(float dx, float dy, float dz)
    {
        x += dx;
        y += dy;
        z += dz;
    }
};
