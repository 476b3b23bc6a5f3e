// Every synthetic set (gemmi structure factors of a random structure, noise, multiplicity):
// the group it was made in is first or tied first, with its centring and Laue class; the
// 50 % twin is flagged; records in another order give the same tables.
#include <algorithm>
#include <random>

#include <gemmi/symmetry.hpp>
#include <gtest/gtest.h>

#include "symmetry_analysis/analysis.hpp"
#include "symmetry_analysis/synthetic_data.hpp"
#include "symmetry_analysis/tables_text.hpp"

namespace vorlane::symmetry_analysis {
namespace {

bool first_or_tied_first(const Analysis& a, const std::string& symbol) {
  if (a.space_groups.rows.empty()) return false;
  const SpaceGroupRow& top = a.space_groups.rows.front();
  return top.symbol == symbol ||
         std::find(top.ties.begin(), top.ties.end(), symbol) != top.ties.end();
}

TEST(SyntheticGroups, MadeGroupFirstOrTiedFirst) {
  int groups = 0;
  std::vector<std::string> systems;
  for (const auto& path : test::synthetic_files()) {
    const test::SyntheticSet s = test::read_synthetic(path);
    if (s.name.rfind("twin", 0) == 0) continue;
    const gemmi::SpaceGroup* sg = gemmi::find_spacegroup_by_name(s.title);
    ASSERT_NE(sg, nullptr) << s.title;
    const Analysis a = analyse(s.data, s.crystal, {});
    ASSERT_TRUE(a.determinable) << s.name << ": " << a.reason;
    EXPECT_EQ(a.centring.chosen.substr(0, 1), std::string(1, sg->centring_type())) << s.name;
    EXPECT_TRUE(first_or_tied_first(a, sg->xhm())) << s.name << "\n" << tables_text(a);
    ++groups;
    systems.push_back(sg->crystal_system_str());
  }
  std::sort(systems.begin(), systems.end());
  systems.erase(std::unique(systems.begin(), systems.end()), systems.end());
  EXPECT_GE(groups, 30);
  EXPECT_EQ(systems.size(), 7u);
}

TEST(SyntheticGroups, HalfTwinIsFlagged) {
  const test::SyntheticSet s = test::read_synthetic(std::filesystem::path(VORLANE_TEST_DATA) /
                                                    "symmetry_analysis/synthetic/twin_P4.txt");
  const Analysis a = analyse(s.data, s.crystal, {});
  ASSERT_TRUE(a.determinable) << a.reason;
  EXPECT_TRUE(a.statistics.twinning_suspected) << tables_text(a);
  EXPECT_LT(a.statistics.mean_abs_l, 0.44);
  EXPECT_GE(a.statistics.n_l_pairs, 500);
}

TEST(SyntheticGroups, RecordOrderDoesNotMatter) {
  for (const char* name : {"P121_c1.txt", "Pnma.txt", "Rm3_H.txt"}) {
    const test::SyntheticSet s = test::read_synthetic(
        std::filesystem::path(VORLANE_TEST_DATA) / "symmetry_analysis/synthetic" / name);
    std::vector<Measurement> shuffled = s.data;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    EXPECT_EQ(tables_text(analyse(s.data, s.crystal, {})),
              tables_text(analyse(shuffled, s.crystal, {})))
        << name;
  }
}

}  // namespace
}  // namespace vorlane::symmetry_analysis
