// Run-control keywords of the VORLAN card.
#include <gtest/gtest.h>

#include "exp_test_helpers.hpp"

namespace vorlane::expfile {
namespace {

using test::halted_with;
using test::read_error_text;
using test::read_exp;

TEST(ControlCard, OutlierModes) {
  EXPECT_EQ(read_exp("VORLAN OUTLIER\n")->rs.ctl.IREJMODE, 0);
  EXPECT_EQ(read_exp("VORLAN OUTLIER SYMMETRY\n")->rs.ctl.IREJMODE, 1);
  EXPECT_EQ(read_exp("VORLAN OUTLIER DAC\n")->rs.ctl.IREJMODE, 2);
  EXPECT_EQ(read_exp("VORLAN OUTLIER SYMMETRY DAC\n")->rs.ctl.IREJMODE, 3);
  EXPECT_EQ(read_exp("vorlan outlier dac symmetry\n")->rs.ctl.IREJMODE, 3);
  EXPECT_EQ(read_exp("VORLAN OUTLIER NONE DAC\n")->rs.ctl.IREJMODE, 0);
  // Each card on its own: the last OUTLIER card decides.
  EXPECT_EQ(read_exp("VORLAN OUTLIER DAC\nVORLAN OUTLIER SYMMETRY\n")->rs.ctl.IREJMODE, 1);
  // Not on a control card: nothing.
  EXPECT_EQ(read_exp("XORLAN OUTLIER DAC\n")->rs.ctl.IREJMODE, 1);
}

TEST(ControlCard, BlessingParameters) {
  auto run = read_exp("VORLAN BLESSING 0.1 4.0 3.0 2.0\n");
  EXPECT_EQ(run->rs.ctl.BLESS, (std::array<float, 4>{0.1f, 4.0f, 3.0f, 2.0f}));
  // A short list keeps what was read and skips the rest of the card quietly.
  run = read_exp("VORLAN BLESSING 0.1 OUTPUT INDIVIDUAL\n");
  EXPECT_EQ(run->rs.msg.IHALT, 0);
  EXPECT_EQ(run->rs.ctl.BLESS, (std::array<float, 4>{0.1f, 3.29f, 2.58f, 1.0f}));
  EXPECT_EQ(run->rs.ctl.IOUTAVE, 1);
  run = read_exp("VORLAN BLESSING 0.2 0.3\n");
  EXPECT_EQ(run->rs.ctl.BLESS, (std::array<float, 4>{0.2f, 0.3f, 2.58f, 1.0f}));
  // ... but a value that reads as NaN is refused.
  EXPECT_TRUE(halted_with(*read_exp("VORLAN BLESSING 0.1 NAN 1 1\n"),
                          read_error_text("VORLAN BLESSING 0.1 NAN 1 1")));
}

TEST(ControlCard, OutputContent) {
  auto run = read_exp("VORLAN OUTPUT INDIVIDUAL NOSINGLET\n");
  EXPECT_EQ(run->rs.ctl.IOUTAVE, 0);
  EXPECT_EQ(run->rs.ctl.INOSING, 1);
  run = read_exp("VORLAN OUTPUT NOSINGLET\n");
  EXPECT_EQ(run->rs.ctl.IOUTAVE, 1);
  EXPECT_EQ(run->rs.ctl.INOSING, 1);
}

TEST(ControlCard, AbsentKeyword) {
  EXPECT_EQ(read_exp("VORLAN ABSENT REJECT\n")->rs.ctl.IABSENT, 2);
  EXPECT_EQ(read_exp("VORLAN ABSENT INCLUDE\n")->rs.ctl.IABSENT, 0);
  EXPECT_EQ(read_exp("VORLAN ABSENT REJECT INCLUDE\n")->rs.ctl.IABSENT, 0);  // INCLUDE last
  // ABSENT with none of the words leaves 3, which the end of the file turns into 2.
  EXPECT_EQ(read_exp("VORLAN ABSENT\n")->rs.ctl.IABSENT, 2);
}

TEST(ControlCard, AbsentLessthanRejectSetsBothAndKeepsThreshold) {
  auto run = read_exp("VORLAN ABSENT LESSTHAN REJECT\n");
  EXPECT_EQ(run->rs.ctl.IABSENT, 1);
  EXPECT_EQ(run->rs.ctl.IREJLT, 1);
  EXPECT_FLOAT_EQ(run->rs.ctl.LTHRESH, 2.0f);
}

TEST(ControlCard, LessthanThreshold) {
  auto run = read_exp("VORLAN LESSTHAN 3.0 REJECT\n");
  EXPECT_FLOAT_EQ(run->rs.ctl.LTHRESH, 3.0f);
  EXPECT_EQ(run->rs.ctl.IREJLT, 1);
  run = read_exp("VORLAN LESSTHAN 3.5\n");
  EXPECT_FLOAT_EQ(run->rs.ctl.LTHRESH, 3.5f);
  EXPECT_EQ(run->rs.ctl.IREJLT, 0);
  // No number: the failed read skips the REJECT test as well, without a message.
  run = read_exp("VORLAN LESSTHAN REJECT\n");
  EXPECT_EQ(run->rs.msg.IHALT, 0);
  EXPECT_FLOAT_EQ(run->rs.ctl.LTHRESH, 2.0f);
  EXPECT_EQ(run->rs.ctl.IREJLT, 0);
  // ... and the keywords after it on that card are not examined.
  run = read_exp("VORLAN LESSTHAN 2THETA MAX 50\n");
  EXPECT_FLOAT_EQ(run->rs.ctl.TTHMAX, 180.0f);
  EXPECT_TRUE(halted_with(*read_exp("VORLAN LESSTHAN INF\n"),
                          read_error_text("VORLAN LESSTHAN INF")));
}

TEST(ControlCard, TwoThetaLimits) {
  auto run = read_exp("VORLAN 2THETA MIN 5.0 MAX 60.0\n");
  EXPECT_FLOAT_EQ(run->rs.ctl.TTHMIN, 5.0f);
  EXPECT_FLOAT_EQ(run->rs.ctl.TTHMAX, 60.0f);
  run = read_exp("VORLAN 2THETA MAX 45\n");
  EXPECT_FLOAT_EQ(run->rs.ctl.TTHMIN, 0.0f);
  EXPECT_FLOAT_EQ(run->rs.ctl.TTHMAX, 45.0f);
  // Only the ten columns behind the word count: a number beyond them is not seen.
  run = read_exp("VORLAN 2THETA MAX           45\n");
  EXPECT_TRUE(halted_with(*run, read_error_text("VORLAN 2THETA MAX           45")));
  // MIN and MAX without 2THETA change nothing.
  EXPECT_FLOAT_EQ(read_exp("VORLAN MAX 45\n")->rs.ctl.TTHMAX, 180.0f);
}

TEST(ControlCard, TwoThetaLimitFailures) {
  // The ten columns after MAX would pass column 80.
  std::string card = "VORLAN 2THETA" + std::string(62, ' ') + "MAX 5";
  ASSERT_EQ(card.size(), 80u);
  EXPECT_TRUE(halted_with(*read_exp(card + "\n"), read_error_text(card)));
  EXPECT_TRUE(halted_with(*read_exp("VORLAN 2THETA MIN ABC\n"),
                          read_error_text("VORLAN 2THETA MIN ABC")));
  EXPECT_TRUE(halted_with(*read_exp("VORLAN 2THETA MAX NAN\n"),
                          read_error_text("VORLAN 2THETA MAX NAN")));
}

TEST(ControlCard, ScaleAndFriedel) {
  auto run = read_exp("VORLAN SCALE 0.25 FRIEDEL NOFLIP\n");
  EXPECT_FLOAT_EQ(run->rs.ctl.OSCALE, 0.25f);
  EXPECT_EQ(run->rs.ctl.INOFLIP, 1);
  EXPECT_EQ(read_exp("VORLAN FRIEDEL\n")->rs.ctl.INOFLIP, 0);
  EXPECT_TRUE(halted_with(*read_exp("VORLAN SCALE\n"), read_error_text("VORLAN SCALE")));
  EXPECT_TRUE(halted_with(*read_exp("VORLAN SCALE X2\n"), read_error_text("VORLAN SCALE X2")));
}

TEST(ControlCard, SeveralKeywordsOnOneCard) {
  auto run = read_exp("VORLAN OUTLIER DAC OUTPUT INDIVIDUAL ABSENT INCLUDE SCALE 2\n");
  const auto& ctl = run->rs.ctl;
  EXPECT_EQ(ctl.IREJMODE, 2);
  EXPECT_EQ(ctl.IOUTAVE, 0);
  EXPECT_EQ(ctl.IABSENT, 0);
  EXPECT_FLOAT_EQ(ctl.OSCALE, 2.0f);
}

}  // namespace
}  // namespace vorlane::expfile
