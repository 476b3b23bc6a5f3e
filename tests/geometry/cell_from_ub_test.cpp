// Reciprocal and real cell from an orientation matrix, and the axis permutation of the rows.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geometry/mat3_ops.hpp"
#include "geometry/real_cell.hpp"
#include "geometry/recip_cell.hpp"
#include "geometry/rotate_ub.hpp"
#include "support/test_support.hpp"

namespace vorlane::geometry {
namespace {

Mat3 rows(float a11, float a12, float a13, float a21, float a22, float a23, float a31, float a32,
          float a33) {
  return {a11, a21, a31, a12, a22, a32, a13, a23, a33};
}

TEST(RecipRealCell, DiagonalUb) {
  testing::MemoryRun run;
  auto& cell = run.rs.cell;
  cell.UB = rows(0.1f, 0, 0, 0, 0.1f, 0, 0, 0, 0.1f);
  RECIP_CELL(run.rs);
  REAL_CELL(run.rs);
  ASSERT_EQ(run.rs.msg.IHALT, 0);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_FLOAT_EQ(at(cell.GSTAR, i, i), 0.01f);
    EXPECT_FLOAT_EQ(cell.RCELL[i - 1], 0.1f);
    EXPECT_FLOAT_EQ(cell.RCELL[i + 2], 90.0f);
    EXPECT_NEAR(at(cell.GMET, i, i), 100.0f, 1e-4f);
    EXPECT_NEAR(cell.UBCELL[i - 1], 10.0f, 1e-5f);
    EXPECT_FLOAT_EQ(cell.UBCELL[i + 2], 90.0f);
    EXPECT_NEAR(at(cell.UBTINV, i, i), 10.0f, 1e-5f);
  }
  EXPECT_NEAR(cell.CELLVOL, 1000.0f, 1e-2f);
  EXPECT_TRUE(run.dialogs.fatal_texts.empty());
}

TEST(RecipRealCell, RealCrysAlisMatrix) {
  // exp714_p21c_crysalis.cif: _diffrn_orient_matrix_UB_ij (row i), in units of the wavelength,
  // divided by lambda = 1.54184. Expected cells from numpy in double precision:
  // G* = UB^T UB, G = inv(G*), V = 1/sqrt(det G*); gemmi's reciprocal() of that cell agrees.
  const float lam = 1.54184f;
  testing::MemoryRun run;
  auto& cell = run.rs.cell;
  cell.UB = rows(-0.0080748f / lam, 0.1465083f / lam, 0.0325437f / lam,   //
                 -0.0757148f / lam, 0.1010450f / lam, -0.0408765f / lam,  //
                 -0.1896830f / lam, -0.0466306f / lam, 0.0137013f / lam);
  RECIP_CELL(run.rs);
  ASSERT_EQ(run.rs.msg.IHALT, 0);
  EXPECT_NEAR(cell.RCELL[0], 0.13256604f, 2e-7f);
  EXPECT_NEAR(cell.RCELL[1], 0.11932593f, 2e-7f);
  EXPECT_NEAR(cell.RCELL[2], 0.03503333f, 2e-7f);
  EXPECT_NEAR(cell.RCELL[3], 90.00774647f, 2e-3f);
  EXPECT_NEAR(cell.RCELL[4], 88.78935005f, 2e-3f);
  EXPECT_NEAR(cell.RCELL[5], 89.98262324f, 2e-3f);
  REAL_CELL(run.rs);
  ASSERT_EQ(run.rs.msg.IHALT, 0);
  EXPECT_NEAR(cell.UBCELL[0], 7.5450944f, 1e-4f);
  EXPECT_NEAR(cell.UBCELL[1], 8.38040896f, 1e-4f);
  EXPECT_NEAR(cell.UBCELL[2], 28.55061609f, 5e-4f);
  EXPECT_NEAR(cell.UBCELL[3], 89.99188457f, 2e-3f);
  EXPECT_NEAR(cell.UBCELL[4], 91.21065237f, 2e-3f);
  EXPECT_NEAR(cell.UBCELL[5], 90.01754435f, 2e-3f);
  EXPECT_NEAR(cell.CELLVOL, 1804.88025f, 0.05f);
  // UBTINV is the inverse of UB^T.
  const Mat3 id = multiply(transpose(cell.UB), cell.UBTINV);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) EXPECT_NEAR(at(id, i, j), i == j ? 1.0f : 0.0f, 1e-5f);
}

