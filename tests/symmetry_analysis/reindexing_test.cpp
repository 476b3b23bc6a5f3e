// Symmetry that the cell as given cannot name: a 4-fold along a and reverse rhombohedral
// indexing are analysed after reindexing, and the group is found in the reindexed setting.
#include <algorithm>

#include <gtest/gtest.h>

#include "symmetry_analysis/analysis.hpp"
#include "symmetry_analysis/synthetic_data.hpp"
#include "symmetry_analysis/tables_text.hpp"

namespace vorlane::symmetry_analysis {
namespace {

test::SyntheticSet synthetic(const char* name) {
  return test::read_synthetic(std::filesystem::path(VORLANE_TEST_DATA) /
                              "symmetry_analysis/synthetic" / name);
}

bool first_or_tied_first(const Analysis& a, const std::string& symbol) {
  const SpaceGroupRow& top = a.space_groups.rows.front();
  return top.symbol == symbol ||
         std::find(top.ties.begin(), top.ties.end(), symbol) != top.ties.end();
}

TEST(Reindexing, FourFoldAlongA) {
  test::SyntheticSet s = synthetic("P41212.txt");
  // The same crystal with its axes turned: a' = c, b' = a, c' = b.
  for (Measurement& m : s.data) m.hkl = {m.hkl[2], m.hkl[0], m.hkl[1]};
  const auto c = s.crystal.cell;
  const Crystal turned{{c[2], c[0], c[1], c[5], c[3], c[4]}, s.crystal.wavelength};
  const Analysis a = analyse(s.data, turned, {});
  ASSERT_TRUE(a.determinable) << a.reason;
  EXPECT_EQ(a.reindexing, "k,l,h");
  EXPECT_DOUBLE_EQ(a.crystal.cell[0], c[0]);
  EXPECT_DOUBLE_EQ(a.crystal.cell[2], c[2]);
  EXPECT_EQ(a.laue.front().candidate.symbol, "4/mmm");
  EXPECT_TRUE(first_or_tied_first(a, "P 41 21 2")) << tables_text(a);
  EXPECT_NE(suggestion_line(a).find("after reindexing k,l,h"), std::string::npos);
}

TEST(Reindexing, ReverseRhombohedral) {
  test::SyntheticSet s = synthetic("R3c_H.txt");
  for (Measurement& m : s.data) m.hkl = {-m.hkl[0], -m.hkl[1], m.hkl[2]};
  const Analysis a = analyse(s.data, s.crystal, {});
  ASSERT_TRUE(a.determinable) << a.reason;
  EXPECT_EQ(a.reindexing, "-h,-k,l");
  EXPECT_EQ(a.centring.chosen, "R(obv)");
  EXPECT_TRUE(first_or_tied_first(a, "R 3 c:H")) << tables_text(a);
}

}  // namespace
}  // namespace vorlane::symmetry_analysis
