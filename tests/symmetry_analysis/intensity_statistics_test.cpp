// The intensity statistics against their theoretical values for intensities drawn from the
// acentric (exponential) and centric (chi-square, one degree of freedom) Wilson distributions
// and for a perfect twin (the mean of two acentric intensities).
#include <random>

#include <gtest/gtest.h>

#include "symmetry_analysis/intensity_statistics.hpp"
#include "symmetry_analysis/reflection_sets.hpp"

namespace vorlane::symmetry_analysis {
namespace {

enum class Kind { acentric, centric, twin };

IntensityStatistics statistics_of(Kind kind) {
  std::mt19937 rng(5);
  std::exponential_distribution<double> exponential(1.0);
  std::normal_distribution<double> normal(0.0, 1.0);
  std::vector<Measurement> data;
  for (int h = -12; h <= 12; ++h)
    for (int k = -12; k <= 12; ++k)
      for (int l = 1; l <= 12; ++l) {
        double i = 0.0;
        if (kind == Kind::acentric) i = exponential(rng);
        if (kind == Kind::centric) {
          const double x = normal(rng);
          i = x * x;
        }
        if (kind == Kind::twin) i = 0.5 * (exponential(rng) + exponential(rng));
        data.push_back({{h, k, l}, 1000.0 * i, 1.0});
      }
  // A triclinic cell: every reflection with l > 0 is general.
  const std::array<double, 6> cell{20.0, 22.0, 24.0, 80.0, 95.0, 105.0};
  const PointGroup p1bar = with_inversion({IDENTITY});
  return intensity_statistics(data, inverse_d_squared(data, cell), p1bar, p1bar, "P");
}

TEST(IntensityStatistics, TheoreticalValues) {
  struct Row {
    Kind kind;
    double e, second, l;
    bool twin, centric;
  };
  const Row rows[] = {
      {Kind::acentric, 0.736, 2.0, 0.5, false, false},
      {Kind::centric, 0.968, 3.0, 2.0 / 3.14159265358979, false, true},
      // E|X - 1| for X the mean of two unit exponentials: 2 (1 - 3/e^2 - (1 - 5/e^2)) = 4/e^2.
      {Kind::twin, 0.541, 1.5, 0.375, true, false},
  };
  for (const Row& r : rows) {
    const IntensityStatistics st = statistics_of(r.kind);
    ASSERT_TRUE(st.reliable);
    EXPECT_NEAR(st.mean_abs_e2_minus_1, r.e, 0.03) << static_cast<int>(r.kind);
    EXPECT_NEAR(st.second_moment, r.second, 0.1 * r.second);
    EXPECT_NEAR(st.mean_abs_l, r.l, 0.02);
    EXPECT_EQ(st.twinning_suspected, r.twin);
    EXPECT_EQ(*st.centrosymmetric_likely, r.centric);
    EXPECT_GE(st.n_l_pairs, 500);
    for (std::size_t k = 0; k < 10; ++k) {
      const double z = 0.1 * static_cast<double>(k + 1);
      if (r.kind != Kind::twin) {
        EXPECT_NEAR(st.nz[k], r.centric ? nz_centric(z) : nz_acentric(z), 0.02) << z;
      }
    }
  }
}

}  // namespace
}  // namespace vorlane::symmetry_analysis
