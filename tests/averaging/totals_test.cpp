#include "averaging/totals.hpp"

#include <gtest/gtest.h>

#include "averaging/totals_fixture.hpp"
#include "support/test_support.hpp"

namespace vorlane::averaging {
namespace {

using testing::add_set;
using testing::blanks;
using testing::lines_from;
using testing::MemoryRun;
using testing::SetSpec;

// Six sets covering every branch of the count: an averaged set with an outlier, a true
// singlet less-than, two space-group violations (IABS 1 and 3, the second a DAC dip), one
// set outside the 2theta limits (with an outlier), and a set reduced to one member by two
// DAC dips.
void fill_mixed(run::ReflectionList& refl) {
  add_set(refl, SetSpec{{1, 0, 0}, {{90, 5, 0, 1}, {110, 5, 0, 1}, {130, 10, 2, 1}}, 100, 0, 1});
  add_set(refl, SetSpec{{2, 0, 0}, {{1, 2, 0, 0}}, 1, 0, 0});
  add_set(refl, SetSpec{{3, 0, 0}, {{40, 4}, {60, 4}}, 50, 1, 1});
  add_set(refl, SetSpec{{4, 0, 0}, {{8, 4, 1, 1}}, 8, 3, 1});
  add_set(refl, SetSpec{{5, 0, 0}, {{10, 1}, {10, 1}, {11, 1, 2, 1}, {9, 1}}, 10, 2, 1});
  add_set(refl, SetSpec{{6, 0, 0}, {{2, 1, 1, 0}, {30, 3, 0, 1}, {1, 1, 1, 0}}, 30, 0, 1});
}

std::string treatment(std::string text) {
  text.resize(40, ' ');
  return text;
}

TEST(Totals, CountsKeptForTheCif) {
  MemoryRun run;
  fill_mixed(run.rs.refl);
  run.rs.ctl.IABSENT = 2;
  TOTALS(run.rs);
  const auto& res = run.rs.res;
  EXPECT_EQ(res.NINDIV_PASSED, 4);   // 2 + 1 + 1 accepted members of allowed sets
  EXPECT_EQ(res.NSET_PASSED, 3);     // one averaged set, two singlets
  EXPECT_EQ(res.NSET_ALLOWED, 4);    // plus the set outside the 2theta limits
  EXPECT_EQ(res.NINDIV_GT, 3);
  EXPECT_EQ(res.NSET_GT, 2);
  EXPECT_EQ(res.NINDIV_ALLOWED, 11); // 14 read less 3 in violation sets
  // The marks of every set, for the run summary: the summary's own lines count the allowed
  // sets' only.
  EXPECT_EQ(res.NDIPS_ALL, 3);
  EXPECT_EQ(res.NOUTLIERS_ALL, 2);
}

TEST(Totals, SummaryLayoutLineByLine) {
  MemoryRun run;
  fill_mixed(run.rs.refl);
  run.rs.ctl.IABSENT = 2;
  run.rs.ctl.TTHMIN = 3.5f;
  run.rs.ctl.TTHMAX = 65.25f;
  TOTALS(run.rs);
  const std::string rejected = treatment("AND WERE REJECTED");
  const std::vector<std::string> expected{
      "",
      "",
      "",
      std::string(19, '*') + "SUMMARY OF AVERAGING" + std::string(20, '*'),
      "",
      "",
      "",
      "",
      "",
      blanks(9) + "   14 REFLECTIONS READ FROM INPUT FILE:",
      blanks(9) + "    3 WERE SPACE GROUP VIOLATIONS, " + rejected,
      blanks(9) + "    4 WERE OUTSIDE SPECIFIED 2THETA LIMITS  3.50- 65.25",
      blanks(9) + "    2 INDIVIDUALS WERE EXCLUDED AS DAC DIPS FROM AVERAGING",
      blanks(9) + "    1 INDIVIDUALS WERE EXCLUDED AS OUTLIERS FROM AVERAGING",
      "",
      blanks(9) + "    4 INDIVIDUALS WERE PASSED BY AVERAGING, OF WHICH",
      blanks(9) + "    2 HAD SYMMETRY-EQUIVALENTS AND     2 WERE SINGLETS",
      blanks(9) + "    3 HAVE FSQ > 2.0 SIGFSQ",
      blanks(9) + "    1 HAVE FSQ < 2.0 SIGFSQ",
      "",
      "",
      blanks(9) + "    6 SETS OF EQUIVALENT REFLECTIONS:",
      blanks(9) + "    2 WERE SPACE GROUP VIOLATIONS, " + rejected,
      blanks(9) + "    1 WERE OUTSIDE SPECIFIED 2THETA LIMITS  3.50- 65.25",
      "",
      blanks(9) + "    3 WERE PASSED BY AVERAGING, OF WHICH",
      blanks(9) + "    1 WERE AVERAGED SETS, AND     2 WERE SINGLETS",
      blanks(9) + "    2 HAVE FSQ > 2.0 SIGFSQ",
      blanks(9) + "    1 HAVE FSQ < 2.0 SIGFSQ (WRITTEN TO OUTPUT FILE)" + blanks(11),
  };
  EXPECT_EQ(run.print_lines(), expected);
}

TEST(Totals, TreatmentTextFollowsIabsent) {
  const std::vector<std::pair<int, std::string>> cases{
      {3, "(NO SYMMETRY INFO TO DETECT THEM)"},
      {2, "AND WERE REJECTED"},
      {1, "AND WERE SET TO LESS-THANS"},
      {0, "AND WERE INCLUDED"},
  };
  for (const auto& [iabsent, text] : cases) {
    MemoryRun run;
    fill_mixed(run.rs.refl);
    run.rs.ctl.IABSENT = iabsent;
    TOTALS(run.rs);
    const auto lines = run.print_lines();
    const std::string expected = blanks(9) + "    3 WERE SPACE GROUP VIOLATIONS, " + treatment(text);
    EXPECT_EQ(lines_from(lines, expected, 1).size(), 1u) << "IABSENT " << iabsent;
  }
}

TEST(Totals, LessThanNoteAndThresholdFollowControls) {
  MemoryRun run;
  fill_mixed(run.rs.refl);
  run.rs.ctl.IREJLT = 1;
  run.rs.ctl.LTHRESH = 3.0f;
  TOTALS(run.rs);
  const auto lines = run.print_lines();
  // "(NOT WRITTEN TO OUTPUT FILE)" padded to 40 and cut to 35 characters.
  EXPECT_EQ(lines.back(),
            blanks(9) + "    1 HAVE FSQ < 3.0 SIGFSQ (NOT WRITTEN TO OUTPUT FILE)" + blanks(7));
  EXPECT_EQ(lines_from(lines, blanks(9) + "    3 HAVE FSQ > 3.0 SIGFSQ", 1).size(), 1u);
}

TEST(Totals, EmptyListCountsNothing) {
  MemoryRun run;
  run.rs.res.NSET_PASSED = 99;  // left from nowhere: the stage resets its counts
  TOTALS(run.rs);
  EXPECT_EQ(run.rs.res.NSET_PASSED, 0);
  EXPECT_EQ(run.rs.res.NINDIV_ALLOWED, 0);
  const auto lines = run.print_lines();
  EXPECT_EQ(lines_from(lines, blanks(9) + "    0 REFLECTIONS READ FROM INPUT FILE:", 1).size(), 1u);
}

}  // namespace
}  // namespace vorlane::averaging
