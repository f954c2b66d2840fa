#pragma once

#include <cmath>

#include <QPoint>

// Three-dimensional vectors for the fireworks physics. Units are metres (one metre is one pixel
// on screen), x to the right, y upward, z toward the viewer.
struct TVector3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    friend constexpr bool operator==(const TVector3&, const TVector3&) = default;
};

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4). Values beyond the int
// range saturate and NaN gives 0, so a runaway coordinate can never become undefined behaviour.
int RoundHalfEven(double value);

constexpr TVector3 VecMake(double x, double y, double z) { return TVector3{x, y, z}; }
constexpr TVector3 VecAdd(const TVector3& a, const TVector3& b) {
    return TVector3{a.x + b.x, a.y + b.y, a.z + b.z};
}
constexpr TVector3 VecSub(const TVector3& a, const TVector3& b) {
    return TVector3{a.x - b.x, a.y - b.y, a.z - b.z};
}
constexpr TVector3 VecScale(const TVector3& v, double s) { return TVector3{v.x * s, v.y * s, v.z * s}; }
constexpr TVector3 VecDiv(const TVector3& v, double s) { return TVector3{v.x / s, v.y / s, v.z / s}; }
constexpr TVector3 VecNegate(const TVector3& v) { return TVector3{-v.x, -v.y, -v.z}; }

inline double VecLength(const TVector3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

// The unit vector along v. A zero vector is divided by 1e-99 instead of 0 and so stays zero
// (no NaN for a particle at rest).
inline TVector3 VecNormalize(const TVector3& v) {
    const double length = VecLength(v);
    return VecDiv(v, length == 0.0 ? 1e-99 : length);
}

// The integer point (Round(x), Round(y)); z is dropped.
QPoint VecToPoint(const TVector3& v);

// Starts from (0, length, 0), turns by angle1 degrees in the x-y plane (positive toward +x),
// then by angle2 degrees in the y-z plane (positive toward -z), and adds origin:
//   origin + (length sin a1, length cos a1 cos a2, -length cos a1 sin a2).
TVector3 VecFromAngles(const TVector3& origin, double angle1, double angle2, double length);
