// How the reader combines the symmetry keywords and reports the symmetry readers' failures.
#include <gtest/gtest.h>

#include <algorithm>

#include "exp_test_helpers.hpp"
#include "expfile/symmetry_cards.hpp"

namespace vorlane::expfile {
namespace {

using test::halted_with;
using test::read_exp;

TEST(SymmetryKeywords, LaueThenSymopIsFatal) {
  auto run = read_exp("VORLAN LAUE 2/M\nVORLAN SYMOP -X,-Y,Z\n");
  EXPECT_TRUE(halted_with(*run, "SYMOP AND LAUE CARDS FOUND: NOT ALLOWED"));
}

TEST(SymmetryKeywords, SymopThenLaueIsFatal) {
  auto run = read_exp("VORLAN SYMOP -X,-Y,Z\nVORLAN LAUE 2/M\n");
  EXPECT_TRUE(halted_with(*run, "***** LAUE AND UNITIN OR SYMOP CARDS FOUND:  NOT ALLOWED"));
}

TEST(SymmetryKeywords, UnitinAndLaueInEitherOrder) {
  EXPECT_TRUE(halted_with(*read_exp("VORLAN LAUE MMM\nVORLAN UNITIN    1    0    0    0\n"),
                          "LAUE AND UNITIN CARDS FOUND: NOT ALLOWED"));
  EXPECT_TRUE(halted_with(*read_exp("VORLAN UNITIN    1    0    0    0\nVORLAN LAUE MMM\n"),
                          "***** LAUE AND UNITIN OR SYMOP CARDS FOUND:  NOT ALLOWED"));
}

TEST(SymmetryKeywords, LaueClassSetsTheGroupAndForcesNoAbsenceTest) {
  auto run = read_exp("VORLAN ABSENT REJECT\nVORLAN LAUE 4/MMM\n");
  ASSERT_EQ(run->rs.msg.IHALT, 0);
  EXPECT_EQ(run->rs.ctl.LAUECLS, 5);
  EXPECT_EQ(run->rs.sg.NSYMOP, 16);
  EXPECT_EQ(run->rs.sg.NPLANE, 3);
  EXPECT_EQ(run->rs.ctl.IABSENT, 3);
}

TEST(SymmetryKeywords, UnknownLaueSymbolIsFatal) {
  EXPECT_TRUE(
      halted_with(*read_exp("VORLAN LAUE 5/M\n"), "   ERROR IN READING LAUE CLASS SYMBOL "));
}

TEST(SymmetryKeywords, UnreadableUnitinPlaneIsFatal) {
  EXPECT_TRUE(
      halted_with(*read_exp("VORLAN UNITIN    1    X    0    0\n"), "ERROR IN READ_UNITIN"));
}

TEST(SymmetryKeywords, EleventhPlaneIsAClearFatalError) {
  std::string text;
  for (int i = 0; i < 10; ++i) text += "VORLAN UNITIN    1    0    0    0\n";
  auto ten = read_exp(text);
  ASSERT_EQ(ten->rs.msg.IHALT, 0);
  EXPECT_EQ(ten->rs.sg.NPLANE, 10);
  auto eleven = read_exp(text + "VORLAN UNITIN    0    1    0    0\n");
  EXPECT_TRUE(halted_with(*eleven, TOO_MANY_PLANES_MESSAGE));
  // Planes of a Laue class on top of many UNITIN planes cannot occur: the two do not mix.
}

TEST(SymmetryKeywords, SymopAndUnitinTogether) {
  auto run = read_exp(
      "VORLAN SYMOP -X,Y+1/2,-Z\n"
      "VORLAN SYMOP -X,-Y,-Z\n"
      "VORLAN UNITIN    0    0    1    0\n");
  ASSERT_EQ(run->rs.msg.IHALT, 0);
  EXPECT_EQ(run->rs.sg.NSYMOP, 4);
  EXPECT_EQ(run->rs.sg.NPLANE, 1);
  EXPECT_EQ(run->rs.ctl.IABSENT, 2);  // operators with translations: absences are rejected
  const auto lines = run->print_lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "centrosymmetric space group"), lines.end());
}

}  // namespace
}  // namespace vorlane::expfile
