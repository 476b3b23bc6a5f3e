// The space-group frequencies of the prior against what their source states about them: the
// table adds up to 100 %, to 78.2 % over the centrosymmetric groups (631 404 of the 807 190
// structures) and to 16.4 % over the Sohncke groups (132 700), the CCDC's own totals printed
// with the table; its seven most frequent groups are those of the CCDC's rankings of 2016
// and 2025 alike. Centrosymmetry and handedness are worked out here from gemmi's operators.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include <gemmi/symmetry.hpp>

#include "symmetry_analysis/space_group_prior.hpp"

namespace vorlane::symmetry_analysis {
namespace {

int determinant(const gemmi::Op::Rot& r) {
  const int d = gemmi::Op::DEN;
  return (r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) -
          r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) +
          r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0])) /
         (d * d * d);
}

TEST(SpaceGroupPrior, TableAgreesWithItsSourcesTotals) {
  double all = 0.0, centric = 0.0, sohncke = 0.0;
  for (int n = 1; n <= 230; ++n) {
    const double p = csd_space_group_percent(n);
    EXPECT_GT(p, 0.0) << n;
    all += p;
    bool inversion = false, proper = true;
    for (const gemmi::Op& op : gemmi::get_spacegroup_reference_setting(n).operations().sym_ops) {
      inversion = inversion || op.rot == gemmi::Op::identity().negated_rot();
      proper = proper && determinant(op.rot) == 1;
    }
    if (inversion) centric += p;
    if (proper) sohncke += p;
  }
  // Each figure is rounded to four decimals: a sum of up to 230 of them within 0.012.
  EXPECT_NEAR(all, 100.0, 0.012);
  EXPECT_NEAR(centric, 100.0 * 631404 / 807190, 0.012);
  EXPECT_NEAR(sohncke, 100.0 * 132700 / 807190, 0.012);

  std::vector<int> order(230);
  std::iota(order.begin(), order.end(), 1);
  std::stable_sort(order.begin(), order.end(), [](int a, int b) {
    return csd_space_group_percent(a) > csd_space_group_percent(b);
  });
  EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 7),
            (std::vector<int>{14, 2, 15, 19, 4, 61, 33}));

  // Every setting gemmi knows has its group's weight, at least the floor.
  for (const gemmi::SpaceGroup& sg : gemmi::spacegroup_tables::main) {
    EXPECT_EQ(space_group_prior(sg.number),
              std::max(csd_space_group_percent(sg.number), 0.01) / 100.0) << sg.xhm();
  }
  EXPECT_EQ(csd_space_group_percent(0), 0.0);
  EXPECT_EQ(csd_space_group_percent(231), 0.0);
}

}  // namespace
}  // namespace vorlane::symmetry_analysis
