#pragma once

#include "shipfile/Bytes.h"

#include <cmath>

// The little vector arithmetic the ship builders and the demo ships need.
namespace shipmaker {

using shipfile::Vec3;

constexpr float Pi = 3.14159265f;

inline Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

inline Vec3 operator-(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

inline Vec3 operator*(Vec3 a, float s)
{
    return {a.x * s, a.y * s, a.z * s};
}

inline Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline float dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline float length(Vec3 a)
{
    return std::sqrt(dot(a, a));
}

} // namespace shipmaker
