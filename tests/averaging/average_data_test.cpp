// The averaging stage over a whole reflection list, and the stages after it in driver order.
#include <gtest/gtest.h>

#include <cmath>

#include "average_data_fixture.hpp"
#include "averaging/average_data.hpp"
#include "averaging/handle_singlets.hpp"
#include "averaging/reject_data.hpp"
#include "support/test_support.hpp"

namespace vorlane::averaging {
namespace {

using testing::add_set;

// Set 1: 105.2, 98.7, 101.4 (ratio term 1.05192077, see AverageDataSet); set 2: a singlet;
// set 3: eight 10s and an outlier 6 (term 1.0); set 4: 1 and -1, a less-than (no term);
// set 5: another singlet. RATIO = (1.05192077 + 1) / 2 = 1.02596045 in float.
TEST(AverageData, CountsSingletsAndAveragesTheRatioOverGreaterThanSets) {
  testing::MemoryRun run;
  run::RunState& rs = run.rs;
  add_set(rs.refl, {{105.2f, 3.1f}, {98.7f, 2.9f}, {101.4f, 3.3f}});
  add_set(rs.refl, {{7.0f, 2.0f}});
  add_set(rs.refl,
          {{10, 1}, {10, 1}, {10, 1}, {10, 1}, {10, 1}, {10, 1}, {10, 1}, {10, 1}, {6, 1}});
  add_set(rs.refl, {{1, 1}, {-1, 1}});
  add_set(rs.refl, {{3.0f, 1.0f}});
  // Left-overs that the stage must reset or leave alone.
  rs.refl.members[rs.refl.sets[1].first].IREJ = 2;
  rs.refl.sets[1].NAVE = 7;
  rs.refl.sets[1].FAVE = 42.0f;
  rs.res.RATIO = 9.0f;
  rs.res.NRATIO = 9;
  rs.res.NSINGLET = 9;

  AVERAGE_DATA(rs);
  EXPECT_EQ(rs.res.NSINGLET, 2);
  EXPECT_EQ(rs.res.NRATIO, 2);
  EXPECT_EQ(rs.res.RATIO, 1.02596045f);
  EXPECT_EQ(rs.refl.members[rs.refl.sets[1].first].IREJ, 0);
  EXPECT_EQ(rs.refl.sets[1].NAVE, 1);
  EXPECT_EQ(rs.refl.sets[1].FAVE, 42.0f);  // singlets wait for HANDLE_SINGLETS
  EXPECT_EQ(rs.refl.sets[0].FAVE, 101.766663f);
  EXPECT_EQ(rs.refl.sets[2].NAVE, 8);
  EXPECT_EQ(rs.refl.sets[3].FAVE, 0.0f);
}

TEST(AverageData, NoContributingSetLeavesRatioZero) {
  testing::MemoryRun run;
  add_set(run.rs.refl, {{1, 1}, {-1, 1}});
  add_set(run.rs.refl, {{5.0f, 1.0f}});
  AVERAGE_DATA(run.rs);
  EXPECT_EQ(run.rs.res.NRATIO, 0);
  EXPECT_EQ(run.rs.res.RATIO, 0.0f);
  EXPECT_EQ(run.rs.res.NSINGLET, 1);
}

TEST(AverageData, ModeZeroRejectsNothingAnywhere) {
  testing::MemoryRun run;
  run.rs.ctl.IREJMODE = 0;
  add_set(run.rs.refl, {{10, 1}, {10, 1}, {10, 1}, {10, 1}, {-500, 1}});
  add_set(run.rs.refl, {{0, 1}, {0, 1}, {100, 1}, {100, 1}, {1000, 1}});
  AVERAGE_DATA(run.rs);
  for (const run::EquivSet& s : run.rs.refl.sets) EXPECT_EQ(s.NAVE, s.NEQ);
  for (const run::Member& m : run.rs.refl.members) EXPECT_EQ(m.IREJ, 0);
  EXPECT_EQ(run.rs.refl.sets[0].FAVE, -92.0f);  // (40 - 500) / 5
}

// Driver order: AVERAGE_DATA, HANDLE_SINGLETS, REJECTDATA. The singlet 8.3 +- 4 is a
// greater-than on its own sigma (2*4 = 8 < 8.3) but not after scaling by the ratio of the one
// averaged set, 1.05192077: 4.20768309 * 2 = 8.415 > 8.3.
TEST(AverageData, ScalingCanTurnASingletIntoALessThan) {
  for (int answer : {1, 0}) {
    SCOPED_TRACE(answer);
    testing::MemoryRun run;
    run::RunState& rs = run.rs;
    add_set(rs.refl, {{105.2f, 3.1f}, {98.7f, 2.9f}, {101.4f, 3.3f}});
    add_set(rs.refl, {{8.3f, 4.0f}});
    run.dialogs.ratio_answers = {answer};
    AVERAGE_DATA(rs);
    HANDLE_SINGLETS(rs);
    REJECTDATA(rs);
    ASSERT_EQ(run.dialogs.ratio_lines.size(), 1u);
    EXPECT_EQ(run.dialogs.ratio_lines[0],
              "Ratio output sigma to external-sig1 for the observed reflns is:    1.05");
    const run::EquivSet& s = rs.refl.sets[1];
    EXPECT_EQ(s.SIGAVE, answer == 1 ? 4.20768309f : 4.0f);
    EXPECT_EQ(s.IGT, answer == 1 ? 0 : 1);
    EXPECT_EQ(rs.refl.member(s, 1).IOBS, 1);  // the member itself still counts as observed
    EXPECT_EQ(rs.refl.sets[0].IGT, 1);
  }
}

// Outlier test with B4 = 0.5, which would empty the first two sets (0, 0, 100, 100, and two
// zero-sigma zeros among 50, 52, 51), accepted and rejected zero sigmas, a swamping weight and
// a zero-sigma singlet, in driver order: nothing becomes NaN or infinite anywhere.
TEST(AverageData, DegenerateSetsLeaveEveryValueFinite) {
  testing::MemoryRun run;
  run::RunState& rs = run.rs;
  rs.ctl.IREJMODE = 1;
  rs.ctl.BLESS = {0.05f, 3.29f, 2.58f, 0.5f};
  add_set(rs.refl, {{0, 1}, {0, 1}, {100, 1}, {100, 1}});
  add_set(rs.refl, {{0.0f, 0.0f}, {0.0f, 0.0f}, {50, 1}, {52, 1}, {51, 1}});
  add_set(rs.refl, {{0.0001f, 0.0f}, {0.0001f, 0.0f}});
  add_set(rs.refl, {{-50, 1e-6f}, {50, 1}, {51, 1}, {52, 1}, {49, 1}});
  add_set(rs.refl, {{0.0f, 0.0f}});
  run.dialogs.ratio_answers = {1};
  AVERAGE_DATA(rs);
  HANDLE_SINGLETS(rs);
  REJECTDATA(rs);
  for (const run::EquivSet& s : rs.refl.sets) {
    EXPECT_TRUE(testing::all_finite(s));
    EXPECT_GE(s.NAVE, 1);
  }
  EXPECT_EQ(rs.refl.sets[0].NAVE, 4);
  EXPECT_EQ(rs.refl.sets[1].NAVE, 5);
  EXPECT_EQ(rs.refl.sets[1].SIGEXT2, 0.0f);  // two accepted zero sigmas: infinite weight
  EXPECT_EQ(rs.refl.sets[3].NAVE, 4);
  EXPECT_TRUE(std::isfinite(rs.res.RATIO));
  EXPECT_TRUE(std::isfinite(rs.res.SIGFACT));
  EXPECT_GT(rs.res.NRATIO, 0);
}

}  // namespace
}  // namespace vorlane::averaging
