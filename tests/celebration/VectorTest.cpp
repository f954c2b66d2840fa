#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "celebration/Vector.h"

namespace {

TEST(Vector, RoundsHalvesToEvenAndSaturates) {
    const int big = std::numeric_limits<int>::max(), small = std::numeric_limits<int>::min();
    const struct { double value; int expected; } cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.4999, 1}, {-0.6, -1},
        {1e300, big}, {-1e300, small}, {std::nan(""), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
    EXPECT_EQ(VecToPoint(VecMake(2.5, -7.5, 99)), QPoint(2, -8));
}

TEST(Vector, FromAnglesTurnsTheUpwardVector) {
    const double c30 = std::sqrt(3.0) / 2, s45 = std::sqrt(0.5);
    const struct { TVector3 origin; double angle1, angle2, length; TVector3 expected; } cases[] = {
        {{0, 0, 0}, 0, 0, 3, {0, 3, 0}},   {{0, 0, 0}, 90, 0, 2, {2, 0, 0}}, // angle1 turns toward +x
        {{0, 0, 0}, 0, 90, 2, {0, 0, -2}}, {{0, 0, 0}, 180, 0, 1, {0, -1, 0}}, // angle2 toward -z
        {{1, 2, 3}, 30, 45, 2, {2, 2 + 2 * c30 * s45, 3 - 2 * c30 * s45}},
    };
    for (const auto& c : cases) {
        const TVector3 v = VecFromAngles(c.origin, c.angle1, c.angle2, c.length);
        EXPECT_NEAR(VecLength(VecSub(v, c.expected)), 0.0, 1e-12) << c.angle1 << "/" << c.angle2;
    }
}

TEST(Vector, NormalizeKeepsZeroAtZero) {
    EXPECT_EQ(VecNormalize(VecMake(0, 0, 0)), VecMake(0, 0, 0)); // no NaN for a particle at rest
    const TVector3 unit = VecNormalize(VecMake(3, 0, -4));
    EXPECT_NEAR(VecLength(VecSub(unit, VecMake(0.6, 0, -0.8))), 0.0, 1e-15);
}

} // namespace
