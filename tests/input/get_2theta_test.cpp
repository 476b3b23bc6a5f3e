// GET_2THETA: from direction cosines, from the indices and the cell, and its failures.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "input/get_2theta.hpp"
#include "input/limiting_sphere.hpp"
#include "symmetry/vctmod.hpp"

namespace vorlane::input {
namespace {

// A cubic cell a = 10 with a known orientation: reciprocal axes 0.1, B = 0.1 * I, so the
// inverse transposed B is 10 * I, and the cell-metric table holds the reciprocal cell.
run::RunState cubic_state(bool with_cell_card) {
  run::RunState rs;
  rs.ctl.IBMAT = 1;
  rs.ctl.ICELL = with_cell_card ? 1 : 0;
  rs.ctl.WAVE = 0.7093f;
  rs.cell.RCELL = {0.1f, 0.1f, 0.1f, 90.0f, 90.0f, 90.0f};
  rs.cell.BTINV = {10, 0, 0, 0, 10, 0, 0, 0, 10};
  for (int axis = 1; axis <= 3; ++axis) {
    // (axis, kind 1 side / 2 cosine / 3 sine, space 1 real / 2 reciprocal)
    rs.celltab.at(axis, 1, 1) = 10.0f;
    rs.celltab.at(axis, 2, 1) = 0.0f;
    rs.celltab.at(axis, 3, 1) = 1.0f;
    rs.celltab.at(axis, 1, 2) = 0.1f;
    rs.celltab.at(axis, 2, 2) = 0.0f;
    rs.celltab.at(axis, 3, 2) = 1.0f;
  }
  return rs;
}

TEST(Get2Theta, NothingKnownAboutTheCellFails) {
  run::RunState rs;
  rs.ctl.IBMAT = 0;
  float tth = 5.0f;
  int ierr = 0;
  GET_2THETA(rs, {1, 0, 0, 1, 0, 0}, {1, 0, 0}, tth, ierr);
  EXPECT_EQ(ierr, 1);
  EXPECT_EQ(tth, 0.0f);
}

TEST(Get2Theta, FromDirectionCosines) {
  const run::RunState rs = cubic_state(false);
  // With this cell the Cartesian beam vectors are the cosines themselves: incident
  // (1, 0, 0) and diffracted (cos 150, sin 150, 0). The diffraction angle is the angle
  // between the incident beam and the diffracted one, 180 - 150 = 30 degrees.
  const float c = std::cos(150.0 * M_PI / 180.0);
  const float s = std::sin(150.0 * M_PI / 180.0);
  float tth = 0;
  int ierr = 1;
  GET_2THETA(rs, {1.0f, c, 0.0f, s, 0.0f, 0.0f}, {0, 0, 0}, tth, ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_NEAR(tth, 30.0, 1e-3);
}

TEST(Get2Theta, WithoutCosinesFromBraggsLaw) {
  const run::RunState rs = cubic_state(true);
  float tth = 0;
  int ierr = 1;
  GET_2THETA(rs, {0, 0, 0, 0, 0, 0}, {3, 4, 0}, tth, ierr);
  EXPECT_EQ(ierr, 0);
  // d = 10/5 = 2: 2theta = 2 asin(0.7093 / 4).
  const double expected = 2.0 * std::asin(0.7093 / 4.0) * 180.0 / M_PI;
  EXPECT_NEAR(tth, expected, 1e-4);
  // Cosines below the presence limit (sum of squares under 0.0001) count as absent.
  GET_2THETA(rs, {0.005f, 0.005f, 0, 0, 0, 0}, {3, 4, 0}, tth, ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_NEAR(tth, expected, 1e-4);
}

TEST(Get2Theta, WithoutCosinesAndWithoutCellCardFails) {
  const run::RunState rs = cubic_state(false);
  float tth = 1;
  int ierr = 0;
  GET_2THETA(rs, {0, 0, 0, 0, 0, 0}, {3, 4, 0}, tth, ierr);
  EXPECT_EQ(ierr, 1);
  EXPECT_EQ(tth, 0.0f);
}

TEST(Get2Theta, BeyondTheLimitingSphereIsAFailureNotANan) {
  run::RunState rs = cubic_state(true);
  rs.ctl.WAVE = 2.5f;  // d(9 0 0) = 1.111: lambda / 2d = 1.125
  float tth = 1;
  int ierr = 0;
  GET_2THETA(rs, {0, 0, 0, 0, 0, 0}, {9, 0, 0}, tth, ierr);
  EXPECT_EQ(ierr, 1);
  EXPECT_EQ(tth, 0.0f);
  // Just inside: d(7 0 0) = 1.4286, lambda / 2d = 0.875.
  GET_2THETA(rs, {0, 0, 0, 0, 0, 0}, {7, 0, 0}, tth, ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_NEAR(tth, 2.0 * std::asin(0.875) * 180.0 / M_PI, 1e-3);
}

TEST(Get2Theta, CellTwoThetaGivesWhatVctmodAndBraggsLawGiveBitForBit) {
  // An oblique reciprocal cell and a wavelength at which part of the box lies beyond the
  // limiting sphere: every index triple gets the same angle, or the same failure.
  run::RunState rs = cubic_state(true);
  const float sides[] = {0.1409f, 0.1205f, 0.1042f};
  const float cosines[] = {0.1564f, -0.2250f, 0.3746f};
  for (int axis = 1; axis <= 3; ++axis) {
    rs.celltab.at(axis, 1, 2) = sides[axis - 1];
    rs.celltab.at(axis, 2, 2) = cosines[axis - 1];
  }
  rs.ctl.WAVE = 1.5418f;
  const CellTwoTheta fast(rs);
  int failures = 0;
  for (int h = -15; h <= 15; ++h)
    for (int k = -15; k <= 15; ++k)
      for (int l = -15; l <= 15; ++l) {
        float tth = -1.0f, tth_fast = -2.0f;
        int ierr = -1, ierr_fast = -2;
        // The reference: |h| from VCTMOD, then Bragg's law in single precision.
        const std::array<float, 3> x{static_cast<float>(h), static_cast<float>(k),
                                     static_cast<float>(l)};
        const float d = 1.0f / symmetry::VCTMOD(rs.celltab, 1.0f, x, 2);
        const float sine = rs.ctl.WAVE / 2.0f / d;
        ierr = std::fabs(sine) <= 1.0f ? 0 : 1;
        tth = ierr == 0 ? 2.0f * std::asin(sine) * 57.29578f : 0.0f;
        fast({h, k, l}, tth_fast, ierr_fast);
        ASSERT_EQ(ierr_fast, ierr) << h << " " << k << " " << l;
        ASSERT_EQ(std::bit_cast<std::uint32_t>(tth_fast), std::bit_cast<std::uint32_t>(tth))
            << h << " " << k << " " << l;
        failures += ierr;
      }
  EXPECT_GT(failures, 1000);  // both sides of the limiting sphere were met
}

}  // namespace
}  // namespace vorlane::input

namespace vorlane::input {
namespace {

// The reader's test of the limiting sphere agrees with Bragg's law failing: lambda/2d from
// the reciprocal metric G*, here of an oblique cell (a 5, b 6, c 7, beta 100 degrees).
// Reference values from gemmi (UnitCell(5, 6, 7, 90, 100, 90).calculate_1_d2), lambda 1.5.
TEST(LimitingSphere, RatioFromTheReciprocalMetric) {
  run::RunState rs;
  rs.ctl.IBMAT = 1;
  rs.ctl.WAVE = 1.5f;
  // G* of the cell, column by column (symmetric): a*^2, b*^2, c*^2 are gemmi's 1/d^2 of 100,
  // 010, 001, and a*.c* half of 1/d^2(101) less those of 100 and 001.
  const float as2 = 0.04124365f, bs2 = 0.02777778f, cs2 = 0.02104268f, acs = 0.00511563f;
  rs.cell.GSTAR = {as2, 0, acs, 0, bs2, 0, acs, 0, cs2};
  const LimitingSphere sphere(rs);
  ASSERT_TRUE(sphere.known());
  struct Row {
    std::array<int, 3> h;
    double one_over_d2;  // gemmi
  };
  for (const Row& row : {Row{{1, 0, 0}, 0.04124365}, Row{{1, 2, 3}, 0.37243265},
                         Row{{-1, 2, 3}, 0.31104507}, Row{{6, 0, 0}, 1.48477133}}) {
    EXPECT_NEAR(sphere.ratio(row.h), 0.75 * std::sqrt(row.one_over_d2), 1e-6) << row.h[0];
  }
  EXPECT_GT(sphere.ratio({6, 0, 0}), 0.9);
  EXPECT_FALSE(LimitingSphere(run::RunState{}).known());  // no cell: nothing known
}

}  // namespace
}  // namespace vorlane::input
