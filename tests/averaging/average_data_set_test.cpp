// Averaging of single sets. Expected values were worked by hand where the numbers allow it and
// otherwise computed independently in Python floats (double precision) following the written
// rules: sums over the members sorted by intensity and sigma, a two-pass mean and variance,
// set-wide thresholds, results rounded to float32 with numpy; literals carry nine significant
// digits, enough to name one float exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "average_data_fixture.hpp"
#include "averaging/average_data_set.hpp"

namespace vorlane::averaging {
namespace {

using testing::add_set;
using testing::controls;
using testing::members_of;

struct Averaged {
  run::EquivSet set;
  std::vector<int> irej;
  std::optional<float> ratio;
};

Averaged run_set(std::initializer_list<testing::Obs> obs, const expfile::RunControls& ctl) {
  run::ReflectionList refl;
  run::EquivSet& set = add_set(refl, obs);
  Averaged a;
  std::vector<SortedMember> scratch;
  a.ratio = average_data_set(set, members_of(refl, set), ctl, scratch);
  a.set = set;
  for (const run::Member& m : members_of(refl, set)) a.irej.push_back(m.IREJ);
  return a;
}

using Ints = std::vector<int>;

TEST(AverageDataSet, ThreeMembersWithoutRejection) {
  // M = 101.766663, V/2 = 10.6633, INT1 = INT2 = 3.26547575, EXT1 = sqrt(28.91/3) =
  // 3.10429811, EXT2 = sqrt(3/0.3147917) = 3.08708787.
  const Averaged a = run_set({{105.2f, 3.1f}, {98.7f, 2.9f}, {101.4f, 3.3f}}, controls(1));
  EXPECT_EQ(a.irej, (Ints{0, 0, 0}));
  EXPECT_EQ(a.set.NAVE, 3);
  EXPECT_EQ(a.set.FAVE, 101.766663f);
  EXPECT_EQ(a.set.SIGINT_, 3.26547575f);
  EXPECT_EQ(a.set.SIGEXT, 3.10429811f);
  EXPECT_EQ(a.set.SIGINT2, 3.26547575f);
  EXPECT_EQ(a.set.SIGEXT2, 3.08708787f);
  EXPECT_EQ(a.set.SIGAVE, 3.26547575f);  // the larger of INT2 and EXT2
  ASSERT_TRUE(a.ratio.has_value());
  EXPECT_EQ(*a.ratio, 1.05192077f);  // SIGAVE / EXT1
}

// Eight members at 10 and one at 6, all sigma 1: M = 86/9 = 9.5555, INT1 = sqrt(1.7778) =
// 1.3333, EXT1 = 1, so T = max(0.478, 3.29, 1.333) = 3.29 and 6 lies 3.556 below the mean.
TEST(AverageDataSet, DacDipWithDefaultParameters) {
  const auto obs = {testing::Obs{10, 1}, {10, 1}, {10, 1}, {10, 1}, {10, 1},
                    {10, 1},             {10, 1}, {10, 1}, {6, 1}};
  for (int mode : {2, 3}) {
    SCOPED_TRACE(mode);
    const Averaged a = run_set(obs, controls(mode));
    EXPECT_EQ(a.irej, (Ints{0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(a.set.NAVE, 8);
    EXPECT_EQ(a.set.FAVE, 10.0f);
    // Stage statistics are those after the dip: eight equal values.
    EXPECT_EQ(a.set.SIGINT_, 0.0f);
    EXPECT_EQ(a.set.SIGEXT, 1.0f);
    EXPECT_EQ(a.set.SIGINT2, 0.0f);
    EXPECT_EQ(a.set.SIGEXT2, 1.0f);
    EXPECT_EQ(a.set.SIGAVE, 1.0f);
  }
  // Outlier test only: the same member is an outlier, and SIGINT_ keeps the stage-1 spread.
  const Averaged o = run_set(obs, controls(1));
  EXPECT_EQ(o.irej, (Ints{0, 0, 0, 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(o.set.NAVE, 8);
  EXPECT_EQ(o.set.FAVE, 10.0f);
  EXPECT_EQ(o.set.SIGINT_, 1.33333337f);
  // No rejection: the spread enters the average.
  const Averaged n = run_set(obs, controls(0));
  EXPECT_EQ(n.irej, (Ints{0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(n.set.NAVE, 9);
  EXPECT_EQ(n.set.FAVE, 9.55555534f);
  EXPECT_EQ(n.set.SIGINT2, 1.33333337f);
  EXPECT_EQ(n.set.SIGAVE, 1.33333337f);
  ASSERT_TRUE(n.ratio.has_value());
  EXPECT_EQ(*n.ratio, 1.33333337f);
}

// Eight at 10, one at 6 and one at 14 (sigma 1). Mode 3: 6 is a dip (M = 10, T = 3.29);
// recomputed M = 94/9 = 10.444, INT1 = 1.3333, so 14 is 3.556 > 3.29 from it: an outlier.
// Mode 2 keeps 14; mode 1 rejects both as outliers (M = 10, INT1 = 1.8856, T = 3.29).
TEST(AverageDataSet, EachRejectionMode) {
  const auto obs = {testing::Obs{10, 1}, {10, 1}, {10, 1}, {10, 1}, {10, 1},
                    {10, 1},             {10, 1}, {10, 1}, {6, 1},  {14, 1}};
  const Averaged m3 = run_set(obs, controls(3));
  EXPECT_EQ(m3.irej, (Ints{0, 0, 0, 0, 0, 0, 0, 0, 1, 2}));
  EXPECT_EQ(m3.set.NAVE, 8);
  EXPECT_EQ(m3.set.FAVE, 10.0f);
  EXPECT_EQ(m3.set.SIGINT_, 1.33333337f);
  EXPECT_EQ(m3.set.SIGEXT, 1.0f);

  const Averaged m2 = run_set(obs, controls(2));
  EXPECT_EQ(m2.irej, (Ints{0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
  EXPECT_EQ(m2.set.NAVE, 9);
  EXPECT_EQ(m2.set.FAVE, 10.4444447f);
  EXPECT_EQ(m2.set.SIGINT2, 1.33333337f);

  const Averaged m1 = run_set(obs, controls(1));
  EXPECT_EQ(m1.irej, (Ints{0, 0, 0, 0, 0, 0, 0, 0, 2, 2}));
  EXPECT_EQ(m1.set.NAVE, 8);
  EXPECT_EQ(m1.set.SIGINT_, 1.88561809f);

  const Averaged m0 = run_set(obs, controls(0));
  EXPECT_EQ(m0.irej, (Ints{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(m0.set.NAVE, 10);
  EXPECT_EQ(m0.set.FAVE, 10.0f);
}

// BLESS = (0, 2, 0, 0) with sigma 1 makes T = 2*EXT1 = 2 exactly. Four members at 10 and one
// at 7.5: M = 47.5/5 = 9.5, 9.5 - 7.5 = 2 = T, not strictly greater: accepted. At 7.4 it lies
// 2.08 below and is a dip. The same on the high side for outliers: 12.5 (M = 10.5) stays,
// 12.6 (M = 10.52) goes.
TEST(AverageDataSet, MemberExactlyAtThresholdStays) {
  const std::array<float, 4> b{0.0f, 2.0f, 0.0f, 0.0f};
  const Averaged at = run_set({{10, 1}, {10, 1}, {10, 1}, {10, 1}, {7.5f, 1}}, controls(2, b));
  EXPECT_EQ(at.irej, (Ints{0, 0, 0, 0, 0}));
  EXPECT_EQ(at.set.FAVE, 9.5f);
  const Averaged below = run_set({{10, 1}, {10, 1}, {10, 1}, {10, 1}, {7.4f, 1}}, controls(2, b));
  EXPECT_EQ(below.irej, (Ints{0, 0, 0, 0, 1}));
  EXPECT_EQ(below.set.FAVE, 10.0f);

  const Averaged hi = run_set({{10, 1}, {10, 1}, {10, 1}, {10, 1}, {12.5f, 1}}, controls(1, b));
  EXPECT_EQ(hi.irej, (Ints{0, 0, 0, 0, 0}));
  EXPECT_EQ(hi.set.FAVE, 10.5f);
  const Averaged over = run_set({{10, 1}, {10, 1}, {10, 1}, {10, 1}, {12.6f, 1}}, controls(1, b));
  EXPECT_EQ(over.irej, (Ints{0, 0, 0, 0, 2}));
  EXPECT_EQ(over.set.FAVE, 10.0f);
}

// BLESS = (0, 1, 1, 0): T starts at EXT1 and every examined member raises it to its own
// sigma, over the whole set. Members 7, 10 x5, 7; one of the 7s has sigma 3, the rest sigma 1:
// M = 9.142857, EXT1 = sqrt(15/7) = 1.4639, and both 7s lie 2.1429 below the mean, under
// T = 3 wherever the sigma-3 member stands: no dip in either order.
TEST(AverageDataSet, RaisedThresholdHoldsForTheWholeSet) {
  const std::array<float, 4> b{0.0f, 1.0f, 1.0f, 0.0f};
  const Averaged first = run_set(
      {{7, 3}, {10, 1}, {10, 1}, {10, 1}, {10, 1}, {10, 1}, {7, 1}}, controls(2, b));
  const Averaged last = run_set(
      {{7, 1}, {10, 1}, {10, 1}, {10, 1}, {10, 1}, {10, 1}, {7, 3}}, controls(2, b));
  for (const Averaged* a : {&first, &last}) {
    EXPECT_EQ(a->irej, (Ints{0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(a->set.NAVE, 7);
    EXPECT_EQ(a->set.FAVE, 9.14285755f);  // 64/7
  }
}

// A member above the mean never raises the DAC-dip threshold, but does raise the outlier
// threshold. Members 12 (sigma 5), 10 x4, 7: M = 9.8333, EXT1 = sqrt(30/6) = 2.2361.
TEST(AverageDataSet, OnlyMembersBelowTheMeanRaiseTheDipThreshold) {
  const std::array<float, 4> b{0.0f, 1.0f, 1.0f, 0.0f};
  const auto obs = {testing::Obs{12, 5}, {10, 1}, {10, 1}, {10, 1}, {10, 1}, {7, 1}};
  // DAC dip: T stays 2.2361 and 7 lies 2.8333 below the mean.
  const Averaged dip = run_set(obs, controls(2, b));
  EXPECT_EQ(dip.irej, (Ints{0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(dip.set.FAVE, 10.3999996f);
  EXPECT_EQ(dip.set.SIGEXT, 2.408319f);  // sqrt(29/5)
  // Outlier test: member 1 raises T to 5, which protects 7.
  const Averaged out = run_set(obs, controls(1, b));
  EXPECT_EQ(out.irej, (Ints{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(out.set.FAVE, 9.83333302f);
}

// Two members are never outlier-tested. With B4 = 1 the lower of two lies INT1/sqrt(2)
// below the mean and survives; with B4 = 0.5 it is a dip and the set averages to the other.
TEST(AverageDataSet, SetReducedToOneMember) {
  const Averaged def = run_set({{10, 0.1f}, {6, 0.1f}}, controls(3));
  EXPECT_EQ(def.irej, (Ints{0, 0}));
  EXPECT_EQ(def.set.FAVE, 8.0f);
  EXPECT_EQ(def.set.SIGAVE, 2.82842708f);  // INT2 = sqrt(8)

  const Averaged half = run_set({{10, 0.1f}, {6, 0.1f}}, controls(2, {0.05f, 3.29f, 2.58f, 0.5f}));
  EXPECT_EQ(half.irej, (Ints{0, 1}));
  EXPECT_EQ(half.set.NAVE, 1);
  EXPECT_EQ(half.set.FAVE, 10.0f);         // S1 after the subtraction
  EXPECT_EQ(half.set.SIGINT_, 0.0f);        // one value has no spread
  EXPECT_EQ(half.set.SIGEXT, 0.100000001f);
  EXPECT_EQ(half.set.SIGINT2, 0.0f);
  EXPECT_EQ(half.set.SIGEXT2, 0.100000001f);  // sqrt(1/SW): the survivor's sigma
  EXPECT_EQ(half.set.SIGAVE, 0.100000001f);   // larger of EXT1 and INT1
  EXPECT_FALSE(half.ratio.has_value());       // a set of one never enters the ratio

  // Three members with the defaults: 10, 10, 4 (sigma 0.5): M = 8, INT1 = sqrt(12) = 3.46,
  // T = 3.46, 4 lies 4 below: a dip, leaving two (not outlier-tested).
  const Averaged three = run_set({{10, 0.5f}, {10, 0.5f}, {4, 0.5f}}, controls(3));
  EXPECT_EQ(three.irej, (Ints{0, 0, 1}));
  EXPECT_EQ(three.set.NAVE, 2);
  EXPECT_EQ(three.set.FAVE, 10.0f);
  EXPECT_EQ(three.set.SIGAVE, 0.5f);
}

// The stage-1 floor on the variance is 1e-7, the final one 1e-5. Members 0 and 0.003:
// V = 9e-6 - 2*0.0015^2 = 4.5e-6, between the floors: INT1 = sqrt(4.5e-6) = 0.00212, INT2 = 0.
// Members 0 and 0.0001: V = 5e-9, below both: INT1 = 0 too.
TEST(AverageDataSet, VarianceFloors) {
  const Averaged mid = run_set({{0, 1}, {0.003f, 1}}, controls(0));
  EXPECT_EQ(mid.set.SIGINT_, 0.00212132046f);
  EXPECT_EQ(mid.set.SIGINT2, 0.0f);
  EXPECT_EQ(mid.set.SIGAVE, 1.0f);
  const Averaged low = run_set({{0, 1}, {0.0001f, 1}}, controls(0));
  EXPECT_EQ(low.set.SIGINT_, 0.0f);
  EXPECT_EQ(low.set.SIGINT2, 0.0f);
  EXPECT_EQ(low.set.FAVE, 4.99999987e-05f);
}

TEST(AverageDataSet, LessThanSetGivesNoRatioTerm) {
  const Averaged lt = run_set({{1, 1}, {-1, 1}}, controls(1));
  EXPECT_EQ(lt.set.FAVE, 0.0f);
  EXPECT_EQ(lt.set.SIGAVE, 1.41421354f);
  EXPECT_FALSE(lt.ratio.has_value());
  // FAVE exactly LTHRESH*SIGAVE is not a greater-than either: members 3, 3 (sigma 1) with
  // LTHRESH 3 give FAVE = 3 = 3*SIGAVE.
  expfile::RunControls c = controls(1);
  c.LTHRESH = 3.0f;
  const Averaged eq = run_set({{3, 1}, {3, 1}}, c);
  EXPECT_EQ(eq.set.FAVE, 3.0f);
  EXPECT_EQ(eq.set.SIGAVE, 1.0f);
  EXPECT_FALSE(eq.ratio.has_value());
}

// With B4 = 0.5, members 0, 0, 100, 100 (sigma 1) all lie 50 from M = 50 while
// T = 0.5*INT1 = 28.87: the outlier test would empty the set. It rejects none instead and the
// set is averaged whole: FAVE = 50, INT2 = sqrt(10000/3) = 57.735, EXT2 = 1.
TEST(AverageDataSet, OutlierTestNeverEmptiesASet) {
  const Averaged a =
      run_set({{0, 1}, {0, 1}, {100, 1}, {100, 1}}, controls(1, {0.05f, 3.29f, 2.58f, 0.5f}));
  EXPECT_EQ(a.irej, (Ints{0, 0, 0, 0}));
  EXPECT_EQ(a.set.NAVE, 4);
  EXPECT_EQ(a.set.FAVE, 50.0f);
  EXPECT_EQ(a.set.SIGINT2, 57.7350273f);
  EXPECT_EQ(a.set.SIGEXT2, 1.0f);
  EXPECT_EQ(a.set.SIGAVE, 57.7350273f);
  EXPECT_TRUE(testing::all_finite(a.set));
  EXPECT_FALSE(a.ratio.has_value());
  // A test that leaves one member still rejects the others: 0, 100, 100, 100 gives M = 75,
  // INT1 = 50, T = 25; only 0 (75 away) is an outlier, the 100s lie exactly 25 away.
  const Averaged one =
      run_set({{0, 1}, {100, 1}, {100, 1}, {100, 1}}, controls(1, {0.05f, 3.29f, 2.58f, 0.5f}));
  EXPECT_EQ(one.irej, (Ints{2, 0, 0, 0}));
  EXPECT_EQ(one.set.FAVE, 100.0f);
}

// A test that would reject every member rejects none. With BLESSING 0 0 0 0 the threshold is
// 0, and 0, 0, 3, 3 all lie 1.5 from their mean: the outlier test would leave 0/0. By hand:
// FAVE = 1.5, INT2 = sqrt(9/3) = 1.73205078, EXT2 = 1.
TEST(AverageDataSet, TestNeverEmptiesASet) {
  const Averaged a = run_set({{0, 1}, {0, 1}, {3, 1}, {3, 1}}, controls(1, {0, 0, 0, 0}));
  EXPECT_EQ(a.irej, (Ints{0, 0, 0, 0}));
  EXPECT_EQ(a.set.NAVE, 4);
  EXPECT_EQ(a.set.FAVE, 1.5f);
  EXPECT_EQ(a.set.SIGINT2, 1.73205078f);
  EXPECT_EQ(a.set.SIGEXT2, 1.0f);
  EXPECT_EQ(a.set.SIGAVE, 1.73205078f);
  EXPECT_TRUE(testing::all_finite(a.set));
}

// A zero sigma (intensity 0, as the reader allows) is an infinite weight. Rejected as a dip
// (M = 38.25, INT1 = 25.5, 38.25 below), its weight must not turn SW into inf - inf: the
// remaining three (50, 52, 51, sigma 1) give EXT2 = 1, INT2 = sqrt(2/2) = 1, SIGAVE = 1.
TEST(AverageDataSet, RejectedZeroSigmaMemberLeavesFiniteValues) {
  const Averaged a = run_set({{0, 0}, {50, 1}, {52, 1}, {51, 1}}, controls(3));
  EXPECT_EQ(a.irej, (Ints{1, 0, 0, 0}));
  EXPECT_EQ(a.set.FAVE, 51.0f);
  EXPECT_EQ(a.set.SIGEXT2, 1.0f);
  EXPECT_EQ(a.set.SIGINT2, 1.0f);
  EXPECT_EQ(a.set.SIGAVE, 1.0f);
  EXPECT_TRUE(testing::all_finite(a.set));
  ASSERT_TRUE(a.ratio.has_value());
  EXPECT_EQ(*a.ratio, 1.0f);
}

// Accepted zero sigmas: the weighted sigma is 0 (the limit of sqrt(n/SW)), and EXT1 = 0
// gives the set no ratio term even though 2*0 < 0.0001 makes it a greater-than.
TEST(AverageDataSet, AcceptedZeroSigmasGiveZeroWeightedSigma) {
  const Averaged a = run_set({{0.0001f, 0}, {0.0001f, 0}}, controls(1));
  EXPECT_EQ(a.set.FAVE, 0.0001f);
  EXPECT_EQ(a.set.SIGEXT, 0.0f);
  EXPECT_EQ(a.set.SIGEXT2, 0.0f);
  EXPECT_EQ(a.set.SIGAVE, 0.0f);
  EXPECT_TRUE(testing::all_finite(a.set));
  EXPECT_FALSE(a.ratio.has_value());
}

// Sigma 1e-6 on a negative intensity gives weight 1e12, which swamps four members of
// sigma 1: SW = 1e12 + 4 rounds to 1e12 and the subtraction leaves 0 (EXT2 would be
// infinite). The weights of the survivors are summed afresh: EXT2 = sqrt(4/4) = 1;
// FAVE = 50.5, INT2 = sqrt(5/3) = 1.29099441.
TEST(AverageDataSet, SwampingWeightCancelsWithoutInfinity) {
  const auto obs = {testing::Obs{-50, 1e-6f}, {50, 1}, {51, 1}, {52, 1}, {49, 1}};
  const Averaged dip = run_set(obs, controls(2));
  EXPECT_EQ(dip.irej, (Ints{1, 0, 0, 0, 0}));
  EXPECT_EQ(dip.set.FAVE, 50.5f);
  EXPECT_EQ(dip.set.SIGEXT2, 1.0f);
  EXPECT_EQ(dip.set.SIGINT2, 1.29099441f);
  EXPECT_EQ(dip.set.SIGAVE, 1.29099441f);
  EXPECT_EQ(dip.set.SIGEXT, 1.0f);  // SS = 1e-12 + 4 - 1e-12: fine as it is
  ASSERT_TRUE(dip.ratio.has_value());
  EXPECT_EQ(*dip.ratio, 1.29099441f);

  // As an outlier (M = 30.4, INT1 = 44.96, 80.4 away); EXT1 = sqrt(4/5) from stage 1.
  const Averaged out = run_set(obs, controls(1));
  EXPECT_EQ(out.irej, (Ints{2, 0, 0, 0, 0}));
  EXPECT_EQ(out.set.SIGEXT2, 1.0f);
  EXPECT_EQ(out.set.SIGEXT, 0.89442718f);
  ASSERT_TRUE(out.ratio.has_value());
  EXPECT_EQ(*out.ratio, 1.44337559f);  // 1.29099441 / 0.89442718
}

// The same for the sum of squared sigmas, corrected by the DAC-dip test: a dip of -1e6 with
// sigma 1e4 (M = -199960, INT1 = 447k, 800k below) among four 50s of sigma 1. SS = 1e8 + 4
// rounds to 1e8 and the subtraction leaves 0, which would make EXT1 = 0 (and the ratio term
// SIGAVE/EXT1 infinite); summed afresh over the survivors SS = 4 and EXT1 = 1.
TEST(AverageDataSet, SwampingSigmaSquareIsSummedAfresh) {
  const Averaged a = run_set({{-1e6f, 1e4f}, {50, 1}, {50, 1}, {50, 1}, {50, 1}}, controls(2));
  EXPECT_EQ(a.irej, (Ints{1, 0, 0, 0, 0}));
  EXPECT_EQ(a.set.FAVE, 50.0f);
  EXPECT_EQ(a.set.SIGEXT, 1.0f);
  EXPECT_EQ(a.set.SIGEXT2, 1.0f);
  EXPECT_EQ(a.set.SIGAVE, 1.0f);
  ASSERT_TRUE(a.ratio.has_value());
  EXPECT_EQ(*a.ratio, 1.0f);
}

// An outlier leaves the survivors' statistics summed afresh: 21.2 (sigma 2.1) is an outlier
// of 107.8, 105.3, 107.4 (sigmas 2.0, 1.9, 1.1); the stage-1 spread INT1 keeps all four.
TEST(AverageDataSet, OutlierLeavesTheSurvivorsStatistics) {
  const Averaged a =
      run_set({{21.2f, 2.1f}, {107.8f, 2.0f}, {105.3f, 1.9f}, {107.4f, 1.1f}}, controls(1));
  EXPECT_EQ(a.irej, (Ints{2, 0, 0, 0}));
  EXPECT_EQ(a.set.FAVE, 106.833336f);
  EXPECT_EQ(a.set.SIGINT_, 42.8307037f);
  EXPECT_EQ(a.set.SIGEXT, 1.81865335f);
  EXPECT_EQ(a.set.SIGINT2, 1.34288216f);
  EXPECT_EQ(a.set.SIGEXT2, 1.48880827f);
  EXPECT_EQ(a.set.SIGAVE, 1.48880827f);
  ASSERT_TRUE(a.ratio.has_value());
  EXPECT_EQ(*a.ratio, 0.818632245f);
}

}  // namespace
}  // namespace vorlane::averaging

namespace vorlane::averaging {
namespace {

// Every order of the members gives the same bits. 99999.00, 99999.25 and 99999.50 are exact
// in single precision and have the sample standard deviation 0.25 exactly; the seven-member
// set has a DAC dip and an outlier (by hand: M = 10.43, T = 3.29, 6 is 4.43 below: a dip;
// then M = 11.17, INT1 = 2.14, T = 3.29: 15 is 3.83 from the mean, an outlier; the rest
// average to 52/5).
TEST(AverageDataSet, SameBitsInAnyMemberOrder) {
  struct Case {
    std::vector<testing::Obs> obs;
    int mode;
    float fave, sigint;
  };
  const Case cases[] = {
      {{{99999.0f, 0.01f}, {99999.25f, 0.01f}, {99999.5f, 0.01f}}, 0, 99999.25f, 0.25f},
      {{{10, 1}, {10, 1}, {9, 1}, {12, 1}, {11, 1}, {6, 1}, {15, 1}}, 3, 10.4f, -1.0f},
  };
  for (const Case& c : cases) {
    std::vector<int> order(c.obs.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = static_cast<int>(k);
    std::vector<float> first;
    do {
      run::ReflectionList refl;
      run::EquivSet set;
      set.NEQ = static_cast<int>(order.size());
      for (const int k : order) {
        run::Member m;
        m.FSQ = c.obs[static_cast<std::size_t>(k)].FSQ;
        m.SIGFSQ = c.obs[static_cast<std::size_t>(k)].SIGFSQ;
        refl.members.push_back(m);
      }
      refl.sets.push_back(set);
      std::vector<SortedMember> scratch;
      average_data_set(refl.sets[0], members_of(refl, refl.sets[0]), controls(c.mode), scratch);
      const run::EquivSet& r = refl.sets[0];
      std::vector<float> got{r.FAVE, r.SIGAVE, r.SIGINT_, r.SIGEXT, r.SIGINT2, r.SIGEXT2,
                             static_cast<float>(r.NAVE)};
      // Which intensities were rejected, as values, so that the order does not show.
      std::vector<float> rejected;
      for (const run::Member& m : refl.members)
        if (m.IREJ != 0) rejected.push_back(m.FSQ * static_cast<float>(m.IREJ));
      std::sort(rejected.begin(), rejected.end());
      got.insert(got.end(), rejected.begin(), rejected.end());
      if (first.empty()) {
        first = got;
        EXPECT_EQ(r.FAVE, c.fave);
        if (c.sigint >= 0.0f) {
          EXPECT_EQ(r.SIGINT_, c.sigint);
        }
      }
      EXPECT_EQ(got, first);
    } while (std::next_permutation(order.begin(), order.end()));
  }
}

// Under SIGMA MEAN the average is the 1/sigma^2-weighted mean and its sigma the larger of the
// external sqrt(1/sum w) and the internal sqrt(sum w (x - mean)^2 / ((n - 1) sum w)).
// By hand: four 100(10): mean 100, external sqrt(100/4) = 5, internal 0. 10.00(0.10) and
// 20.00(10.00): w = 100 and 0.01, mean 1000.2/100.01 = 10.0009999, external 0.0999950,
// internal sqrt(0.9999/100.01) = 0.0999900. A zero sigma weighs as the smallest non-zero one
// of its set: 0(0), 2(1) and 4(1) is an unweighted mean, 2, with external sqrt(1/3) and
// internal sqrt(8/(2*3)) = 1.1547005. A set left with one member keeps its sigma.
TEST(AverageDataSet, SigmaOfTheWeightedMean) {
  struct Case {
    std::vector<testing::Obs> obs;
    float fave, sigave;
  };
  const Case cases[] = {
      {{{100, 10}, {100, 10}, {100, 10}, {100, 10}}, 100.0f, 5.0f},
      {{{10.0f, 0.1f}, {20.0f, 10.0f}}, 10.0009999f, 0.0999950f},
      {{{0, 0}, {2, 1}, {4, 1}}, 2.0f, 1.1547005f},
  };
  for (const Case& c : cases) {
    run::ReflectionList refl;
    run::EquivSet set;
    set.NEQ = static_cast<int>(c.obs.size());
    for (const auto& o : c.obs) {
      run::Member m;
      m.FSQ = o.FSQ;
      m.SIGFSQ = o.SIGFSQ;
      refl.members.push_back(m);
    }
    refl.sets.push_back(set);
    expfile::RunControls ctl = controls(0);
    ctl.sigma_convention = 1;
    std::vector<SortedMember> scratch;
    const auto ratio =
        average_data_set(refl.sets[0], members_of(refl, refl.sets[0]), ctl, scratch);
    EXPECT_NEAR(refl.sets[0].FAVE, c.fave, 1e-5f * std::fabs(c.fave) + 1e-6f);
    EXPECT_NEAR(refl.sets[0].SIGAVE, c.sigave, 1e-6f * c.sigave);
    EXPECT_FALSE(ratio.has_value());  // no sigma ratio for sigmas of means
  }
  // 10, 10, 10 (sigma 1) and 30 (sigma 1) with the defaults: 30 is an outlier, and the
  // survivors' mean 10 has the sigma sqrt(1/3).
  run::ReflectionList refl;
  run::EquivSet& set = testing::add_set(refl, {{10, 1}, {10, 1}, {10, 1}, {30, 1}});
  expfile::RunControls ctl = controls(1);
  ctl.sigma_convention = 1;
  std::vector<SortedMember> scratch;
  average_data_set(set, members_of(refl, set), ctl, scratch);
  EXPECT_EQ(set.NAVE, 3);
  EXPECT_EQ(set.FAVE, 10.0f);
  EXPECT_NEAR(set.SIGAVE, 0.57735027f, 1e-6f);
}

}  // namespace
}  // namespace vorlane::averaging
