// Volume, metric tensor and B matrix from cell constants.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "geometry/angle_constants.hpp"
#include "geometry/build_g_from_cell.hpp"
#include "geometry/calcb_from_cell.hpp"
#include "geometry/getcellvol.hpp"
#include "geometry/mat3_ops.hpp"

namespace vorlane::geometry {
namespace {

const std::array<float, 7> kCubic{10, 10, 10, 90, 90, 90, 0};

TEST(Getcellvol, CubicCell) {
  EXPECT_NEAR(GETCELLVOL(kCubic, 0), 1000.0f, 1e-3f);
}

TEST(Getcellvol, TriclinicCellMatchesGemmi) {
  // alert_p-1_saint cell; gemmi.UnitCell(...).volume = 854.8103293931729.
  const std::array<float, 6> cell{9.7438f, 9.9224f, 10.9840f, 64.086f, 78.354f, 63.503f};
  EXPECT_NEAR(GETCELLVOL(cell, 0), 854.8103f, 0.01f);
}

TEST(Getcellvol, RadiansWhenUnitFlagIsNotZero) {
  const float right = 1.5707964f;
  const std::array<float, 6> cell{2, 3, 4, right, right, 2.0943952f};  // gamma = 120 degrees
  // V = abc sin(gamma) = 24 * sqrt(3)/2.
  EXPECT_NEAR(GETCELLVOL(cell, 1), 24.0f * std::sqrt(3.0f) / 2.0f, 1e-4f);
}

TEST(BuildGFromCell, CubicCellWithTinyOffDiagonalTerms) {
  CellState cell;
  BUILD_G_FROM_CELL(cell, kCubic);
  EXPECT_FLOAT_EQ(at(cell.GMET, 1, 1), 100.0f);
  EXPECT_FLOAT_EQ(at(cell.GMET, 2, 2), 100.0f);
  EXPECT_FLOAT_EQ(at(cell.GMET, 3, 3), 100.0f);
  // 90 * DEGRAD is a little above pi/2 in single precision, so cos(90) is not exactly zero.
  for (auto [i, j] : {std::pair{1, 2}, {1, 3}, {2, 3}}) {
    EXPECT_NE(at(cell.GMET, i, j), 0.0f);
    EXPECT_LT(std::abs(at(cell.GMET, i, j)), 1e-4f);
    EXPECT_EQ(at(cell.GMET, i, j), at(cell.GMET, j, i));
  }
}

TEST(BuildGFromCell, MonoclinicOffDiagonal) {
  CellState cell;
  const std::array<float, 7> mono{5, 6, 7, 90, 120, 90, 0};
  BUILD_G_FROM_CELL(cell, mono);
  EXPECT_NEAR(at(cell.GMET, 1, 3), 5.0f * 7.0f * -0.5f, 1e-5f);
  EXPECT_NEAR(at(cell.GMET, 3, 1), -17.5f, 1e-5f);
}

TEST(CalcbFromCell, CubicCell) {
  CellState cell;
  CALCB_FROM_CELL(cell, kCubic);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_NEAR(cell.RCELL[i - 1], 0.1f, 1e-7f);
    EXPECT_NEAR(cell.RCELL[i + 2], 90.0f, 1e-4f);
    EXPECT_NEAR(at(cell.BMAT, i, i), 0.1f, 1e-7f);
    EXPECT_NEAR(at(cell.BTINV, i, i), 10.0f, 1e-5f);
    for (int j = 1; j <= 3; ++j)
      if (i != j) {
        EXPECT_LT(std::abs(at(cell.BMAT, i, j)), 1e-7f);
      }
  }
  EXPECT_EQ(at(cell.BMAT, 2, 1), 0.0f);
  EXPECT_EQ(at(cell.BMAT, 3, 2), 0.0f);
}

TEST(CalcbFromCell, MonoclinicCellMatchesBusingLevy) {
  // exp714_p21c_crysalis cell. Expected values from gemmi's reciprocal cell and
  // B = [[a*, b* cos g*, c* cos b*], [0, b* sin g*, -c* sin b* cos alpha], [0, 0, 1/c]]
  // evaluated in double precision with numpy; BTINV = inv(B^T) likewise.
  const std::array<float, 7> mono{7.53902f, 8.37362f, 28.5257f, 90.0f, 91.205f, 90.0f, 0};
  CellState cell;
  CALCB_FROM_CELL(cell, mono);
  EXPECT_NEAR(cell.RCELL[0], 0.132672575f, 2e-7f);
  EXPECT_NEAR(cell.RCELL[1], 0.119422663f, 2e-7f);
  EXPECT_NEAR(cell.RCELL[2], 0.035063862f, 2e-7f);
  EXPECT_NEAR(cell.RCELL[4], 88.795f, 1e-3f);
  EXPECT_NEAR(at(cell.BMAT, 1, 1), 0.132672575f, 2e-7f);
  EXPECT_NEAR(at(cell.BMAT, 1, 3), 7.37381338e-04f, 2e-7f);
  EXPECT_NEAR(at(cell.BMAT, 2, 2), 0.119422663f, 2e-7f);
  EXPECT_NEAR(at(cell.BMAT, 3, 3), 3.50561073e-02f, 2e-8f);
  EXPECT_NEAR(at(cell.BTINV, 1, 1), 7.53735276f, 2e-5f);
  EXPECT_NEAR(at(cell.BTINV, 3, 1), -0.158543081f, 2e-5f);
  EXPECT_NEAR(at(cell.BTINV, 2, 2), 8.37362f, 2e-5f);
  EXPECT_NEAR(at(cell.BTINV, 3, 3), 28.5257f, 1e-4f);
}

TEST(CalcbFromCell, KeepsAReciprocalCellAlreadyKnown) {
  // With RCELL set (from a UB matrix) only alpha and c are taken from the cell constants.
  CellState cell;
  cell.RCELL = {0.2f, 0.25f, 0.5f, 90, 90, 90};
  CALCB_FROM_CELL(cell, kCubic);
  EXPECT_FLOAT_EQ(at(cell.BMAT, 1, 1), 0.2f);
  EXPECT_NEAR(at(cell.BMAT, 2, 2), 0.25f, 1e-7f);
  EXPECT_FLOAT_EQ(at(cell.BMAT, 3, 3), 0.1f);  // 1/c of the constants, not c*
  EXPECT_EQ(cell.GMET, Mat3{});                 // the cell constants were not turned into G
}

}  // namespace
}  // namespace vorlane::geometry
