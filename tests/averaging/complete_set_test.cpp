#include "averaging/complete_set.hpp"

#include <gtest/gtest.h>

#include <map>

#include "averaging/coverage_groups.hpp"

namespace vorlane::averaging {
namespace {

// Every space group at three limits against gemmi (tests/data/coverage, made by
// tools/gemmi/coverage_reference.py): the complete set in the Laue grouping has as many
// reflections as gemmi.count_reflections, in the point-group grouping as many as the
// point-group orbits; each reflection is its orbit's chosen member, allowed, within the limit,
// and centric exactly when its Friedel mate is one of its point-group images.
TEST(CompleteSet, EverySpaceGroupInBothGroupingsAgreesWithGemmi) {
  const auto groups = testing::read_space_groups();
  const auto counts = testing::read_counts();
  std::map<int, const testing::GroupRow*> by_number;
  for (const auto& g : groups) by_number[g.number] = &g;
  int checked = 0;
  for (const testing::CountRow& c : counts) {
    const testing::GroupRow& g = *by_number.at(c.number);
    expfile::RunControls ctl;
    symmetry::CellTable ct;
    testing::set_cell(ctl, ct, g.cell, c.wave);
    ctl.IABSENT = 2;
    const symmetry::SpaceGroup sg = testing::group_from_ops(g);
    const ResolutionRange range = resolution_range(c.wave, 0.0f, c.tth);
    const CompleteSet laue = complete_set(ctl, sg, ct, range, Grouping::laue);
    const CompleteSet pg = complete_set(ctl, sg, ct, range, Grouping::point_group);
    ASSERT_TRUE(laue.known && pg.known);
    EXPECT_EQ(static_cast<int>(laue.reflections.size()), c.friedel_merged) << g.name;
    EXPECT_EQ(static_cast<int>(pg.reflections.size()), c.point_group) << g.name;
    const ReflectionGrouping orbits(sg, Grouping::point_group);
    for (const UniqueReflection& u : pg.reflections) {
      ASSERT_EQ(orbits.canonical(u.hkl), u.hkl);
      ASSERT_FALSE(systematically_absent(ctl, sg, u.hkl));
      ASSERT_LE(u.inv_d, range.inv_d_max);
      const std::array<int, 3> mate{-u.hkl[0], -u.hkl[1], -u.hkl[2]};
      ASSERT_EQ(u.centric, orbits.canonical(mate) == u.hkl) << g.name;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 690);
}

// A lower bound (2THETA MIN) leaves out the reflections below it; with a LAUE card (IABSENT
// 3) nothing is an absence.
TEST(CompleteSet, LowerBoundAndNoAbsencesWithoutSymmetryInformation) {
  expfile::RunControls ctl;
  symmetry::CellTable ct;
  testing::set_cell(ctl, ct, {10, 10, 10, 90, 90, 90}, 1.0f);
  testing::GroupRow g;
  g.ops = {{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, {-1, 0, 0, 0, 1, 0, 0, 0, -1, 0, 12, 0}};
  g.centring = {{0, 0, 0}};
  const symmetry::SpaceGroup sg = testing::group_from_ops(g);
  // 1/d <= 0.2 in a = 10: h2+k2+l2 <= 4, 32 reflections; 1/d >= 0.15: h2+k2+l2 >= 2.25,
  // leaving norms 3 and 4: 8 + 6 = 14.
  const float tth_max = 2.0f * std::asin(0.5f * 0.2f * 1.00001f) * 57.29578f;
  const float tth_min = 2.0f * std::asin(0.5f * 0.15f) * 57.29578f;
  ctl.IABSENT = 3;
  EXPECT_EQ(complete_set(ctl, sg, ct, resolution_range(1.0f, 0.0f, tth_max), Grouping::point_group)
                .reflections.size(),
            32u / 2 + 2u);  // orbits of 2 (b axis): pairs, and (0,k,0) alone: 2 + 30/2
  ctl.IABSENT = 2;  // (0,+-1,0) absent under the screw axis
  EXPECT_EQ(complete_set(ctl, sg, ct, resolution_range(1.0f, 0.0f, tth_max), Grouping::point_group)
                .reflections.size(),
            16u);
  EXPECT_EQ(complete_set(ctl, sg, ct, resolution_range(1.0f, tth_min, tth_max),
                         Grouping::point_group)
                .reflections.size(),
            14u / 2 + 1u);  // norm 3: 8 in pairs; norm 4: (+-2,0,0),(0,0,+-2) pairs, (0,+-2,0) alone
}

}  // namespace
}  // namespace vorlane::averaging
