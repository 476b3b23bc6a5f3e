// EQOP and EQPOS: new operators, repeats, centring vectors and the table limits.
#include <gtest/gtest.h>

#include <span>

#include "records/program_stop.hpp"
#include "symmetry/symop.hpp"
#include "symmetry_test_helpers.hpp"

namespace vorlane::symmetry {
namespace {

using test::rows;

// Places a candidate behind the table and judges it, as the card readers do.
int offer(SpaceGroup& sg, const Mat3& r, const Vec3& t) {
  sg.SYMROT[static_cast<std::size_t>(sg.NSYMOP)] = r;
  sg.SYMTRN[static_cast<std::size_t>(sg.NSYMOP)] = t;
  int n = sg.NSYMOP;
  EQOP(sg, n, sg.NCENVEC);
  if (n > sg.NSYMOP) sg.NSYMOP = n;
  return n;
}

TEST(Eqop, NewRepeatAndWholeTranslation) {
  SpaceGroup sg;
  const Mat3 two_y = rows(-1, 0, 0, 0, 1, 0, 0, 0, -1);
  EXPECT_EQ(offer(sg, two_y, {0, 0.5f, 0}), 2);
  EXPECT_EQ(offer(sg, two_y, {0, 0.5f, 0}), 2);
  EXPECT_EQ(offer(sg, two_y, {0, -0.5f, 0}), 2);  // differs by a whole cell
  EXPECT_EQ(offer(sg, IDENTITY_MAT3, {1.0f, 0, 0}), 2);
  EXPECT_EQ(sg.NSYMOP, 2);
  EXPECT_EQ(sg.NCENVEC, 1);
}

TEST(Eqop, SameMatrixOtherTranslationIsCentring) {
  SpaceGroup sg;
  offer(sg, IDENTITY_MAT3, {0.5f, 0.5f, 0});
  EXPECT_EQ(sg.NSYMOP, 1);
  ASSERT_EQ(sg.NCENVEC, 2);
  EXPECT_EQ(sg.CENVEC[1], (Vec3{0.5f, 0.5f, 0}));
  offer(sg, IDENTITY_MAT3, {0.5f, 0.5f, 0});
  offer(sg, IDENTITY_MAT3, {1.5f, -0.5f, 2.0f});  // the same centring plus whole cells
  EXPECT_EQ(sg.NCENVEC, 2);
}

TEST(Eqop, FortyNinthOperatorStopsWithMessageForStandardOutput) {
  SpaceGroup sg;
  // 48 distinct matrices: diagonal matrices with entries 1..48 in element (1,1).
  for (int i = 2; i <= 48; ++i) offer(sg, rows(static_cast<float>(i), 0, 0, 0, 1, 0, 0, 0, 1), {});
  EXPECT_EQ(sg.NSYMOP, 48);
  try {
    offer(sg, rows(100, 0, 0, 0, 1, 0, 0, 0, 1), {});
    FAIL() << "no stop";
  } catch (const records::ProgramStop& e) {
    EXPECT_STREQ(e.what(), " too many symmetry operators - 48 allowed");
    EXPECT_TRUE(e.to_standard_output());
  }
}

TEST(Eqpos, MatchesModuloWholeTranslations) {
  std::array<Vec3, 4> list{};
  int n = 1;
  EQPOS(list, Vec3{0.5f, 0.5f, 0}, n, 4);
  EXPECT_EQ(n, 2);
  n = 2;
  EQPOS(list, Vec3{0.5004f, 1.4996f, -1.0f}, n, 4);
  EXPECT_EQ(n, 2);
  n = 2;
  EQPOS(list, Vec3{0.9998f, 0.0003f, 1.0f}, n, 4);  // (0,0,0) within 0.0005
  EXPECT_EQ(n, 1);
  n = 2;
  EQPOS(list, Vec3{0.5006f, 0.5f, 0}, n, 4);  // just outside the tolerance: new
  EXPECT_EQ(n, 3);
  EXPECT_EQ(list[2], (Vec3{0.5006f, 0.5f, 0}));
}

TEST(Eqpos, OverflowStopsWithMessage) {
  std::array<Vec3, 4> list{};
  int n = 4;
  list[1] = {0.5f, 0, 0};
  list[2] = {0, 0.5f, 0};
  list[3] = {0, 0, 0.5f};
  try {
    EQPOS(list, Vec3{0.5f, 0.5f, 0.5f}, n, 4);
    FAIL() << "no stop";
  } catch (const records::ProgramStop& e) {
    EXPECT_STREQ(e.what(), " more than  4equivalent positions found");
    EXPECT_TRUE(e.to_standard_output());
  }
}

}  // namespace
}  // namespace vorlane::symmetry
