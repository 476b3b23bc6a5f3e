// WRITE_ONE_REFLECTION: both record layouts character by character, worked by hand.
#include <gtest/gtest.h>

#include "output/write_one_reflection.hpp"
#include "support/test_support.hpp"

namespace vorlane::output {
namespace {

using testing::MemoryRun;

struct Writing {
  MemoryRun run;
  explicit Writing(int outfmt) { run.rs.files.OUTFMT = outfmt; }
  int write(std::array<int, 3> h, float fsq, float& sig, float aux = 0.0f, int iflag = 1,
            std::array<float, 4> ang = {0, 0, 0, 0}, int iseq = 1) {
    int istat = -1;
    WRITE_ONE_REFLECTION(run.rs, h, fsq, sig, aux, iflag, ang, iseq, istat);
    return istat;
  }
};

TEST(WriteOneReflectionShelx, IntensityAndSigmaInSevenColumnsEach) {
  Writing w(1);
  float sig = 12.3f;
  EXPECT_EQ(w.write({1, 2, 3}, 1234.5f, sig), 1);
  sig = 1.0f;
  EXPECT_EQ(w.write({-1, 20, -300}, -5.0f, sig), 1);
  EXPECT_EQ(w.run.output_text(),
            "   1   2   3 1234.50 12.3000\n"
            "  -1  20-300 -5.0000 1.00000\n");
}

TEST(WriteOneReflectionShelx, OverflowingIntensityIsNotWritten) {
  Writing w(1);
  float sig = 1.0f;
  EXPECT_EQ(w.write({1, 0, 0}, 12345678.0f, sig), 0);
  EXPECT_EQ(w.run.output_text(), "");
  ASSERT_EQ(w.run.dialogs.warning_texts.size(), 1u);
  EXPECT_EQ(w.run.dialogs.warning_texts[0], "  OVERFLOW WRITING TO OUTPUT DATAFILE ");
}

TEST(WriteOneReflectionShelx, OverflowingSigmaIsWrittenAsTheLargestValue) {
  Writing w(1);
  float sig = 12345678.0f;
  EXPECT_EQ(w.write({1, 0, 0}, 10.0f, sig), 1);
  EXPECT_EQ(w.run.output_text(), "   1   0   0 10.0000 999999.\n");
  EXPECT_EQ(sig, 999999.0f);
  EXPECT_TRUE(w.run.dialogs.warning_texts.empty());
}

TEST(WriteOneReflectionZezor, AmplitudeLayoutWithSequenceNumber) {
  Writing w(0);
  // F = 10, sigma(F) = 4 / 2 / 10 = 0.2: F9.6 and F5.3.
  float sig = 4.0f;
  EXPECT_EQ(w.write({1, 2, 3}, 100.0f, sig, 1.5f, 1, {12.5f, 0, 0, 0}, 7), 1);
  EXPECT_EQ(w.run.output_text(),
            "  1  2  3 10.000000 0.200   1.50000    1       12.50   0.00   0.00   0.00    7\n");
}

TEST(WriteOneReflectionZezor, NoPositiveIntensityGivesZeroAmplitudeAndUnitSigma) {
  Writing w(0);
  float sig = 2.0f;
  EXPECT_EQ(w.write({-1, 0, 4}, -3.0f, sig, 0.0f, 2, {5.0f, 0, 0, 0}, 12345), 1);
  EXPECT_EQ(w.run.output_text(),
            " -1  0  4 0.0000000 1.000   0.00000    2        5.00   0.00   0.00   0.0012345\n");
}

TEST(WriteOneReflectionZezor, OverflowingSigmaAndAmplitude) {
  Writing w(0);
  // F = 1e-4, sigma(F) = 10 / 2 / 1e-4 = 50000 does not fit F5: 9999. instead.
  float sig = 10.0f;
  EXPECT_EQ(w.write({1, 1, 1}, 1e-8f, sig, 0.0f, 1, {0, 0, 0, 0}, 1), 1);
  EXPECT_EQ(w.run.output_text(),
            "  1  1  1 0.0001000 9999.   0.00000    1        0.00   0.00   0.00   0.00    1\n");
  // F = sqrt(1e17) = 3.2e8 is beyond F9: not written.
  sig = 1.0f;
  EXPECT_EQ(w.write({2, 2, 2}, 1e17f, sig), 0);
  EXPECT_EQ(w.run.dialogs.warning_texts.size(), 1u);
  EXPECT_EQ(testing::split_lines(w.run.output_text()).size(), 1u);
}

}  // namespace
}  // namespace vorlane::output
