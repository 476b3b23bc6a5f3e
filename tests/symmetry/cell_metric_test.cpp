// RECELL, ORTHOG, VCTMOD, SINCOS and DEGREE.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "records/program_stop.hpp"
#include "symmetry/degree.hpp"
#include "symmetry/recell.hpp"
#include "symmetry/sincos.hpp"
#include "symmetry/vctmod.hpp"
#include "symmetry_test_helpers.hpp"

namespace vorlane::symmetry {
namespace {

using test::blanks;
using Lines = std::vector<std::string>;

CellTable real_cell(float a, float b, float c, float al, float be, float ga) {
  CellTable ct;
  const float s[3] = {a, b, c};
  const float ang[3] = {al, be, ga};
  for (int i = 1; i <= 3; ++i) {
    const double r = static_cast<double>(ang[i - 1]) * 3.14159265358979 / 180.0;
    ct.at(i, CELL_SIDE, 1) = s[i - 1];
    // Right angles exactly: cosine 0, sine 1.
    ct.at(i, CELL_COS, 1) = ang[i - 1] == 90.0f ? 0.0f : static_cast<float>(std::cos(r));
    ct.at(i, CELL_SIN, 1) = ang[i - 1] == 90.0f ? 1.0f : static_cast<float>(std::sin(r));
  }
  return ct;
}

TEST(Recell, CubicCellFromTheRealLattice) {
  CellTable ct = real_cell(10, 10, 10, 90, 90, 90);
  test::MemoryPrint mp;
  RECELL(ct, 2, mp.prt);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_NEAR(ct.at(i, CELL_SIDE, 2), 0.1f, 1e-7f);
    EXPECT_NEAR(ct.at(i, CELL_COS, 2), 0.0f, 1e-7f);
    EXPECT_NEAR(ct.RQPROD[static_cast<std::size_t>(i - 1)], 0.01f, 1e-8f);
    EXPECT_NEAR(ct.RQPROD[static_cast<std::size_t>(i + 2)], 0.0f, 1e-8f);
  }
  EXPECT_NEAR(ct.VCELL, 1000.0f, 1e-3f);
  const Lines lines = mp.lines();
  ASSERT_GE(lines.size(), 12u);
  const Lines head(lines.begin(), lines.begin() + 9);
  const Lines expected{
      "",
      "real cell      " + std::string(3, ' ') + "10.0000   10.0000   10.0000   90.00   90.00   90.00",
      "volume =  1000.0000",
      "",
      "reciprocal cell    0.1000    0.1000    0.1000   90.00   90.00   90.00",
      "",
      "reciprocal cell quadratic products:",
      "a*(=a* sqrd)     b*          c*  d*(=b*c*cos alpha*)  e*         f*",
      "     0.01000     0.01000     0.01000     0.00000     0.00000     0.00000",
  };
  EXPECT_EQ(head, expected);
  EXPECT_EQ(lines[9], "");
  EXPECT_EQ(lines[10], "matrices for transformation of vectors to orthogonal axes");
  EXPECT_EQ(lines[11], "real space:");
  EXPECT_EQ(lines.size(), 12u + 3u + 2u + 3u);
  EXPECT_EQ(lines[15], "");
  EXPECT_EQ(lines[16], "reciprocal space:");
  EXPECT_EQ(lines[12].substr(0, 9), "  10.0000");
  EXPECT_EQ(lines[17].substr(0, 9), "   0.1000");
  // Diagonal orthogonalisation matrices.
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      EXPECT_NEAR(ct.ort(i, j, 1), i == j ? 10.0f : 0.0f, 1e-5f);
      EXPECT_NEAR(ct.ort(i, j, 2), i == j ? 0.1f : 0.0f, 1e-7f);
    }
}

TEST(Recell, FromQuadraticProductsWithoutProductListing) {
  CellTable ct;
  ct.RQPROD = {0.01f, 0.01f, 0.01f, 0, 0, 0};
  test::MemoryPrint mp;
  RECELL(ct, 1, mp.prt);
  for (int i = 1; i <= 3; ++i) EXPECT_NEAR(ct.at(i, CELL_SIDE, 1), 10.0f, 1e-4f);
  EXPECT_NEAR(ct.VCELL, 1000.0f, 0.01f);
  const Lines lines = mp.lines();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[1], "real cell      " + std::string(3, ' ') + "10.0000   10.0000   10.0000   90.00   90.00   90.00");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "matrices for transformation of vectors to orthogonal axes");
}

TEST(Recell, ZeroProductAndImpossibleCosineAreRepaired) {
  CellTable ct;
  ct.RQPROD = {0.0f, 0.01f, 0.01f, 0.0f, 0, 0};
  test::MemoryPrint mp;
  RECELL(ct, 1, mp.prt);
  EXPECT_EQ(mp.lines().at(0), "cell side  1 negative square - set to zero");
  EXPECT_EQ(ct.at(1, CELL_SIDE, 2), 0.0f);
  for (float v : ct.CELLTAB) EXPECT_FALSE(std::isnan(v));

  CellTable c2;
  c2.RQPROD = {0.01f, 0.01f, 0.01f, 0.02f, 0, 0};
  test::MemoryPrint mp2;
  try {
    RECELL(c2, 1, mp2.prt);
  } catch (const records::ProgramStop&) {
  }
  EXPECT_EQ(mp2.lines().at(0), "cell angle  1 cosine modulus greater than 1 - set to 1");
  EXPECT_EQ(c2.at(1, CELL_COS, 2), 1.0f);
}

