// The rules one at a time: which reflections each centring forbids, the lattice symmetry of
// a few cells, elements of a rotation, and the refusals.
#include <gtest/gtest.h>

#include "symmetry_analysis/analysis.hpp"
#include "symmetry_analysis/centring.hpp"
#include "symmetry_analysis/given_group_check.hpp"
#include "symmetry_analysis/lattice_symmetry.hpp"
#include "symmetry_analysis/rotation.hpp"
#include "symmetry_analysis/synthetic_data.hpp"

namespace vorlane::symmetry_analysis {
namespace {

TEST(Centring, ForbiddenReflections) {
  struct Row {
    const char* name;
    Hkl h;
    bool forbidden;
  };
  const Row rows[] = {
      {"P", {1, 0, 0}, false},     {"A", {0, 1, 0}, true},      {"A", {1, 1, 1}, false},
      {"B", {1, 0, 0}, true},      {"B", {1, 1, 1}, false},     {"C", {1, 0, 1}, true},
      {"C", {1, 1, 0}, false},     {"I", {1, 1, 1}, true},      {"I", {1, 1, 0}, false},
      {"F", {1, 1, 0}, true},      {"F", {1, 1, 1}, false},     {"F", {2, 0, 0}, false},
      {"R(obv)", {1, 0, 1}, false}, {"R(obv)", {0, 1, 2}, false}, {"R(obv)", {1, 0, 0}, true},
      {"R(rev)", {1, 0, 1}, true},  {"R(rev)", {1, 1, 0}, false}, {"R(rev)", {0, 0, 3}, false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(centring_forbids(r.name, r.h), r.forbidden) << r.name << " " << r.h[0] << r.h[1] << r.h[2];
}

TEST(Lattice, HighestLaueClassOfCells) {
  struct Row {
    std::array<double, 6> cell;
    char centring;
    const char* highest;
    std::size_t rotations;
  };
  const Row rows[] = {
      {{7.7, 8.7, 10.8, 90, 103, 90}, 'P', "2/m", 2},
      {{7.7, 8.7, 10.8, 90, 90, 103}, 'P', "2/m", 2},
      {{7.7, 8.7, 10.8, 90, 90, 90}, 'P', "mmm", 4},
      {{9.4, 9.4, 11.5, 90, 90, 90}, 'P', "4/mmm", 8},
      // Nearly equal edges at right angles: metrically cubic (the obliquity is an angle).
      {{9.3551, 9.3551, 9.3670, 90, 90, 90}, 'P', "m-3m", 24},
      {{12.5, 12.5, 24.6, 90, 90, 120}, 'P', "6/mmm", 12},
      {{16.2, 16.2, 11.2, 90, 90, 120}, 'R', "-3m1", 6},
      {{5.45, 5.45, 5.45, 90, 90, 90}, 'F', "m-3m", 24},
      {{9.051, 13.142, 15.321, 69.803, 84.566, 76.909}, 'P', "-1", 1},
  };
  for (const Row& r : rows) {
    const LatticeSymmetry l = lattice_symmetry({r.cell, 0.71}, r.centring, 3.0);
    EXPECT_EQ(l.highest.symbol, r.highest) << r.cell[0];
    EXPECT_EQ(l.proper.size(), r.rotations) << r.cell[0];
  }
  // Just outside the tolerance the 2-fold along a of a near-orthorhombic cell is gone.
  EXPECT_EQ(lattice_symmetry({{7.7, 8.7, 10.8, 90, 93.5, 90}, 0.71}, 'P', 3.0).highest.symbol, "2/m");
  EXPECT_EQ(lattice_symmetry({{7.7, 8.7, 10.8, 90, 93.5, 90}, 0.71}, 'P', 4.0).highest.symbol, "mmm");
}

TEST(Rotation, OrderAndAxis) {
  const Rot two_b{-1, 0, 0, 0, 1, 0, 0, 0, -1};
  const Rot four_c{0, -1, 0, 1, 0, 0, 0, 0, 1};
  const Rot three_111{0, 0, 1, 1, 0, 0, 0, 1, 0};
  EXPECT_EQ(rotation_order(two_b), 2);
  EXPECT_EQ(rotation_axis(two_b), (std::array<int, 3>{0, 1, 0}));
  EXPECT_EQ(rotation_order(four_c), 4);
  EXPECT_EQ(rotation_axis(four_c), (std::array<int, 3>{0, 0, 1}));
  EXPECT_EQ(rotation_order(three_111), 3);
  EXPECT_EQ(rotation_axis(three_111), (std::array<int, 3>{1, 1, 1}));
  const PointGroup g = with_inversion({IDENTITY, two_b});
  EXPECT_EQ(g.representative({-1, 2, -3}), (Hkl{1, 2, 3}));
  EXPECT_EQ(g.epsilon({0, 3, 0}), 2);
  EXPECT_TRUE(g.centric({1, 0, 2}));
  EXPECT_FALSE(g.centric({1, 1, 2}));
}

TEST(Refusal, MergedAndTooLittleData) {
  const test::SyntheticSet s = test::read_synthetic(
      std::filesystem::path(VORLANE_TEST_DATA) / "symmetry_analysis/synthetic/P121_c1.txt");
  // One measurement a reflection (Friedel mates as one): merged data.
  std::vector<Measurement> merged;
  const PointGroup friedel = with_inversion({IDENTITY});
  for (const Measurement& m : s.data)
    if (friedel.representative(m.hkl) == m.hkl &&
        (merged.empty() || merged.back().hkl != m.hkl))
      merged.push_back(m);
  const Analysis a = analyse(merged, s.crystal, {});
  EXPECT_FALSE(a.determinable);
  EXPECT_NE(a.reason.find("merged data"), std::string::npos) << a.reason;

  const std::vector<Measurement> few(s.data.begin(), s.data.begin() + 60);
  const Analysis b = analyse(few, s.crystal, {});
  EXPECT_FALSE(b.determinable);
  EXPECT_NE(b.reason.find("too little data"), std::string::npos) << b.reason;
}

TEST(GivenGroup, ContradictedByLaueClassOrAbsences) {
  const test::SyntheticSet s = test::read_synthetic(
      std::filesystem::path(VORLANE_TEST_DATA) / "symmetry_analysis/synthetic/P121_c1.txt");
  const Analysis a = analyse(s.data, s.crystal, {});
  struct Row {
    const char* group;
    bool contradicted, by_absences;
  };
  const Row rows[] = {
      {"P 1 21/c 1", false, false},
      {"P 1 21 1", false, false},   // fewer absences than the truth: not contradicted
      {"P 1 21/n 1", true, true},   // h0l with h odd, l even are strong
      {"P 1 1 21/b", true, true},   // another unique axis: neither its Laue class nor its absences
      {"P -1", true, false},        // a lower Laue class than the data show
  };
  for (const Row& r : rows) {
    const GivenGroupCheck c = check_given_group(s.data, a, r.group);
    EXPECT_TRUE(c.checked) << r.group;
    EXPECT_EQ(c.contradicted, r.contradicted) << r.group;
    EXPECT_EQ(absences_contradicted(c), r.by_absences) << r.group;
  }
}

}  // namespace
}  // namespace vorlane::symmetry_analysis
