// VORLAN OPENING alpha [AXIS x y z]: the diamond-anvil cell's opening, which needs UB cards.
#include <gtest/gtest.h>

#include "exp_test_helpers.hpp"

namespace vorlane::expfile {
namespace {

using test::halted_with;
using test::read_error_text;
using test::read_exp;

const std::string kUb = "UB 0.1 0 0\nUB 0 0.1 0\nUB 0 0 0.1\n";

TEST(OpeningCard, AngleAndAxis) {
  struct Case { const char* card; float opening; std::array<float, 3> axis; };
  const Case cases[] = {
      {"VORLAN OPENING 35.0", 35.0f, {1.0f, 0.0f, 0.0f}},
      {"VORLAN OPENING 40 AXIS 0 0 1", 40.0f, {0.0f, 0.0f, 1.0f}},
      {"vorlan opening 30 axis 1 1 0", 30.0f, {1.0f, 1.0f, 0.0f}},
      {"VORLAN OUTLIER SYMMETRY DAC", 0.0f, {1.0f, 0.0f, 0.0f}},  // not an opening
  };
  for (const Case& c : cases) {
    auto run = read_exp(kUb + c.card + "\n");
    EXPECT_EQ(run->rs.msg.IHALT, 0) << c.card;
    EXPECT_EQ(run->rs.ctl.dac.opening, c.opening) << c.card;
    EXPECT_EQ(run->rs.ctl.dac.axis, c.axis) << c.card;
  }
}

TEST(OpeningCard, BadValuesAndMissingUbStopTheRun) {
  for (const char* card : {"VORLAN OPENING", "VORLAN OPENING 95", "VORLAN OPENING -3",
                           "VORLAN OPENING 35 AXIS 0 0", "VORLAN OPENING 35 AXIS 0 0 0"})
    EXPECT_TRUE(halted_with(*read_exp(kUb + card + "\n"), read_error_text(card))) << card;
  EXPECT_TRUE(halted_with(*read_exp("VORLAN OPENING 35\n"),
                          "OPENING CARD NEEDS THE ORIENTATION MATRIX: NO UB CARDS IN EXP FILE"));
}

}  // namespace
}  // namespace vorlane::expfile
