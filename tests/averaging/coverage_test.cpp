#include "averaging/coverage.hpp"
#include "averaging/complete_set.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "averaging/coverage_groups.hpp"
#include "symmetry/absences.hpp"
#include "symmetry/asind.hpp"
#include "symmetry/vctmod.hpp"

namespace vorlane::averaging {
namespace {

using testing::CountRow;
using testing::GroupRow;

float tth_for_d(float wave, float d) {
  return 2.0f * std::asin(wave / (2.0f * d)) * 57.29578f;
}

struct CoverageCase {
  expfile::RunControls ctl;
  symmetry::SpaceGroup sg;
  symmetry::CellTable ct;
};

// Cubic a = 10, wavelength 1, a limit a little below d = 5: h^2 + k^2 + l^2 <= 4, that is
// 6 + 12 + 8 + 6 = 32 reflections.
CoverageCase small_cubic(const std::vector<std::array<int, 12>>& extra_ops, bool half_space) {
  CoverageCase s;
  testing::set_cell(s.ctl, s.ct, {10, 10, 10, 90, 90, 90}, 1.0f);
  testing::GroupRow g;
  g.ops = {{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}};
  g.ops.insert(g.ops.end(), extra_ops.begin(), extra_ops.end());
  g.centring = {{0, 0, 0}};
  if (half_space) g.planes = {{0, 0, 1, 0}};
  s.sg = testing::group_from_ops(g);
  return s;
}

constexpr std::array<int, 12> kInversion{-1, 0, 0, 0, -1, 0, 0, 0, -1, 0, 0, 0};
// -X,Y+1/2,-Z: the two-fold screw axis along b.
constexpr std::array<int, 12> kScrewB{-1, 0, 0, 0, 1, 0, 0, 0, -1, 0, 12, 0};

TEST(Coverage, NoCellOrNoAngleGivesZero) {
  CoverageCase s = small_cubic({}, false);
  const float tth = tth_for_d(1.0f, 4.9f);
  EXPECT_EQ(COVERAGE(s.ctl, s.sg, s.ct, tth), 32);
  EXPECT_EQ(COVERAGE(s.ctl, s.sg, s.ct, 0.0f), 0);
  EXPECT_EQ(COVERAGE(s.ctl, s.sg, s.ct, 0.0009f), 0);
  s.ctl.ICELL = 0;
  EXPECT_EQ(COVERAGE(s.ctl, s.sg, s.ct, tth), 0);
}

TEST(Coverage, HalfSpaceInP1WorkedByHand) {
  const float tth = tth_for_d(1.0f, 4.9f);
  // l > 0: (001), four of (h0 1)/(0k1), four (hk1) with h,k = +-1, (002): 10 inside.
  // l = 0: 4 + 4 + 0 + 4 = 12 on the boundary, six Friedel pairs.
  CoverageCase p1 = small_cubic({}, true);
  // Friedel mates merged: the boundary pairs count once.
  EXPECT_EQ(COVERAGE(p1.ctl, p1.sg, p1.ct, tth), 16);
  // Kept apart (FRIEDEL NOFLIP): every reflection of P1 is a set of its own.
  p1.ctl.INOFLIP = 1;
  EXPECT_EQ(COVERAGE(p1.ctl, p1.sg, p1.ct, tth), 32);
  // P-1: the inversion is an operator; both modes give the 16 orbits.
  CoverageCase pm1 = small_cubic({kInversion}, true);
  EXPECT_EQ(pm1.sg.ICENTRIC, 2);
  EXPECT_EQ(COVERAGE(pm1.ctl, pm1.sg, pm1.ct, tth), 16);
  pm1.ctl.INOFLIP = 1;
  EXPECT_EQ(COVERAGE(pm1.ctl, pm1.sg, pm1.ct, tth), 16);
}

TEST(Coverage, NoAsymmetricUnitCountsEveryReflection) {
  // Without planes every reflection is its own set, whatever the operators.
  CoverageCase s = small_cubic({kScrewB}, false);
  const float tth = tth_for_d(1.0f, 4.9f);
  // The screw axis removes (0 +-1 0): 30 left.
  EXPECT_EQ(COVERAGE(s.ctl, s.sg, s.ct, tth), 30);
  s.ctl.INOFLIP = 1;
  EXPECT_EQ(COVERAGE(s.ctl, s.sg, s.ct, tth), 30);
}

TEST(Coverage, BoundaryListGrowsAndAnAbsurdCellIsRefused) {
  // P1 with l >= 0 in a cubic cell of 40 A: the plane l = 0 holds about pi*30^2 reflections
  // out to 1/d = 0.75, more than a list of fixed length held. The count equals the orbits of
  // the complete set in the Laue grouping (found without the asymmetric unit).
  CoverageCase s;
  testing::set_cell(s.ctl, s.ct, {40, 40, 40, 90, 90, 90}, 2.0f);
  testing::GroupRow g;
  g.ops = {{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}};
  g.centring = {{0, 0, 0}};
  g.planes = {{0, 0, 1, 0}};
  s.sg = testing::group_from_ops(g);
  const float tth = tth_for_d(2.0f, 1.0f / 0.75f);
  const CompleteSet laue =
      complete_set(s.ctl, s.sg, s.ct, resolution_range(2.0f, 0.0f, tth), Grouping::laue);
  ASSERT_TRUE(laue.known);
  EXPECT_GT(laue.reflections.size(), 50000u);
  EXPECT_EQ(COVERAGE(s.ctl, s.sg, s.ct, tth), static_cast<int>(laue.reflections.size()));
  // CELL 1E12 10 10: no integer overflow, no endless enumeration; the count is refused.
  CoverageCase absurd;
  testing::set_cell(absurd.ctl, absurd.ct, {1e12f, 10, 10, 90, 90, 90}, 0.71073f);
  absurd.sg = s.sg;
  EXPECT_EQ(COVERAGE(absurd.ctl, absurd.sg, absurd.ct, 50.0f), 0);
  EXPECT_FALSE(complete_set(absurd.ctl, absurd.sg, absurd.ct,
                            resolution_range(0.71073f, 0.0f, 50.0f), Grouping::laue)
                   .known);
}

// Every space group with the planes of its Laue class, against gemmi: unique reflections with
// Friedel mates merged (the default) and point-group orbits (FRIEDEL NOFLIP).
TEST(Coverage, AllSpaceGroupsAgreeWithGemmi) {
  const auto groups = testing::read_space_groups();
  const auto counts = testing::read_counts();
  ASSERT_EQ(groups.size(), 230u);
  std::map<int, const GroupRow*> by_number;
  for (const auto& g : groups) by_number[g.number] = &g;
  int checked = 0;
  for (const CountRow& c : counts) {
    const GroupRow& g = *by_number.at(c.number);
    CoverageCase s;
    testing::set_cell(s.ctl, s.ct, g.cell, c.wave);
    s.sg = testing::group_from_ops(g);
    s.ctl.INOFLIP = 0;
    EXPECT_EQ(COVERAGE(s.ctl, s.sg, s.ct, c.tth), c.friedel_merged)
        << g.name << " (" << g.number << ") 2theta " << c.tth << " Friedel mates merged";
    s.ctl.INOFLIP = 1;
    EXPECT_EQ(COVERAGE(s.ctl, s.sg, s.ct, c.tth), c.point_group)
        << g.name << " (" << g.number << ") 2theta " << c.tth << " Friedel mates apart";
    ++checked;
  }
  EXPECT_EQ(checked, 690);
}

TEST(Coverage, LaueClassesAgreeWithGemmi) {
  const auto rows = testing::read_laue_classes();
  ASSERT_EQ(rows.size(), 36u);
  for (const auto& r : rows) {
    CoverageCase s;
    testing::set_cell(s.ctl, s.ct, r.cell, r.wave);
    s.sg = testing::group_from_ops(r.group);
    EXPECT_EQ(s.sg.ICENTRIC, 2);
    EXPECT_EQ(COVERAGE(s.ctl, s.sg, s.ct, r.tth), r.count)
        << "LAUE " << r.symbol << " 2theta " << r.tth << " wave " << r.wave;
  }
}

// The sets the input reader forms from every allowed reflection out to the limit: the
// representative from ASIND, sign-reversed when a reflection reached through its Friedel mate
// stays apart. A complete data set has exactly as many sets as the count allows.
int sets_formed(const CoverageCase& s, float tth) {
  const float d_min = s.ctl.WAVE * 0.5f / std::sin(tth * testing::DEGRAD / 2.0f);
  std::set<std::array<int, 3>> keys;
  std::array<int, 3> lim{};
  for (std::size_t i = 0; i < 3; ++i) lim[i] = static_cast<int>(s.ctl.CELLPAR[i] / d_min) + 1;
  for (int h = -lim[0]; h <= lim[0]; ++h) {
    for (int k = -lim[1]; k <= lim[1]; ++k) {
      for (int l = -lim[2]; l <= lim[2]; ++l) {
        if (h == 0 && k == 0 && l == 0) continue;
        const std::array<float, 3> x{float(h), float(k), float(l)};
        if (1.0f / symmetry::VCTMOD(s.ct, 1.0f, x, 2) < d_min) continue;
        if (symmetry::ISPABS(s.sg, x) + symmetry::LATABS(s.sg, x) != 2) continue;
        std::array<int, 3> rep{};
        int isym = 0;
        symmetry::ASIND(s.sg, {h, k, l}, rep, isym);
        if (isym == 0) return -1;
        if (isym < 0 && s.ctl.INOFLIP == 1) rep = {-rep[0], -rep[1], -rep[2]};
        keys.insert(rep);
      }
    }
  }
  return static_cast<int>(keys.size());
}

TEST(Coverage, CompleteDataSetsFormAsManySetsAsCounted) {
  const auto groups = testing::read_space_groups();
  const auto counts = testing::read_counts();
  std::map<int, const GroupRow*> by_number;
  for (const auto& g : groups) by_number[g.number] = &g;
  for (const CountRow& c : counts) {
    if (c.tth > 50.0f) continue;  // the smallest limit of each group
    const GroupRow& g = *by_number.at(c.number);
    CoverageCase s;
    testing::set_cell(s.ctl, s.ct, g.cell, c.wave);
    s.sg = testing::group_from_ops(g);
    for (int noflip = 0; noflip <= 1; ++noflip) {
      s.ctl.INOFLIP = noflip;
      const int counted = COVERAGE(s.ctl, s.sg, s.ct, c.tth);
      EXPECT_EQ(sets_formed(s, c.tth), counted)
          << g.name << " (" << g.number << ") INOFLIP " << noflip;
    }
  }
}

}  // namespace
}  // namespace vorlane::averaging
