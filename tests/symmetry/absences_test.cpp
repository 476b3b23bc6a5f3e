// ISPABS and LATABS.
#include <gtest/gtest.h>

#include "records/print_file.hpp"
#include "symmetry/absences.hpp"
#include "symmetry/syminv.hpp"
#include "symmetry_test_helpers.hpp"

namespace vorlane::symmetry {
namespace {

using H = std::array<float, 3>;
using test::group_of;
using test::rows;

TEST(Ispabs, PrimitiveP1AllowsEverything) {
  SpaceGroup sg;
  sg.SYMTRN[0] = {0.5f, 0.5f, 0.5f};  // not looked at with one operator
  EXPECT_EQ(ISPABS(sg, H{1, 0, 0}), 1);
  EXPECT_EQ(LATABS(sg, H{1, 0, 0}), 1);
}

TEST(Ispabs, TwoFoldScrewAlongB) {
  SpaceGroup sg = group_of({{IDENTITY_MAT3, {}}, {rows(-1, 0, 0, 0, 1, 0, 0, 0, -1), {0, 0.5f, 0}}});
  EXPECT_EQ(ISPABS(sg, H{0, 1, 0}), 0);
  EXPECT_EQ(ISPABS(sg, H{0, 2, 0}), 1);
  EXPECT_EQ(ISPABS(sg, H{0, -3, 0}), 0);
  EXPECT_EQ(ISPABS(sg, H{1, 1, 0}), 1);  // not invariant under the screw
  test::MemoryPrint mp;
  SYMINV(sg, 2, mp.prt);
  EXPECT_EQ(ISPABS(sg, H{0, 1, 0}), 0);
  EXPECT_EQ(ISPABS(sg, H{0, 2, 0}), 1);
}

TEST(Ispabs, SixThreeScrewInBothMatrixStates) {
  // 6_3 along c: x-y,x,z+1/2. Only 00l is invariant; l odd is absent.
  SpaceGroup sg = group_of({{IDENTITY_MAT3, {}}, {rows(1, -1, 0, 1, 0, 0, 0, 0, 1), {0, 0, 0.5f}}});
  for (int mode : {1, 2}) {
    test::MemoryPrint mp;
    SYMINV(sg, mode, mp.prt);
    EXPECT_EQ(ISPABS(sg, H{0, 0, 1}), 0) << mode;
    EXPECT_EQ(ISPABS(sg, H{0, 0, 2}), 1) << mode;
    EXPECT_EQ(ISPABS(sg, H{1, 0, 1}), 1) << mode;
  }
}

TEST(Ispabs, PhaseToleranceIsAsymmetric) {
  // Translation along a with h = 1: the phase is the translation itself.
  SpaceGroup sg = group_of({{IDENTITY_MAT3, {}}, {rows(1, 0, 0, 0, -1, 0, 0, 0, -1), {0, 0, 0}}});
  const auto phase_ok = [&sg](float t) {
    sg.SYMTRN[1] = {t, 0, 0};
    return ISPABS(sg, H{1, 0, 0});
  };
  EXPECT_EQ(phase_ok(0.995f), 1);
  EXPECT_EQ(phase_ok(0.985f), 0);
  EXPECT_EQ(phase_ok(0.08f), 1);
  EXPECT_EQ(phase_ok(0.095f), 0);
  EXPECT_EQ(phase_ok(-0.995f), 1);
}

TEST(Latabs, CCentring) {
  SpaceGroup sg;
  sg.NCENVEC = 2;
  sg.CENVEC[1] = {0.5f, 0.5f, 0};
  EXPECT_EQ(LATABS(sg, H{1, 0, 0}), 0);
  EXPECT_EQ(LATABS(sg, H{1, 1, 0}), 1);
  EXPECT_EQ(LATABS(sg, H{2, 0, 5}), 1);
  EXPECT_EQ(LATABS(sg, H{-1, 2, 3}), 0);
}

TEST(Latabs, RhombohedralObverse) {
  SpaceGroup sg;
  sg.NCENVEC = 3;
  sg.CENVEC[1] = {2.0f / 3, 1.0f / 3, 1.0f / 3};
  sg.CENVEC[2] = {1.0f / 3, 2.0f / 3, 2.0f / 3};
  // Allowed when -h + k + l = 3n.
  EXPECT_EQ(LATABS(sg, H{1, 0, 1}), 1);
  EXPECT_EQ(LATABS(sg, H{0, 1, 2}), 1);
  EXPECT_EQ(LATABS(sg, H{1, 0, 0}), 0);
  EXPECT_EQ(LATABS(sg, H{0, 0, 3}), 1);
  EXPECT_EQ(LATABS(sg, H{0, 0, 1}), 0);
}

}  // namespace
}  // namespace vorlane::symmetry
