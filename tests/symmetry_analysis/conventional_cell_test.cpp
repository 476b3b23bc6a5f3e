// A primitive (Niggli-reduced) cell of a centred lattice: the conventional cell is found, the
// data are analysed on it after reindexing, and a cell that only fits a higher lattice keeps
// its axes. The Niggli cells and the changes of basis to them are cctbx's
// (tools/cctbx/make_primitive_sets.py), independent of the search under test.
#include <algorithm>
#include <cmath>

#include <gemmi/symmetry.hpp>
#include <gemmi/unitcell.hpp>
#include <gtest/gtest.h>

#include "symmetry_analysis/analysis.hpp"
#include "symmetry_analysis/conventional_cell.hpp"
#include "symmetry_analysis/synthetic_data.hpp"
#include "symmetry_analysis/tables_text.hpp"

namespace vorlane::symmetry_analysis {
namespace {

int multiplicity(char letter) { return letter == 'F' ? 4 : letter == 'R' ? 3 : letter == 'P' ? 1 : 2; }

// Edges and angles each sorted: the same lattice in another choice of equivalent axes.
void expect_same_cell(const std::array<double, 6>& got, const std::array<double, 6>& want,
                      const std::string& what) {
  std::array<double, 3> ge{got[0], got[1], got[2]}, we{want[0], want[1], want[2]};
  std::array<double, 3> ga{got[3], got[4], got[5]}, wa{want[3], want[4], want[5]};
  for (auto* v : {&ge, &we, &ga, &wa}) std::sort(v->begin(), v->end());
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(ge[i], we[i], 2e-3 * we[i]) << what;
    EXPECT_NEAR(ga[i], wa[i], 0.01) << what;
  }
}

TEST(ConventionalCell, EveryCentredBravaisType) {
  struct Row {
    const char* kind;
    char letter;
    std::array<double, 6> niggli, conventional;
  };
  // cctbx's Niggli cell of each conventional cell.
  const Row rows[] = {
      {"mC", 'C', {5.533986, 5.533986, 10.400000, 78.120124, 78.120124, 69.390307}, {9.1, 6.3, 10.4, 90, 104.5, 90}},
      {"oC", 'C', {5.200000, 6.219526, 14.100000, 90.000000, 90.000000, 114.710799}, {5.2, 11.3, 14.1, 90, 90, 90}},
      {"oI", 'I', {5.200000, 9.401330, 9.401330, 73.880065, 73.945200, 73.945200}, {5.2, 11.3, 14.1, 90, 90, 90}},
      {"oF", 'F', {5.200000, 6.219526, 7.514153, 81.683163, 69.756312, 65.289201}, {5.2, 11.3, 14.1, 90, 90, 90}},
      {"tI", 'I', {5.200000, 5.200000, 7.294518, 110.881235, 110.881235, 90.000000}, {5.2, 5.2, 12.6, 90, 90, 90}},
      {"hR", 'R', {6.100000, 6.100000, 6.757054, 63.167733, 63.167733, 60.000000}, {6.1, 6.1, 17.3, 90, 90, 120}},
      {"cI", 'I', {5.542563, 5.542563, 5.542563, 109.471221, 109.471221, 109.471221}, {6.4, 6.4, 6.4, 90, 90, 90}},
      {"cF", 'F', {3.988082, 3.988082, 3.988082, 60.000000, 60.000000, 60.000000}, {5.64, 5.64, 5.64, 90, 90, 90}},
  };
  for (const Row& r : rows) {
    const Crystal primitive{r.niggli, 0.71073};
    const LatticeSymmetry lattice = lattice_symmetry(primitive, 'P', 3.0);
    ASSERT_TRUE(lattice.lattice_beyond_settings) << r.kind;
    const auto found = conventional_setting(primitive, lattice.proper, 3.0);
    ASSERT_TRUE(found.has_value()) << r.kind;
    EXPECT_EQ(found->centring[0], r.letter) << r.kind;
    EXPECT_EQ(determinant(found->matrix), multiplicity(r.letter)) << r.kind;
    const Crystal conventional = reindexed_crystal(primitive, found->matrix);
    expect_same_cell(conventional.cell, r.conventional, r.kind);
    // In the new cell the whole lattice symmetry is a setting of the table.
    EXPECT_FALSE(lattice_symmetry(conventional, r.letter, 3.0).lattice_beyond_settings) << r.kind;
  }
}

TEST(ConventionalCell, ChoiceAmongEquivalentCells) {
  // cctbx's Niggli cell of C 1 2/c 1 (5.1875 9.0047 20.0217, beta 95.752): the C cell, not the
  // I cell of the same lattice, with its unique axis b and beta obtuse.
  const Crystal primitive{{5.18750, 5.19603, 20.02170, 87.1323, 84.2480, 60.0543}, 0.56086};
  const LatticeSymmetry lattice = lattice_symmetry(primitive, 'P', 3.0);
  // Only the monoclinic 2-fold of this pseudo-orthorhombic lattice: the data show no more.
  std::vector<Rot> two_fold{IDENTITY};
  for (const Rot& r : lattice.proper)
    if (r != IDENTITY && rotation_axis(r) == std::array<int, 3>{1, -2, 0}) two_fold.push_back(r);
  ASSERT_EQ(two_fold.size(), 2u);
  const auto found = conventional_setting(primitive, two_fold, 3.0);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->centring, "C");
  const Crystal c = reindexed_crystal(primitive, found->matrix);
  EXPECT_NEAR(c.cell[0], 5.1875, 1e-3);
  EXPECT_NEAR(c.cell[1], 9.0047, 1e-3);
  EXPECT_NEAR(c.cell[2], 20.0217, 1e-3);
  EXPECT_NEAR(c.cell[3], 90.0, 1e-3);
  EXPECT_NEAR(c.cell[4], 95.752, 1e-2);
  EXPECT_NEAR(c.cell[5], 90.0, 1e-3);
  // The same answer for the same cell, whatever else: the choice is fixed.
  EXPECT_EQ(conventional_setting(primitive, two_fold, 3.0)->matrix, found->matrix);
}

