#include "geometry/tth_fromdc.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace vorlane::geometry {
namespace {

TEST(TthFromdc, IdenticalDirectionsGiveZero) {
  std::array<float, 3> d1{0.3f, 0.4f, 0.5f}, d2{0.3f, 0.4f, 0.5f};
  EXPECT_EQ(TTH_FROMDC(d1, d2), 0.0f);  // q = -1
}

TEST(TthFromdc, AntiparallelDirectionsAlsoGiveZero) {
  std::array<float, 3> d1{1, 0, 0}, d2{-1, 0, 0};
  EXPECT_EQ(TTH_FROMDC(d1, d2), 0.0f);  // q = +1
}

TEST(TthFromdc, PerpendicularDirectionsGive90) {
  std::array<float, 3> d1{0, 0, 2}, d2{0, 3, 0};
  EXPECT_NEAR(TTH_FROMDC(d1, d2), 90.0f, 1e-5f);
}

TEST(TthFromdc, ScatteringAngleFromReversedIncidentBeam) {
  // Reversed incident beam along -x, diffracted beam 30 degrees off +x: 2theta = 30.
  std::array<float, 3> d1{-2, 0, 0};
  std::array<float, 3> d2{std::cos(0.5235988f) * 5, std::sin(0.5235988f) * 5, 0};
  EXPECT_NEAR(TTH_FROMDC(d1, d2), 30.0f, 1e-4f);
  // Both vectors were normalised in place.
  EXPECT_FLOAT_EQ(d1[0], -1.0f);
  EXPECT_NEAR(d2[0] * d2[0] + d2[1] * d2[1] + d2[2] * d2[2], 1.0f, 1e-6f);
}

TEST(TthFromdc, ZeroVectorGivesZeroWithoutNaN) {
  std::array<float, 3> d1{0, 0, 0}, d2{0, 1, 0};
  const float t = TTH_FROMDC(d1, d2);
  EXPECT_EQ(t, 0.0f);
  EXPECT_EQ(d1, (std::array<float, 3>{0, 0, 0}));
}

}  // namespace
}  // namespace vorlane::geometry
