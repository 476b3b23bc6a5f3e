#include "averaging/rint_sums.hpp"

#include <gtest/gtest.h>

#include "averaging/totals_fixture.hpp"

namespace vorlane::averaging {
namespace {

using testing::add_set;
using testing::SetSpec;

// One pass over every member of every set of `refl`.
RintSums pass(const run::ReflectionList& refl) {
  RintSums acc;
  RINT_SUMS(acc, refl, RINT_CLEAR);
  for (int i = 1; i <= refl.NSET(); ++i) {
    RINT_SUMS(acc, refl, RINT_START_SET);
    for (int j = 1; j <= refl.sets[static_cast<std::size_t>(i - 1)].NEQ; ++j) {
      RINT_SUMS(acc, refl, RINT_ADD_MEMBER, i, j);
    }
    RINT_SUMS(acc, refl, RINT_END_SET);
  }
  RINT_SUMS(acc, refl, RINT_FINISH);
  return acc;
}

TEST(RintSums, TwoSetsWorkedByHand) {
  run::ReflectionList refl;
  // Deviations 10, 10, 30 from 100 (the outlier counts against the average it left);
  // then 1, 1 from 2.
  add_set(refl, SetSpec{{1, 0, 0}, {{90, 5}, {110, 5}, {130, 10, 2}}, 100.0f});
  add_set(refl, SetSpec{{2, 0, 0}, {{1, 2}, {3, 2}}, 2.0f});
  const RintSums acc = pass(refl);
  EXPECT_EQ(acc.NREF, 5);
  EXPECT_EQ(acc.NS, 2);
  EXPECT_FLOAT_EQ(acc.RINT, 52.0f / 334.0f);
  EXPECT_FLOAT_EQ(acc.RSIG, 24.0f / 334.0f);
  EXPECT_NEAR(acc.RINT2, (50.0 / 330.0 + 2.0 / 4.0) / 2.0, 1e-6);
  EXPECT_NEAR(acc.RSIG2, (5.0 / 90 + 5.0 / 110 + 10.0 / 130 + 2.0 / 1 + 2.0 / 3) / 5.0, 1e-6);
}

TEST(RintSums, WeakSetLeavesPerSetMeanButCountsInTotals) {
  run::ReflectionList refl;
  add_set(refl, SetSpec{{1, 0, 0}, {{10, 1}, {14, 1}}, 12.0f});
  // Sum 0.001: not above 0.001, so this set does not enter RINT2 (NS), but its members do
  // count in NREF, RINT and RSIG.
  add_set(refl, SetSpec{{2, 0, 0}, {{0.0004f, 1}, {0.0006f, 1}}, 0.0005f});
  const RintSums acc = pass(refl);
  EXPECT_EQ(acc.NREF, 4);
  EXPECT_EQ(acc.NS, 1);
  EXPECT_NEAR(acc.RINT2, 4.0 / 24.0, 1e-6);
  EXPECT_NEAR(acc.RINT, (4.0 + 0.0002) / 24.001, 1e-6);
  EXPECT_NEAR(acc.RSIG, 4.0 / 24.001, 1e-6);
  // Members at or below 0.001 in magnitude add nothing to RSIG2 but stay in its divisor.
  EXPECT_NEAR(acc.RSIG2, (1.0 / 10 + 1.0 / 14) / 4.0, 1e-6);
}

TEST(RintSums, IntensitiesCancellingToZeroGiveZeroNotInfinity) {
  run::ReflectionList refl;
  add_set(refl, SetSpec{{1, 0, 0}, {{-5, 2}, {5, 2}}, 0.0f});
  const RintSums acc = pass(refl);
  EXPECT_EQ(acc.NREF, 2);
  EXPECT_EQ(acc.RINT, 0.0f);
  EXPECT_EQ(acc.RSIG, 0.0f);
  EXPECT_EQ(acc.RINT2, 0.0f);
  EXPECT_NEAR(acc.RSIG2, (2.0 / -5 + 2.0 / 5) / 2.0, 1e-7);
}

TEST(RintSums, EmptyPassIsAllZero) {
  run::ReflectionList refl;
  RintSums acc;
  acc.SUMD = 3.0f;  // leftovers of an earlier pass are cleared by mode 0
  acc.NREF = 7;
  RINT_SUMS(acc, refl, RINT_CLEAR);
  RINT_SUMS(acc, refl, RINT_FINISH);
  EXPECT_EQ(acc.NREF, 0);
  EXPECT_EQ(acc.NS, 0);
  EXPECT_EQ(acc.RINT, 0.0f);
  EXPECT_EQ(acc.RINT2, 0.0f);
  EXPECT_EQ(acc.RSIG, 0.0f);
  EXPECT_EQ(acc.RSIG2, 0.0f);
}

TEST(RintSums, StartingASetClearsOnlyTheSetSums) {
  run::ReflectionList refl;
  add_set(refl, SetSpec{{1, 0, 0}, {{10, 1}, {20, 1}}, 15.0f});
  RintSums acc;
  RINT_SUMS(acc, refl, RINT_CLEAR);
  RINT_SUMS(acc, refl, RINT_ADD_MEMBER, 1, 1);
  RINT_SUMS(acc, refl, RINT_START_SET);
  EXPECT_EQ(acc.SETD, 0.0f);
  EXPECT_EQ(acc.SETI, 0.0f);
  EXPECT_EQ(acc.SUMD, 5.0f);
  EXPECT_EQ(acc.SUMI, 10.0f);
  EXPECT_EQ(acc.NREF, 1);
}

}  // namespace
}  // namespace vorlane::averaging
