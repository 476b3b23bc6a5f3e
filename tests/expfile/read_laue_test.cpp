// READ_LAUE and READ_UNITIN: symbols, operator counts, planes and their limits.
#include <gtest/gtest.h>

#include "symmetry_cards_test_helpers.hpp"

namespace vorlane::expfile {
namespace {

using Plane = std::array<int, 4>;

struct LaueResult {
  symmetry::SpaceGroup sg;
  int error = -1;
  int lauecls = 0;
};

LaueResult laue(const std::string& text) {
  LaueResult r;
  INITSYM(r.sg);
  int column = 0;
  const std::string c = symtest::card("LAUE", text, column);
  READ_LAUE(r.sg, c, 80, column, r.error, r.lauecls);
  return r;
}

TEST(ReadLaue, M3mAndMinusOne) {
  const auto m3m = laue(" M3M");
  EXPECT_EQ(m3m.error, 0);
  EXPECT_EQ(m3m.lauecls, 12);
  EXPECT_EQ(m3m.sg.NSYMOP, 48);
  ASSERT_EQ(m3m.sg.NPLANE, 3);
  EXPECT_EQ(m3m.sg.IPLANE[0], (Plane{0, 0, 1, 0}));
  EXPECT_EQ(m3m.sg.IPLANE[1], (Plane{0, 1, -1, 0}));
  EXPECT_EQ(m3m.sg.IPLANE[2], (Plane{1, -1, 0, 0}));
  const auto one = laue(" -1");  // at the end of the card: blanks follow
  EXPECT_EQ(one.lauecls, 1);
  EXPECT_EQ(one.sg.NSYMOP, 2);
  ASSERT_EQ(one.sg.NPLANE, 1);
  EXPECT_EQ(one.sg.IPLANE[0], (Plane{0, 0, 1, 0}));
}

TEST(ReadLaue, LongestSymbolWinsAndTrailingBlanksMatter) {
  EXPECT_EQ(laue(" 6/MMM").lauecls, 10);
  EXPECT_EQ(laue(" 6/M").lauecls, 9);
  EXPECT_EQ(laue(" M3").lauecls, 11);
  EXPECT_EQ(laue(" -3M1").lauecls, 7);
  EXPECT_EQ(laue(" -3").lauecls, 6);
  const auto bad = laue(" -1 OUTLIER");  // "-1 O" is not "-1   "
  EXPECT_EQ(bad.error, SYMCARD_BAD);
  EXPECT_EQ(bad.lauecls, 0);
  EXPECT_EQ(bad.sg.NSYMOP, 1);
  EXPECT_EQ(bad.sg.NPLANE, 0);
}

TEST(ReadLaue, OperatorCountsOfEveryClass) {
  const std::pair<const char*, int> classes[] = {
      {" -1", 2},     {" 2/M", 4},    {" MMM", 8},   {" 4/M", 8},  {" 4/MMM", 16}, {" -3", 6},
      {" -3M1", 12},  {" -31M", 12},  {" 6/M", 12},  {" 6/MMM", 24}, {" M3", 24},  {" M3M", 48}};
  for (const auto& [symbol, count] : classes) {
    auto r = laue(symbol);
    symtest::MemoryPrint mp;
    SYMOP_EXP(r.sg, mp.prt);
    EXPECT_EQ(r.sg.NSYMOP, count) << symbol;
    EXPECT_EQ(r.sg.ICENTRIC, 2) << symbol;
  }
}

TEST(ReadLaue, PlanesBeyondTenAreRefused) {
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  int lauecls = 0;
  for (int i = 1; i <= 4; ++i) {
    int column = 0;
    const std::string c = symtest::card("LAUE", " MMM", column);
    int error = -1;
    READ_LAUE(sg, c, 80, column, error, lauecls);
    EXPECT_EQ(error, i <= 3 ? SYMCARD_OK : SYMCARD_TOO_MANY_PLANES) << i;
  }
  EXPECT_EQ(sg.NPLANE, 9);
}

TEST(ReadUnitin, FixedFieldsOfFiveColumns) {
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  EXPECT_EQ(symtest::unitin(sg, {1, 0, 0, 0}), 0);
  EXPECT_EQ(symtest::unitin(sg, {1, -1, 0, -2}), 0);
  ASSERT_EQ(sg.NPLANE, 2);
  EXPECT_EQ(sg.IPLANE[0], (Plane{1, 0, 0, 0}));
  EXPECT_EQ(sg.IPLANE[1], (Plane{1, -1, 0, -2}));
  // Shifted two columns to the right, the 1 of the first field falls into the second.
  int column = 0;
  const std::string c = symtest::card("UNITIN", "      1    0    0    0", column);
  int error = 0;
  READ_UNITIN(sg, c, 80, column, error);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(sg.IPLANE[2], (Plane{0, 1, 0, 0}));
}

TEST(ReadUnitin, UnreadableFieldAndEleventhPlane) {
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  int column = 0;
  const std::string bad = symtest::card("UNITIN", "    1    X    0    0", column);
  int error = 0;
  READ_UNITIN(sg, bad, 80, column, error);
  EXPECT_EQ(error, SYMCARD_BAD);

  INITSYM(sg);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(symtest::unitin(sg, {1, 0, 0, -i}), 0);
  EXPECT_EQ(symtest::unitin(sg, {0, 1, 0, 0}), SYMCARD_TOO_MANY_PLANES);
  EXPECT_EQ(sg.NPLANE, 10);
  EXPECT_EQ(sg.IPLANE[9], (Plane{1, 0, 0, -9}));
}

}  // namespace
}  // namespace vorlane::expfile