TEST(RecipCell, SingularUbIsFatal) {
  testing::MemoryRun run;
  run.rs.cell.UB = rows(0.1f, 0, 0, 0.2f, 0, 0, 0, 0, 0.1f);  // second column empty
  RECIP_CELL(run.rs);
  EXPECT_EQ(run.rs.msg.IHALT, 1);
  const std::string group = std::string(10, ' ') + "  0.000000  0.000000  0.000000:";
  const std::string text = "INVALID UB: (UBTRANSPOSE)-1= " + group + group + group;
  EXPECT_EQ(run.rs.msg.ERRMSG.substr(0, text.size()), text);
  EXPECT_EQ(run.rs.msg.ERRMSG.find_first_not_of(' ', text.size()), std::string::npos);
  EXPECT_EQ(run.dialogs.fatal_texts.size(), 1u);
  EXPECT_EQ(run.rs.cell.UBTINV, Mat3{});
}

TEST(RealCell, SingularReciprocalTensorIsFatal) {
  testing::MemoryRun run;
  // a* and b* parallel: a flat reciprocal cell, whatever its size.
  run.rs.cell.GSTAR = rows(0.01f, 0.01f, 0, 0.01f, 0.01f, 0, 0, 0, 0.01f);
  REAL_CELL(run.rs);
  EXPECT_EQ(run.rs.msg.IHALT, 1);
  EXPECT_EQ(run.rs.msg.ERRMSG.substr(0, 45), "   Determinant of Recip Metric tensor < 10-9 ");
}

// Large cells are not singular: the limit follows the tensor's own scale. det G* = 1/V^2 is
// 9.3e-10 for a 32 A cube and 1e-18 for a 1000 A one.
TEST(RealCell, LargeCubicCellsAreAccepted) {
  for (const float edge : {32.0f, 100.0f, 1000.0f}) {
    testing::MemoryRun run;
    const float s = 1.0f / (edge * edge);
    run.rs.cell.GSTAR = rows(s, 0, 0, 0, s, 0, 0, 0, s);
    REAL_CELL(run.rs);
    EXPECT_EQ(run.rs.msg.IHALT, 0) << edge;
    EXPECT_NEAR(run.rs.cell.UBCELL[0], edge, edge * 1e-5f) << edge;
    EXPECT_NEAR(run.rs.cell.CELLVOL, edge * edge * edge, edge * edge * edge * 1e-4f) << edge;
  }
}

TEST(RecipCell, LargeCellUbIsNotSingular) {
  testing::MemoryRun run;
  const float s = 1.0f / 200.0f;  // V = 8e6 A^3, det UB = 1.25e-7
  run.rs.cell.UB = rows(s, 0, 0, 0, s, 0, 0, 0, s);
  RECIP_CELL(run.rs);
  EXPECT_EQ(run.rs.msg.IHALT, 0);
  EXPECT_NEAR(run.rs.cell.UBTINV[0], 200.0f, 1e-3f);
}

TEST(RealCell, NegativeDiagonalIsAnInvalidMetricTensor) {
  testing::MemoryRun run;
  run.rs.cell.GSTAR = rows(-0.04f, 0, 0, 0, 0.04f, 0, 0, 0, 0.01f);
  run.rs.cell.UBCELL = {1, 2, 3, 4, 5, 6};
  REAL_CELL(run.rs);
  EXPECT_EQ(run.rs.msg.IHALT, 1);
  // G = diag(-25, 25, 100): three groups of 10 blanks, three F10.6 fields and ";".
  const std::string& m = run.rs.msg.ERRMSG;
  const std::string head = "INVALID METRIC TENSOR: ";
  ASSERT_EQ(m.substr(0, head.size()), head);
  for (int g = 0; g < 3; ++g) {
    const std::size_t at_group = head.size() + 41 * g;
    EXPECT_EQ(m.substr(at_group, 10), std::string(10, ' '));
    EXPECT_EQ(m[at_group + 40], ';');
  }
  EXPECT_EQ(m.substr(head.size() + 10, 10), "-25.000000");
  EXPECT_EQ(m.substr(head.size() + 41 + 20, 10), " 25.000000");
  EXPECT_EQ(m.substr(head.size() + 82 + 30, 10), "100.000000");
  EXPECT_EQ(m.find_first_not_of(' ', head.size() + 123), std::string::npos);
  // The diagonal is tested axis by axis: the bad a stops it before b and c are stored.
  EXPECT_FLOAT_EQ(run.rs.cell.UBCELL[0], 1.0f);
  EXPECT_FLOAT_EQ(run.rs.cell.UBCELL[1], 2.0f);
}

