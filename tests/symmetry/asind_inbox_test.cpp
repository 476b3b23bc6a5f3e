// INBOX and ASIND on small hand-built groups.
#include <gtest/gtest.h>

#include "symmetry/asind.hpp"
#include "symmetry_test_helpers.hpp"

namespace vorlane::symmetry {
namespace {

using Index = std::array<int, 3>;
using test::group_of;
using test::rows;

void add_plane(SpaceGroup& sg, int a, int b, int c, int d) {
  sg.IPLANE[static_cast<std::size_t>(sg.NPLANE)] = {a, b, c, d};
  ++sg.NPLANE;
}

TEST(Inbox, InsideBoundaryOutside) {
  SpaceGroup sg;
  EXPECT_EQ(INBOX(sg, {-5, -5, -5}), 1);  // no planes: everything inside
  add_plane(sg, 1, 0, 0, 0);
  add_plane(sg, 1, -1, 0, 0);
  EXPECT_EQ(INBOX(sg, {3, 2, -7}), 1);
  EXPECT_EQ(INBOX(sg, {3, 3, -7}), 0);
  EXPECT_EQ(INBOX(sg, {0, -1, 0}), 0);
  EXPECT_EQ(INBOX(sg, {2, 3, 0}), -1);
  EXPECT_EQ(INBOX(sg, {-1, -2, 0}), -1);  // first plane violated
}

TEST(Asind, NoPlanesGivesTheReflectionItself) {
  SpaceGroup sg = group_of({{IDENTITY_MAT3, {}}, {rows(-1, 0, 0, 0, -1, 0, 0, 0, -1), {}}}, 2);
  Index k{};
  int isym = 7;
  ASIND(sg, {-3, 2, -1}, k, isym);
  EXPECT_EQ(k, (Index{-3, 2, -1}));
  EXPECT_EQ(isym, 1);
}

TEST(Asind, FriedelMateInP1) {
  SpaceGroup sg;
  add_plane(sg, 1, 0, 0, 1);  // h >= 1
  Index k{};
  int isym = 0;
  ASIND(sg, {-2, 1, 0}, k, isym);
  EXPECT_EQ(k, (Index{2, -1, 0}));
  EXPECT_EQ(isym, -1);
  ASIND(sg, {2, 5, 0}, k, isym);
  EXPECT_EQ(k, (Index{2, 5, 0}));
  EXPECT_EQ(isym, 1);
}

TEST(Asind, NoImageInTheUnitGivesZero) {
  SpaceGroup sg;
  add_plane(sg, 1, 0, 0, 1);  // h >= 1
  Index k{};
  int isym = 5;
  ASIND(sg, {0, 3, 4}, k, isym);
  EXPECT_EQ(isym, 0);
}

TEST(Asind, StrictlyInsideImageUnderALaterOperator) {
  // 2/m with b unique; unit h >= 0, k >= 0: (-1,-2,3) goes to (1,2,-3) by the inversion.
  SpaceGroup sg = group_of({{IDENTITY_MAT3, {}},
                            {rows(-1, 0, 0, 0, -1, 0, 0, 0, -1), {}},
                            {rows(-1, 0, 0, 0, 1, 0, 0, 0, -1), {}},
                            {rows(1, 0, 0, 0, -1, 0, 0, 0, 1), {}}},
                           2);
  add_plane(sg, 1, 0, 0, 0);
  add_plane(sg, 0, 1, 0, 0);
  Index k{};
  int isym = 0;
  ASIND(sg, {-1, -2, 3}, k, isym);
  EXPECT_EQ(k, (Index{1, 2, -3}));
  EXPECT_EQ(isym, 2);
  ASIND(sg, {-1, 2, 3}, k, isym);
  EXPECT_EQ(k, (Index{1, 2, -3}));
  EXPECT_EQ(isym, 3);
}

TEST(Asind, BoundaryPrefersMorePositiveIndices) {
  // Point group 2 (b unique) without inversion, unit h >= 0, k >= 0. The class of (0,1,2)
  // is {(0,1,2), (0,1,-2)} and the Friedel mates {(0,-1,-2), (0,-1,2)}; on the boundary h = 0
  // the image with two positive indices, (0,1,2), is the representative of all four.
  SpaceGroup sg = group_of({{IDENTITY_MAT3, {}}, {rows(-1, 0, 0, 0, 1, 0, 0, 0, -1), {}}});
  add_plane(sg, 1, 0, 0, 0);
  add_plane(sg, 0, 1, 0, 0);
  for (const Index h : {Index{0, 1, 2}, Index{0, 1, -2}, Index{0, -1, -2}, Index{0, -1, 2}}) {
    Index k{};
    int isym = 0;
    ASIND(sg, h, k, isym);
    EXPECT_EQ(k, (Index{0, 1, 2})) << h[0] << h[1] << h[2];
    EXPECT_NE(isym, 0);
  }
  Index k{};
  int isym = 0;
  ASIND(sg, {0, 1, -2}, k, isym);
  EXPECT_EQ(isym, 2);  // (0,1,-2)·R2 = (0,1,2), no Friedel mate needed
  ASIND(sg, {0, -1, 2}, k, isym);
  EXPECT_EQ(isym, -2);  // only the Friedel mate reaches it: -(0,-1,2)·R2 = (0,1,2)
}

}  // namespace
}  // namespace vorlane::symmetry
