// SYMINV: the reflection form of the operator matrices.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "records/program_stop.hpp"
#include "symmetry/reflection_image.hpp"
#include "symmetry/syminv.hpp"
#include "symmetry_test_helpers.hpp"

namespace vorlane::symmetry {
namespace {

using test::group_of;
using test::rows;

TEST(Syminv, OrthogonalMatricesBecomeTheirInverses) {
  const Mat3 four = rows(0, -1, 0, 1, 0, 0, 0, 0, 1);  // -y,x,z
  SpaceGroup sg = group_of({{IDENTITY_MAT3, {}}, {four, {0, 0, 0.25f}}});
  test::MemoryPrint mp;
  SYMINV(sg, 2, mp.prt);
  EXPECT_EQ(sg.IMATMODE, 2);
  EXPECT_EQ(sg.SYMROT[1], rows(0, 1, 0, -1, 0, 0, 0, 0, 1));
  EXPECT_EQ(sg.SYMTRN[1], (Vec3{0, 0, 0.25f}));  // translations untouched
  SYMINV(sg, 2, mp.prt);                          // already there: no change
  EXPECT_EQ(sg.SYMROT[1], rows(0, 1, 0, -1, 0, 0, 0, 0, 1));
  SYMINV(sg, 1, mp.prt);
  EXPECT_EQ(sg.SYMROT[1], four);
  EXPECT_EQ(sg.IMATMODE, 1);
  EXPECT_TRUE(mp.out.str().empty());
}

TEST(Syminv, HexagonalImagesAreRowVectorTimesPositionMatrix) {
  // Six-fold x-y,x,z and its powers. Equivalent reflections of (1,0,0) in a hexagonal
  // lattice are the six of the same length: (1,0), (0,1), (-1,1), (-1,0), (0,-1), (1,-1);
  // (1,1,0) is not among them (it is sqrt(3) times longer).
  const Mat3 six = rows(1, -1, 0, 1, 0, 0, 0, 0, 1);
  std::vector<std::pair<Mat3, Vec3>> ops{{IDENTITY_MAT3, {}}};
  Mat3 p = IDENTITY_MAT3;
  for (int i = 1; i < 6; ++i) {
    Mat3 q{};
    for (int r = 1; r <= 3; ++r)
      for (int c = 1; c <= 3; ++c) {
        float s = 0;
        for (int k = 1; k <= 3; ++k) s += elem(p, r, k) * elem(six, k, c);
        elem(q, r, c) = s;
      }
    p = q;
    ops.push_back({p, {}});
  }
  SpaceGroup sg = group_of(ops);
  const std::set<std::array<int, 3>> expected{{1, 0, 0}, {0, 1, 0}, {-1, 1, 0},
                                               {-1, 0, 0}, {0, -1, 0}, {1, -1, 0}};
  for (int mode : {1, 2}) {
    test::MemoryPrint mp;
    SYMINV(sg, mode, mp.prt);
    std::set<std::array<int, 3>> images;
    for (int n = 1; n <= 6; ++n) images.insert(reflection_image(sg, n, std::array<int, 3>{1, 0, 0}));
    EXPECT_EQ(images, expected) << "mode " << mode;
    // Operator 2 itself: (h,k,l)·R = (h+k, -h, l).
    EXPECT_EQ(reflection_image(sg, 2, std::array<int, 3>{2, 3, 4}), (std::array<int, 3>{5, -2, 4}));
  }
}

TEST(Syminv, SingularMatrixStopsAfterItsMessage) {
  SpaceGroup sg = group_of({{IDENTITY_MAT3, {}},
                            {rows(-1, 0, 0, 0, -1, 0, 0, 0, -1), {}},
                            {rows(1, 0, 0, 0, 0, 0, 0, 0, 1), {}}});
  test::MemoryPrint mp;
  try {
    SYMINV(sg, 2, mp.prt);
    FAIL() << "no stop";
  } catch (const records::ProgramStop& e) {
    EXPECT_FALSE(e.to_standard_output());
  }
  EXPECT_EQ(mp.lines(), (std::vector<std::string>{"symmetry matrix number   3 is singular"}));
}

}  // namespace
}  // namespace vorlane::symmetry