TEST(RealCell, BadSecondAxisLeavesTheFirstStored) {
  testing::MemoryRun run;
  run.rs.cell.GSTAR = rows(0.01f, 0, 0, 0, -0.04f, 0, 0, 0, 0.04f);
  run.rs.cell.UBCELL = {1, 2, 3, 4, 5, 6};
  REAL_CELL(run.rs);
  EXPECT_EQ(run.rs.msg.IHALT, 1);
  EXPECT_FLOAT_EQ(run.rs.cell.UBCELL[0], 10.0f);
  EXPECT_FLOAT_EQ(run.rs.cell.UBCELL[1], 2.0f);
  EXPECT_FLOAT_EQ(run.rs.cell.UBCELL[2], 3.0f);
}

TEST(RotateUb, SwapsAndNegatesRows) {
  testing::MemoryRun run;
  const Mat3 ub = rows(1, 2, 3, 4, 5, 6, 7, 8, 9);
  run.rs.cell.UB = ub;
  run.rs.ctl.BLAXES = {2, -1, 3};
  ROTATE_UB(run.rs);
  const Mat3& r = run.rs.cell.UB;
  for (int j = 1; j <= 3; ++j) {
    EXPECT_EQ(at(r, 1, j), -at(ub, 2, j));
    EXPECT_EQ(at(r, 2, j), at(ub, 1, j));
    EXPECT_EQ(at(r, 3, j), at(ub, 3, j));
  }
  EXPECT_TRUE(run.dialogs.warning_texts.empty());
}

TEST(RotateUb, WrongSumWarnsAndKeepsUb) {
  testing::MemoryRun run;
  const Mat3 ub = rows(1, 2, 3, 4, 5, 6, 7, 8, 9);
  run.rs.cell.UB = ub;
  run.rs.ctl.BLAXES = {1, 2, 4};
  ROTATE_UB(run.rs);
  EXPECT_EQ(run.rs.cell.UB, ub);
  EXPECT_EQ(run.rs.ctl.BLAXES, (std::array<int, 3>{1, 2, 3}));
  EXPECT_EQ(run.rs.msg.IHALT, 0);
  ASSERT_EQ(run.dialogs.warning_texts.size(), 1u);
  EXPECT_EQ(run.dialogs.warning_texts[0],
            "ERROR IN EXP FILE: BLAXES CARD ENTRIES ADD TO 7     AXIAL SYSTEM ASSUMED "
            "BUSING-LEVY ");
}

TEST(RotateUb, OnlyTheSumIsTestedButEveryEntryMustNameARow) {
  testing::MemoryRun run;
  const Mat3 ub = rows(1, 2, 3, 4, 5, 6, 7, 8, 9);
  run.rs.cell.UB = ub;
  run.rs.ctl.BLAXES = {2, 2, 2};  // passes the sum: row 2 becomes the sum of all rows
  ROTATE_UB(run.rs);
  EXPECT_TRUE(run.dialogs.warning_texts.empty());
  for (int j = 1; j <= 3; ++j) {
    EXPECT_EQ(at(run.rs.cell.UB, 1, j), 0.0f);
    EXPECT_EQ(at(run.rs.cell.UB, 2, j), at(ub, 1, j) + at(ub, 2, j) + at(ub, 3, j));
  }
  // An entry 0 adds up to 6 but names no row: refused like a wrong sum.
  run.rs.cell.UB = ub;
  run.rs.ctl.BLAXES = {0, 3, -3};
  ROTATE_UB(run.rs);
  EXPECT_EQ(run.rs.cell.UB, ub);
  ASSERT_EQ(run.dialogs.warning_texts.size(), 1u);
  EXPECT_NE(run.dialogs.warning_texts[0].find("ADD TO 6     AXIAL"), std::string::npos);
}

}  // namespace
}  // namespace vorlane::geometry
