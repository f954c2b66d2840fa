#include "celebration/Vector.h"

#include <cmath>
#include <limits>
#include <numbers>

int RoundHalfEven(double value) {
    // The default floating-point rounding mode is round-to-nearest-even; nothing in the game
    // changes it.
    const double rounded = std::nearbyint(value);
    if (!(rounded == rounded))
        return 0;
    if (rounded >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (rounded <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(rounded);
}

QPoint VecToPoint(const TVector3& v) { return QPoint(RoundHalfEven(v.x), RoundHalfEven(v.y)); }

TVector3 VecFromAngles(const TVector3& origin, double angle1, double angle2, double length) {
    constexpr double toRadians = std::numbers::pi / 180.0;
    const double a1 = angle1 * toRadians;
    const double a2 = angle2 * toRadians;

    // Turn (0, length, 0) in the x-y plane ...
    const double x0 = 0.0, y0 = length, z0 = 0.0;
    const double x1 = x0 * std::cos(a1) + y0 * std::sin(a1);
    const double y1 = -x0 * std::sin(a1) + y0 * std::cos(a1);
    // ... then in the y-z plane.
    const double z2 = -y1 * std::sin(a2) + z0 * std::cos(a2);
    const double y2 = y1 * std::cos(a2) + z0 * std::sin(a2);
    return VecAdd(origin, TVector3{x1, y2, z2});
}
