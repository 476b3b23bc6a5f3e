// The accessible volume of the OPENING rule, the normal quantiles and the batch table of a
// list built by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "statistics/compute_statistics.hpp"
#include "statistics/dac_access.hpp"
#include "statistics/written_sets.hpp"

namespace vorlane::statistics {
namespace {

// Midpoint integration over a sphere in spherical coordinates about the load axis: the
// accessible volume equals Merrill & Bassett's 4 pi / lambda^3 sin(a) (a - sin(a) cos(a)).
TEST(DacAccess, AccessibleVolumeIsMerrillAndBassetts) {
  for (const double degrees : {20.0, 35.0, 45.0}) {
    DacOpening dac;
    dac.wavelength = 0.71;
    dac.alpha = degrees * std::numbers::pi / 180.0;
    dac.axis = {0.0, 0.0, 1.0};
    const double rmax = 2.0 / dac.wavelength;
    const int nr = 1000, nt = 1000;
    double volume = 0.0;
    for (int i = 0; i < nr; ++i) {
      const double r = (i + 0.5) * rmax / nr;
      for (int j = 0; j < nt; ++j) {
        const double t = (j + 0.5) * std::numbers::pi / nt;  // angle from the axis
        const std::array<double, 3> x{r * std::sin(t), 0.0, r * std::cos(t)};
        if (point_accessible(dac, x))
          volume += 2.0 * std::numbers::pi * r * r * std::sin(t) * (rmax / nr) *
                    (std::numbers::pi / nt);
      }
    }
    const double a = dac.alpha;
    const double expected = 4.0 * std::numbers::pi / std::pow(dac.wavelength, 3) * std::sin(a) *
                            (a - std::sin(a) * std::cos(a));
    EXPECT_NEAR(volume / expected, 1.0, 2e-3) << degrees;
  }
}

TEST(NormalProbability, QuantilesAndFitOfExactQuantiles) {
  EXPECT_NEAR(normal_quantile(0.5), 0.0, 1e-12);
  EXPECT_NEAR(normal_quantile(0.975), 1.959963984540054, 1e-8);
  EXPECT_NEAR(normal_quantile(0.001), -3.090232306167813, 1e-8);
  std::vector<float> d;
  const int n = 5001;  // above the size that sorts by radix; given in reverse order
  for (int k = n - 1; k >= 0; --k) d.push_back(static_cast<float>(2.0 * normal_quantile((k + 0.5) / n) + 0.25));
  const NormalProbability np = normal_probability(d, MAX_PLOT_POINTS);
  EXPECT_NEAR(np.slope, 2.0, 1e-6);
  EXPECT_NEAR(np.intercept, 0.25, 1e-6);
  EXPECT_LE(np.expected.size(), MAX_PLOT_POINTS);
  EXPECT_TRUE(std::is_sorted(np.observed.begin(), np.observed.end()));
  EXPECT_GE(np.expected.size(), MAX_PLOT_POINTS / 2);
}

// Two sets measured in two batches: batch figures by hand.
TEST(BatchTable, MembersAgainstTheirSetsAverage) {
  run::ReflectionList list;
  auto add = [&](float i, float s, int batch, std::int8_t rej) {
    run::Member m;
    m.FSQ = i;
    m.SIGFSQ = s;
    m.batch = batch;
    m.IREJ = rej;
    m.IHKL = {1, 0, 0};
    list.members.push_back(m);
  };
  add(100, 10, 1, 0);
  add(120, 10, 2, 0);
  add(30, 5, 2, 2);
  add(50, 5, 1, 0);
  add(60, 5, 2, 0);
  run::EquivSet a{.first = 0, .NEQ = 3, .NAVE = 2, .FAVE = 110.0f, .SIGAVE = 10.0f, .IGT = 1};
  run::EquivSet b{.first = 3, .NEQ = 2, .NAVE = 2, .FAVE = 55.0f, .SIGAVE = 5.0f, .IGT = 1};
  list.sets = {a, b};
  expfile::RunControls ctl;
  SetResolution res;
  const Statistics st = compute_statistics(list, ctl, res, PossibleSet{}, 10);
  ASSERT_EQ(st.batches.size(), 2u);
  EXPECT_EQ(st.batches[0].batch, 1);
  EXPECT_EQ(st.batches[0].n_obs, 2);
  EXPECT_DOUBLE_EQ(st.batches[0].i_over_sigma, (10.0 + 10.0) / 2.0);
  EXPECT_DOUBLE_EQ(st.batches[0].r_int, (10.0 + 5.0) / 150.0);
  EXPECT_EQ(st.batches[1].n_obs, 2);
  EXPECT_EQ(st.batches[1].n_outliers, 1);
  EXPECT_DOUBLE_EQ(st.batches[1].r_int, (10.0 + 5.0) / 180.0);
  EXPECT_FALSE(st.has_shells);  // no resolution known
  EXPECT_EQ(rejection_counts(list, ctl).outlier, 1);
  ASSERT_EQ(st.set_size_histogram.size(), 3u);
  EXPECT_EQ(st.set_size_histogram[2], 2);
}

// The counts of every reason are the reasons of the members one by one, for every choice of
// output, less-than rule and absence rule, with and without values the writer left out.
TEST(Statistics, RejectionCountsAreTheReasonsOfTheMembers) {
  std::mt19937 random(3);
  run::ReflectionList list;
  for (int s = 0; s < 400; ++s) {
    run::EquivSet set;
    set.first = static_cast<std::uint32_t>(list.members.size());
    set.NEQ = static_cast<int>(random() % 6);
    set.NAVE = set.NEQ == 0 ? 0 : 1 + static_cast<int>(random() % static_cast<unsigned>(set.NEQ));
    set.IABS = static_cast<int>(random() % 4);
    set.IGT = static_cast<int>(random() % 2);
    for (int j = 0; j < set.NEQ; ++j) {
      run::Member m;
      m.IREJ = static_cast<std::int8_t>(random() % 3);
      m.IOBS = static_cast<std::int8_t>(random() % 2);
      list.members.push_back(m);
    }
    list.sets.push_back(set);
  }
  LeftOut some;
  some.sets = {5, 77};
  some.members = {3, 40, 41, 900};
  const LeftOut none;
  const std::array<const LeftOut*, 3> choices{nullptr, &none, &some};
  for (const LeftOut* left_out : choices) {
    for (int outave : {0, 1}) {
      for (int rejlt : {0, 1}) {
        for (int absent : {1, 2, 3}) {
          for (int nosing : {0, 1}) {
            expfile::RunControls ctl;
            ctl.IOUTAVE = outave;
            ctl.IREJLT = rejlt;
            ctl.IABSENT = absent;
            ctl.INOSING = nosing;
            std::array<std::int64_t, 9> expected{};
            for (const run::EquivSet& set : list.sets) {
              for (int j = 1; j <= set.NEQ; ++j) {
                ++expected[static_cast<std::size_t>(member_reason(list, set, j, ctl, left_out))];
              }
            }
            const RejectionCounts n = rejection_counts(list, ctl, left_out);
            const std::array<std::int64_t, 9> got{0,
                                                  n.impossible,
                                                  n.violation,
                                                  n.outside_2theta,
                                                  n.less_than,
                                                  n.singlet_dropped,
                                                  n.dac_dip,
                                                  n.outlier,
                                                  n.overflow};
            for (std::size_t r = 1; r < got.size(); ++r) {
              EXPECT_EQ(got[r], expected[r]) << "reason " << r << " output " << outave
                                             << " less-than " << rejlt << " absent " << absent;
            }
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace vorlane::statistics
