#include "averaging/calc_rint.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>

#include "averaging/totals_fixture.hpp"
#include "support/test_support.hpp"

namespace vorlane::averaging {
namespace {

using testing::add_set;
using testing::blanks;
using testing::MemoryRun;
using testing::SetSpec;

// An allowed greater-than set with an outlier, an allowed less-than set with a DAC dip, a
// violation, a set outside the 2theta limits and a singlet (never in the table).
void fill_table_sets(run::ReflectionList& refl) {
  add_set(refl, SetSpec{{1, 0, 0}, {{90, 5}, {110, 5}, {130, 10, 2}}, 100, 0, 1});
  add_set(refl, SetSpec{{2, 0, 0}, {{1, 2}, {3, 2, 1}}, 2, 0, 0});
  add_set(refl, SetSpec{{3, 0, 0}, {{40, 4}, {60, 4}}, 50, 1, 1});
  add_set(refl, SetSpec{{4, 0, 0}, {{10, 1}, {10, 1}}, 10, 2, 1});
  add_set(refl, SetSpec{{5, 0, 0}, {{7, 1}}, 7, 0, 1});
}

const std::string kHeading1 = "REFLECTION CLASS     ALL REFLECTIONS      " + blanks(15) +
                              "GREATER-THANS" + blanks(23) + "LESS-THANS";
const std::string kGroup = "   NREF RINT  RINT2 RSIG  RSIG2";
const std::string kHeading2 = blanks(15) + kGroup + "   " + kGroup + "   " + kGroup;

// Rows worked by hand (see the sums in each comment):
// All: members 90,110,130 | 1,3 | 40,60 | 10,10 about their averages: sum |d| = 72,
// sum I = 454, sum sigma = 34; per-set R 50/330, 2/4, 20/100, 0/20.
const std::string kAll =
    "All Reflections     9. 0.159 0.213 0.075 0.357        7. 0.156 0.117 0.067 0.078"
    "        2. 0.500 0.500 1.000 1.333";
// Inside 2theta: the set outside the limits (10, 10) leaves.
const std::string kInside =
    "Inside 2theta       7. 0.166 0.284 0.074 0.430        5. 0.163 0.176 0.065 0.069"
    "        2. 0.500 0.500 1.000 1.333";
// Space-group allowed: the violation (40, 60) leaves too.
const std::string kAllowed =
    "Sp Gp allowed       5. 0.156 0.326 0.072 0.569        3. 0.152 0.152 0.061 0.059"
    "        2. 0.500 0.500 1.000 1.333";
// Passed DAC dip: the member 3 of the less-than set (a dip) leaves; the outlier stays.
const std::string kDac =
    "Passed DAC dip      4. 0.154 0.576 0.066 0.544        3. 0.152 0.152 0.061 0.059"
    "        1. 1.000 1.000 2.000 2.000";
// Unrejected: outlier and dip both leave: 90, 110 about 100 and 1 about 2.
const std::string kUnrejected =
    "Unrejected          3. 0.104 0.550 0.060 0.700        2. 0.100 0.100 0.050 0.051"
    "        1. 1.000 1.000 2.000 2.000";

std::vector<std::string> ratio_lines(const std::string& ratio, const std::string& nratio,
                                     const std::string& lthresh) {
  return {"", "", blanks(4) + " RATIO OUTPUT SIGMA TO EXTERNAL-SIG1 IS: " + ratio,
          blanks(4) + " CALCULATED FROM " + nratio + " SYMMETRY-EQUIVALENT SETS WITH FSQ > " +
              lthresh + " SIG(FSQ)"};
}

std::vector<std::string> table(std::vector<std::string> rows) {
  std::vector<std::string> lines{"", "", kHeading1, kHeading2};
  lines.insert(lines.end(), rows.begin(), rows.end());
  for (auto& l : ratio_lines("   1.25", "   17", " 2.0")) lines.push_back(l);
  return lines;
}

struct RowCase {
  int IABSENT;
  int IREJMODE;
  std::vector<std::string> rows;
};

TEST(CalcRint, RowsDependOnIabsentAndIrejmode) {
  const std::vector<RowCase> cases{
      {0, 0, {kAll, kInside, kAllowed, kUnrejected}},
      {1, 1, {kAll, kInside, kAllowed, kUnrejected}},
      {2, 2, {kAll, kInside, kAllowed, kDac, kUnrejected}},
      {2, 3, {kAll, kInside, kAllowed, kDac, kUnrejected}},
      {3, 1, {kAll, kInside, kUnrejected}},
      {3, 3, {kAll, kInside, kDac, kUnrejected}},
  };
  for (const RowCase& c : cases) {
    MemoryRun run;
    fill_table_sets(run.rs.refl);
    run.rs.ctl.IABSENT = c.IABSENT;
    run.rs.ctl.IREJMODE = c.IREJMODE;
    run.rs.res.RATIO = 1.25f;
    run.rs.res.NRATIO = 17;
    CALC_RINT(run.rs);
    EXPECT_EQ(run.print_lines(), table(c.rows))
        << "IABSENT " << c.IABSENT << " IREJMODE " << c.IREJMODE;
  }
}

TEST(CalcRint, KeepsAllReflectionsValuesForTheCif) {
  MemoryRun run;
  fill_table_sets(run.rs.refl);
  CALC_RINT(run.rs);
  EXPECT_FLOAT_EQ(run.rs.res.RINT_ALL, 72.0f / 454.0f);
  EXPECT_FLOAT_EQ(run.rs.res.RSIG_ALL, 34.0f / 454.0f);
  EXPECT_TRUE(run.rs.res.rint_known);
}

TEST(CalcRint, OnlySingletsGiveZeroRows) {
  MemoryRun run;
  add_set(run.rs.refl, SetSpec{{1, 0, 0}, {{7, 1}}, 7, 0, 1});
  add_set(run.rs.refl, SetSpec{{2, 0, 0}, {{1, 1, 0, 0}}, 1, 0, 0});
  run.rs.ctl.IABSENT = 2;
  run.rs.ctl.IREJMODE = 1;
  run.rs.res.RATIO = 0.0f;
  run.rs.res.NRATIO = 0;
  run.rs.ctl.LTHRESH = 3.0f;
  CALC_RINT(run.rs);
  const std::string zeros = "     0. 0.000 0.000 0.000 0.000";
  const std::string tail = zeros + "   " + zeros + "   " + zeros;
  std::vector<std::string> expected{"", "", kHeading1, kHeading2, "All Reflections" + tail,
                                    "Inside 2theta  " + tail, "Sp Gp allowed  " + tail,
                                    "Unrejected     " + tail};
  for (auto& l : ratio_lines("   0.00", "    0", " 3.0")) expected.push_back(l);
  EXPECT_EQ(run.print_lines(), expected);
  EXPECT_EQ(run.rs.res.RINT_ALL, 0.0f);
  // No pairs: the CIF's R values cannot be formed ("?", not 0).
  EXPECT_FALSE(run.rs.res.rint_known);
}

TEST(CalcRint, SetReducedToOneMemberStillEntersTheTable) {
  MemoryRun run;
  // NAVE = 1 after a DAC dip, but NEQ = 2: rows 1-3 take both members, row 5 one.
  add_set(run.rs.refl, SetSpec{{1, 0, 0}, {{20, 1}, {4, 1, 1, 0}}, 20, 0, 1});
  run.rs.ctl.IABSENT = 2;
  run.rs.ctl.IREJMODE = 3;
  CALC_RINT(run.rs);
  const auto lines = run.print_lines();
  ASSERT_GE(lines.size(), 9u);
  // |20-20| + |4-20| = 16 over 24; sigma 2 over 24; sigma/I 1/20 + 1/4 over 2.
  EXPECT_EQ(lines[4].substr(0, 46), "All Reflections     2. 0.667 0.667 0.083 0.150");
  EXPECT_EQ(lines[7].substr(0, 46), "Passed DAC dip      1. 0.000 0.000 0.050 0.050");
  EXPECT_EQ(lines[8].substr(0, 46), "Unrejected          1. 0.000 0.000 0.050 0.050");
}

TEST(CalcRint, ZeroSumPassPrintsZeroNotAsterisks) {
  MemoryRun run;
  add_set(run.rs.refl, SetSpec{{1, 0, 0}, {{-5, 2}, {5, 2}}, 0, 0, 0});
  run.rs.ctl.IABSENT = 3;
  CALC_RINT(run.rs);
  const auto lines = run.print_lines();
  ASSERT_GE(lines.size(), 5u);
  // RINT and RSIG 0 (sum of intensities 0); RSIG2 = (2/-5 + 2/5)/2 = 0.
  EXPECT_EQ(lines[4], "All Reflections     2. 0.000 0.000 0.000 0.000        0. 0.000 0.000 "
                      "0.000 0.000        2. 0.000 0.000 0.000 0.000");
}

// Every cell of the table, bit for bit, against a RINT_SUMS pass of its own over the sets and
// members it takes in: sets of every class and size (some with one member), members of every
// mark, intensities near zero (no sigma ratio), zero sigmas and cancelling intensities; rows
// of every rule, repeated and in orders that let a row share the sums of the row before it for
// a while.
TEST(CalcRint, EveryCellIsItsOwnPassBitForBit) {
  std::mt19937 rng(20261209);
  run::ReflectionList refl;
  std::uniform_int_distribution<int> size(1, 14), iabs(0, 3), mark(0, 9), pick(0, 5);
  std::uniform_real_distribution<float> value(-50.0f, 3000.0f), sigma(0.0f, 40.0f);
  for (int i = 0; i < 3000; ++i) {
    SetSpec set;
    set.hkl = {i % 40, i / 40, 1};
    set.IABS = i < 1500 ? 0 : iabs(rng);  // none outside the limits for a while
    set.IGT = pick(rng) < 4 ? 1 : 0;
    const int n = size(rng);
    float sum = 0.0f;
    for (int j = 0; j < n; ++j) {
      testing::MemberSpec m;
      const int kind = pick(rng);
      m.FSQ = kind == 0 ? 0.0005f * static_cast<float>(pick(rng) - 2) : value(rng);
      m.SIGFSQ = kind == 1 ? 0.0f : sigma(rng);
      const int r = mark(rng);
      m.IREJ = r == 0 ? 1 : r == 1 ? 2 : 0;
      sum += m.FSQ;
      set.members.push_back(m);
    }
    set.FAVE = sum / static_cast<float>(n);
    add_set(refl, set);
  }
  const std::vector<RowRule> rows = {
      {SetRule::all, MemberRule::all},           {SetRule::inside_2theta, MemberRule::all},
      {SetRule::allowed, MemberRule::all},       {SetRule::allowed, MemberRule::not_dac_dip},
      {SetRule::allowed, MemberRule::accepted},  {SetRule::all, MemberRule::accepted},
      {SetRule::allowed, MemberRule::accepted},  {SetRule::inside_2theta, MemberRule::not_dac_dip}};
  const auto sums = rint_table_sums(refl, rows);
  auto set_in = [](const run::EquivSet& set, SetRule rule, int column) {
    if (set.NEQ < 2) return false;
    if (rule == SetRule::inside_2theta && set.IABS != 0 && set.IABS != 1) return false;
    if (rule == SetRule::allowed && set.IABS != 0) return false;
    return column == 0 || (column == 1) == (set.IGT == 1);
  };
  auto member_in = [](const run::Member& m, MemberRule rule) {
    return rule == MemberRule::all || (rule == MemberRule::not_dac_dip ? m.IREJ != 1 : m.IREJ == 0);
  };
  auto bits = [](float x) { return std::bit_cast<std::uint32_t>(x); };
  ASSERT_EQ(sums.size(), rows.size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (int c = 0; c < 3; ++c) {
      RintSums acc;
      RINT_SUMS(acc, refl, RINT_CLEAR);
      for (int i = 1; i <= refl.NSET(); ++i) {
        const run::EquivSet& set = refl.sets[static_cast<std::size_t>(i - 1)];
        if (!set_in(set, rows[r].sets, c)) continue;
        RINT_SUMS(acc, refl, RINT_START_SET);
        for (int j = 1; j <= set.NEQ; ++j) {
          if (member_in(refl.member(set, j), rows[r].members)) {
            RINT_SUMS(acc, refl, RINT_ADD_MEMBER, i, j);
          }
        }
        RINT_SUMS(acc, refl, RINT_END_SET);
      }
      RINT_SUMS(acc, refl, RINT_FINISH);
      const RintSums& got = sums[r][static_cast<std::size_t>(c)];
      const std::string cell = "row " + std::to_string(r) + " column " + std::to_string(c);
      EXPECT_EQ(got.NREF, acc.NREF) << cell;
      EXPECT_EQ(got.NS, acc.NS) << cell;
      for (auto [x, y] : {std::pair{got.SUMD, acc.SUMD}, {got.SUMI, acc.SUMI},
                          {got.SUMS, acc.SUMS}, {got.SUMRS, acc.SUMRS}, {got.RINT2, acc.RINT2},
                          {got.RINT, acc.RINT}, {got.RSIG, acc.RSIG}, {got.RSIG2, acc.RSIG2}}) {
        EXPECT_EQ(bits(x), bits(y)) << cell;
      }
    }
  }
}

}  // namespace
}  // namespace vorlane::averaging
