// Whole runs that read one reflection format and write the other, with the intensities at
// and below zero that each format treats in its own way.
#include <gtest/gtest.h>

#include "e2e/e2e_run.hpp"

namespace vorlane {
namespace {

using testing::E2eRun;
using testing::shelx_record;
using testing::zezor_record;

// Zezor input, SHELX output. F = 0.0005 and F = -3 are not above 0.001: F2 = 0 and
// s(F2) = 1. F = 10, s(F) = 0.25: F2 = 100, s(F2) = 5. All singlets; the two zero sets are
// less-thans (2*1 is not below 0) and are still written, as no LESSTHAN REJECT is given.
// F7.d: 0 + 0.001 has one integer digit: 5 decimals; 1.001 likewise; 100.001 gives 3.
// The input name has no known extension, so the format comes from the option.
TEST(RunFormats, ZezorInShelxOut) {
  E2eRun r("e2e_z2s");
  r.write("t.exp", "TITLE  zezor in\n");
  r.write("d.dat", zezor_record(1, 0, 0, "0.0005", "0.100", "0.0", "5.00") +
                       zezor_record(2, 0, 0, "-3.000", "0.100", "0.0", "10.00") +
                       zezor_record(3, 0, 0, "10.000", "0.250", "0.0", "15.00"));
  const auto res = r.run("--in-format zezor --sigma-ratio keep t.exp t.prt d.dat o.hkl");
  ASSERT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(r.read("o.hkl"), "   1   0   0 0.00000 1.00000\n"
                             "   2   0   0 0.00000 1.00000\n"
                             "   3   0   0 100.000 5.00000\n");
}

// SHELX input, Zezor output. F2 = -5 (a less-than, flag 2) is written with F = 0 in F9.7 and
// s(F) = 1.0 in F5.3 (1.001: one integer digit and the point); F2 = 100, s 5: F = 10 in
// F9.6 and s(F) = 5/2/10 = 0.25 in F5.3. SHELX input has no auxiliary value and no angles
// without a cell: both are written as zeros. The sequence number is the set's position.
TEST(RunFormats, ShelxInZezorOut) {
  E2eRun r("e2e_s2z");
  r.write("t.exp", "TITLE  shelx in\n");
  r.write("d.hkl", shelx_record(1, 0, 0, "-5.", "2.") + shelx_record(2, 0, 0, "100.", "5.") +
                       shelx_record(0, 0, 0, "0.", "0.") + shelx_record(3, 0, 0, "7.", "1."));
  const auto res = r.run("--sigma-ratio keep t.exp t.prt d.hkl o.avg");
  ASSERT_EQ(res.status, 0) << res.err;
  // The 0 0 0 record ends the data: (3,0,0) after it is never read.
  EXPECT_EQ(r.read("o.avg"),
            "  1  0  0 0.0000000 1.000   0.00000    2        0.00   0.00   0.00   0.00    1\n"
            "  2  0  0 10.000000 0.250   0.00000    1        0.00   0.00   0.00   0.00    2\n");
}

}  // namespace
}  // namespace vorlane