TEST(ConventionalCell, ReindexingTextAndCell) {
  struct Row {
    Rot m;
    const char* text;
  };
  const Row rows[] = {
      {IDENTITY, "h,k,l"},
      {{0, 1, 0, 0, 0, 1, 1, 0, 0}, "k,l,h"},
      {{-1, 0, 0, 0, -1, 0, 0, 0, 1}, "-h,-k,l"},
      {{1, 0, 0, 1, -2, 0, 0, 0, -1}, "h,h-2k,-l"},
      {{1, 1, -1, -1, 1, 1, 1, -1, 1}, "h+k-l,-h+k+l,h-k+l"},
      {{0, 0, 3, 2, 0, 0, 0, 0, 0}, "3l,2h,0"},
  };
  for (const Row& r : rows) EXPECT_EQ(reindexing_text(r.m), r.text);

  // A signed permutation keeps the numbers exactly; turning two axes over turns the angle
  // between them and the third to its supplement.
  const Crystal given{{5.1, 6.2, 7.3, 81.5, 97.25, 103.125}, 1.0};
  EXPECT_EQ(reindexed_crystal(given, {0, 1, 0, 0, 0, 1, 1, 0, 0}).cell,
            (std::array<double, 6>{6.2, 7.3, 5.1, 97.25, 103.125, 81.5}));
  EXPECT_EQ(reindexed_crystal(given, {-1, 0, 0, 0, -1, 0, 0, 0, 1}).cell,
            (std::array<double, 6>{5.1, 6.2, 7.3, 180.0 - 81.5, 180.0 - 97.25, 103.125}));
  // a' = a + b, b' = -a + b on a square net: a centred rectangle of edges a sqrt(2).
  const Crystal square{{4.0, 4.0, 9.0, 90.0, 90.0, 90.0}, 1.0};
  const Crystal turned = reindexed_crystal(square, {1, 1, 0, -1, 1, 0, 0, 0, 1});
  EXPECT_NEAR(turned.cell[0], 4.0 * std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(turned.cell[1], 4.0 * std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(turned.cell[5], 90.0, 1e-9);
  EXPECT_EQ(reindexed({1, 2, 3}, {1, 1, 0, -1, 1, 0, 0, 0, 1}), (Hkl{3, 1, 3}));
}

test::SyntheticSet synthetic(const char* name) {
  return test::read_synthetic(std::filesystem::path(VORLANE_TEST_DATA) /
                              "symmetry_analysis/synthetic" / name);
}

bool first_or_tied_first(const Analysis& a, int number) {
  const SpaceGroupRow& top = a.space_groups.rows.front();
  if (top.number == number) return true;
  return std::any_of(top.ties.begin(), top.ties.end(), [&](const std::string& t) {
    const gemmi::SpaceGroup* g = gemmi::find_spacegroup_by_name(t);
    return g != nullptr && g->number == number;
  });
}

TEST(ConventionalCell, SyntheticCentredGroupsOnTheirNiggliCells) {
  struct Row {
    const char* file;
    const char* group;
    Rot six_q;  // h on the Niggli cell = six_q h / 6 (cctbx's change of basis)
    std::array<double, 6> niggli;
    char letter;  // the centring of the conventional cell chosen
  };
  const Row rows[] = {
      {"C12_c1.txt", "C 1 2/c 1", {-3, -3, 0, -3, 3, 0, 0, 0, -6}, {5.943893, 5.943893, 10.530700, 101.839973, 101.839973, 97.981984}, 'C'},
      {"I12_a1.txt", "I 1 2/a 1", {-3, 3, -3, -3, -3, -3, -6, 0, 0}, {6.967335, 6.967335, 7.695100, 71.750407, 71.750407, 78.849392}, 'C'},
      {"Cmc21.txt", "C m c 21", {3, 3, 0, 3, -3, 0, 0, 0, -6}, {5.831734, 5.831734, 10.826800, 90.000000, 90.000000, 100.388480}, 'C'},
      {"Fdd2.txt", "F d d 2", {3, 3, 0, 3, -3, 0, -3, 0, -3}, {5.738901, 5.738901, 6.471283, 111.312363, 111.312363, 100.388986}, 'F'},
      {"I4_mmm.txt", "I 4/m m m", {3, 3, -3, -3, 3, 3, 3, -3, 3}, {8.937905, 8.937905, 8.937905, 97.053651, 116.014631, 116.014631}, 'I'},
      {"I41_a_2.txt", "I 41/a:2", {3, 3, -3, -3, 3, 3, 3, -3, 3}, {8.534452, 8.534452, 8.534452, 97.053754, 116.014574, 116.014574}, 'I'},
      {"Fmm3m.txt", "F m -3 m", {0, 3, 3, 3, 0, 3, 3, 3, 0}, {7.776831, 7.776831, 7.776831, 60.000000, 60.000000, 60.000000}, 'F'},
      {"Iam3.txt", "I a -3", {-3, 3, 3, 3, -3, 3, 3, 3, -3}, {9.257465, 9.257465, 9.257465, 109.471221, 109.471221, 109.471221}, 'I'},
      {"Im43d.txt", "I -4 3 d", {-3, 3, 3, 3, -3, 3, 3, 3, -3}, {8.769200, 8.769200, 8.769200, 109.471221, 109.471221, 109.471221}, 'I'},
      {"R3c_H.txt", "R 3 c:H", {4, 2, 2, -2, 2, 2, -2, -4, 2}, {6.059139, 6.059139, 6.059139, 86.667091, 86.667091, 86.667091}, 'R'},
      {"Rm3_H.txt", "R -3:H", {4, 2, 2, -2, 2, 2, -2, -4, 2}, {6.848436, 6.848436, 6.848436, 86.667078, 86.667078, 86.667078}, 'R'},
  };
  for (const Row& r : rows) {
    const test::SyntheticSet s = synthetic(r.file);
    // The synthetic sets hold the reflections the centring forbids too (as zero plus noise):
    // those have no integral indices on the primitive cell and are left out, and only those.
    const std::string centring = r.group[0] == 'R' ? "R(obv)" : std::string(1, r.group[0]);
    std::vector<Measurement> primitive;
    for (const Measurement& m : s.data) {
      const Hkl six = reindexed(m.hkl, r.six_q);
      const bool integral = six[0] % 6 == 0 && six[1] % 6 == 0 && six[2] % 6 == 0;
      ASSERT_EQ(integral, !centring_forbids(centring, m.hkl)) << r.file;
      if (integral) primitive.push_back({{six[0] / 6, six[1] / 6, six[2] / 6}, m.intensity, m.sigma});
    }
    const Analysis a = analyse(primitive, {r.niggli, s.crystal.wavelength}, {});
    ASSERT_TRUE(a.determinable) << r.file << ": " << a.reason;
    EXPECT_FALSE(a.reindexing.empty()) << r.file;
    EXPECT_EQ(a.centring.chosen[0], r.letter) << r.file;
    EXPECT_EQ(determinant(a.reindexing_matrix), multiplicity(r.letter)) << r.file;
    EXPECT_EQ(a.crystal_as_given.cell, r.niggli) << r.file;
    // The conventional cell is the lattice the data were made on: the same volume, and the
    // same cell where the chosen centring is the group's own.
    const gemmi::UnitCell before(s.crystal.cell), after(a.crystal.cell);
    EXPECT_NEAR(after.volume, before.volume, 1e-6 * before.volume) << r.file;
    if (r.letter == r.group[0]) expect_same_cell(a.crystal.cell, s.crystal.cell, r.file);
    EXPECT_TRUE(first_or_tied_first(a, gemmi::find_spacegroup_by_name(r.group)->number))
        << r.file << "\n" << tables_text(a);
    EXPECT_NE(suggestion_line(a).find("after reindexing " + a.reindexing), std::string::npos);
    EXPECT_NE(tables_text(a).find("Cell as given"), std::string::npos);
  }
}

TEST(ConventionalCell, FourFoldAlongAPrimitiveAxis) {
  // I 4/m m m on the primitive cell a' = c, b' = a, c' = (a + b + c) / 2: the 4-fold lies along
  // a', so the axes are first turned to bring it along c and then centred.
  const test::SyntheticSet s = synthetic("I4_mmm.txt");
  const double a = s.crystal.cell[0], c = s.crystal.cell[2];
  const double cp = 0.5 * std::sqrt(2.0 * a * a + c * c);
  const double deg = 180.0 / std::acos(-1.0);
  const Crystal primitive{{c, a, cp, std::acos(a / (2.0 * cp)) * deg,
                           std::acos(c / (2.0 * cp)) * deg, 90.0},
                          s.crystal.wavelength};
  std::vector<Measurement> data;
  for (const Measurement& m : s.data) {
    const int sum = m.hkl[0] + m.hkl[1] + m.hkl[2];
    if (sum % 2 != 0) continue;  // forbidden by I: not integral on the primitive cell
    data.push_back({{m.hkl[2], m.hkl[0], sum / 2}, m.intensity, m.sigma});
  }
  const Analysis r = analyse(data, primitive, {});
  ASSERT_TRUE(r.determinable) << r.reason;
  EXPECT_EQ(r.centring.chosen, "I");
  EXPECT_EQ(determinant(r.reindexing_matrix), 2);
  expect_same_cell(r.crystal.cell, s.crystal.cell, "I4_mmm");
  EXPECT_NEAR(r.crystal.cell[2], c, 1e-6);  // the 4-fold along c
  EXPECT_EQ(r.reindexing, "k,-h-k+2l,h");    // the published indices again
  EXPECT_EQ(r.laue.front().candidate.symbol, "4/mmm");
  EXPECT_TRUE(first_or_tied_first(r, 139)) << tables_text(r);
}

TEST(ConventionalCell, CellsThatNeedNoReindexing) {
  // A centred group on its own conventional cell.
  const test::SyntheticSet c2c = synthetic("C12_c1.txt");
  const Analysis on_own_cell = analyse(c2c.data, c2c.crystal, {});
  ASSERT_TRUE(on_own_cell.determinable);
  EXPECT_EQ(on_own_cell.reindexing, "");
  EXPECT_EQ(on_own_cell.reindexing_matrix, IDENTITY);
  EXPECT_EQ(tables_text(on_own_cell).find("Cell as given"), std::string::npos);

  // Triclinic data on a cell that happens to fit a C-centred monoclinic lattice (cctbx's
  // Niggli cell of 9.1 6.3 10.4, beta 104.5): the data show no 2-fold, the axes stay.
  const test::SyntheticSet p1 = synthetic("P1.txt");
  const Crystal fits_mc{{5.533986, 5.533986, 10.400000, 78.120124, 78.120124, 69.390307},
                        p1.crystal.wavelength};
  ASSERT_TRUE(lattice_symmetry(fits_mc, 'P', 3.0).lattice_beyond_settings);
  const Analysis triclinic = analyse(p1.data, fits_mc, {});
  ASSERT_TRUE(triclinic.determinable) << triclinic.reason;
  EXPECT_EQ(triclinic.reindexing, "");
  EXPECT_EQ(triclinic.centring.chosen, "P");
  EXPECT_EQ(triclinic.laue.front().candidate.symbol, "-1");
}

}  // namespace
}  // namespace vorlane::symmetry_analysis