TEST(Recell, WrongEntryCodeStops) {
  CellTable ct;
  test::MemoryPrint mp;
  EXPECT_THROW(RECELL(ct, 3, mp.prt), records::ProgramStop);
  EXPECT_EQ(mp.lines(), (Lines{"error - entry to recell neither 1 nor 2"}));
}

TEST(Orthog, TriclinicFramesAreMetricAndDual) {
  CellTable ct = real_cell(5.5f, 7.25f, 9.0f, 81.0f, 102.5f, 113.0f);
  test::MemoryPrint mp;
  RECELL(ct, 2, mp.prt);
  const auto axis = [&ct](int i, int s) {
    return std::array<double, 3>{ct.ort(i, 1, s), ct.ort(i, 2, s), ct.ort(i, 3, s)};
  };
  const auto dot = [](const std::array<double, 3>& u, const std::array<double, 3>& v) {
    return u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
  };
  for (int s = 1; s <= 2; ++s)
    for (int i = 1; i <= 3; ++i) {
      const int j = i % 3 + 1;
      const int k = j % 3 + 1;
      // Lengths are the sides, the angle between axes j and k is angle i.
      EXPECT_NEAR(std::sqrt(dot(axis(i, s), axis(i, s))), ct.at(i, CELL_SIDE, s), 2e-5 * ct.at(i, CELL_SIDE, s));
      EXPECT_NEAR(dot(axis(j, s), axis(k, s)),
                  ct.at(j, CELL_SIDE, s) * ct.at(k, CELL_SIDE, s) * ct.at(i, CELL_COS, s),
                  1e-4 * ct.at(j, CELL_SIDE, s) * ct.at(k, CELL_SIDE, s));
    }
  // Real and reciprocal axes are dual: a_i·a*_j = 1 when i = j and 0 otherwise.
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) EXPECT_NEAR(dot(axis(i, 1), axis(j, 2)), i == j ? 1.0 : 0.0, 2e-5);
  // Volume: the triple product of the real axes.
  const auto a = axis(1, 1), b = axis(2, 1), c = axis(3, 1);
  const double triple = a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
                        a[2] * (b[0] * c[1] - b[1] * c[0]);
  EXPECT_NEAR(std::fabs(triple), ct.VCELL, 1e-4 * ct.VCELL);
}

TEST(Vctmod, LengthsInBothLattices) {
  CellTable ct = real_cell(10, 10, 10, 90, 90, 90);
  test::MemoryPrint mp;
  RECELL(ct, 2, mp.prt);
  EXPECT_NEAR(VCTMOD(ct, 1.0f, {1, 0, 0}, 2), 0.1f, 1e-7f);
  EXPECT_NEAR(VCTMOD(ct, 2.0f, {1, 1, 0}, 1), 2.0f * std::sqrt(200.0f), 1e-4f);
  // Hexagonal a = 4: 1/d(100) = 2/(a·sqrt 3), and (1,-1,0) is as long as (1,0,0), (1,1,0) is not.
  CellTable hex = real_cell(4, 4, 7, 90, 90, 120);
  RECELL(hex, 2, mp.prt);
  const float d100 = VCTMOD(hex, 1.0f, {1, 0, 0}, 2);
  EXPECT_NEAR(d100, 2.0f / (4.0f * std::sqrt(3.0f)), 1e-6f);
  EXPECT_NEAR(VCTMOD(hex, 1.0f, {1, -1, 0}, 2), d100, 1e-6f);
  EXPECT_NEAR(VCTMOD(hex, 1.0f, {1, 1, 0}, 2), d100 * std::sqrt(3.0f), 1e-6f);
}

TEST(Sincos, ClampsNearUnityAndStopsBeyond) {
  test::MemoryPrint mp;
  float cs = 1.00005f, sn = 5;
  SINCOS(cs, sn, 1, mp.prt);
  EXPECT_EQ(cs, 1.0f);
  EXPECT_EQ(sn, 0.0f);
  cs = -1.0f;
  SINCOS(cs, sn, 1, mp.prt);
  EXPECT_EQ(cs, -1.0f);
  EXPECT_EQ(sn, 0.0f);
  cs = -0.6f;
  SINCOS(cs, sn, 1, mp.prt);
  EXPECT_NEAR(sn, 0.8f, 1e-7f);
  EXPECT_TRUE(mp.out.str().empty());
  cs = 1.0002f;
  try {
    SINCOS(cs, sn, 7, mp.prt);
    FAIL() << "no stop";
  } catch (const records::ProgramStop& e) {
    EXPECT_FALSE(e.to_standard_output());
  }
  EXPECT_EQ(mp.lines(), (Lines{"sin or cos greater than  unity, value is  0.1000E+01 loc =    7"}));
}

TEST(Degree, FactorBits) {
  EXPECT_EQ(std::bit_cast<std::uint32_t>(DEGREE(1.0f)), 0x42652EE1u);
  EXPECT_FLOAT_EQ(DEGREE(3.14159265f), 180.0f);
}

}  // namespace
}  // namespace vorlane::symmetry
