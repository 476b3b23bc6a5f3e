// UNITIN_EXP: the asymmetric-unit listing, character for character.
#include <gtest/gtest.h>

#include "symmetry_cards_test_helpers.hpp"

namespace vorlane::expfile {
namespace {

using symtest::blanks;
using Lines = std::vector<std::string>;

TEST(UnitinExp, HeadingOnlyWithoutPlanes) {
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  symtest::MemoryPrint mp;
  UNITIN_EXP(sg, mp.prt);
  EXPECT_EQ(mp.lines(), (Lines{"", "", "    Asymmetric unit for averaging: ", ""}));
}

TEST(UnitinExp, PlaneRecords) {
  symmetry::SpaceGroup sg;
  INITSYM(sg);
  ASSERT_EQ(symtest::unitin(sg, {1, 0, 0, 0}), 0);
  ASSERT_EQ(symtest::unitin(sg, {0, 1, 0, 0}), 0);
  ASSERT_EQ(symtest::unitin(sg, {1, -1, 0, 0}), 0);
  ASSERT_EQ(symtest::unitin(sg, {2, 0, 1, -3}), 0);
  ASSERT_EQ(symtest::unitin(sg, {-1, 12, -1, 100}), 0);
  symtest::MemoryPrint mp;
  UNITIN_EXP(sg, mp.prt);
  // Records of 20 characters; the first (a blank) is the carriage control.
  const Lines expected{
      "", "", "    Asymmetric unit for averaging: ", "",
      "   h" + blanks(10) + ">=  0",
      blanks(4) + "+   k" + blanks(5) + ">=  0",
      "   h+ -1k" + blanks(5) + ">=  0",
      "  2h" + blanks(5) + "+   l>= -3",
      " -1h+ 12k+ -1l>=100",
  };
  EXPECT_EQ(mp.lines(), expected);
}

}  // namespace
}  // namespace vorlane::expfile
