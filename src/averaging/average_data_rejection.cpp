#include "averaging/average_data_rejection.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vorlane::averaging {

namespace {

constexpr std::int8_t DAC_DIP = 1;
constexpr std::int8_t OUTLIER = 2;

// One pass of either test. The threshold is the largest of the set-wide terms (a fraction of
// the mean, a multiple of the rms sigma, a multiple of the spread) and of B3*sigma over every
// member the test examines (in the DAC-dip test the members below the mean, in the outlier
// test those still accepted): one poorly measured member raises the threshold for the whole
// set. Taken over the whole set, the threshold and so every decision are the same in whatever
// order the members were read. The mean is not updated inside the pass and each member is
// examined once.
//
// A test that would reject every member still in the set rejects none: an average of nothing
// is no average, and a set whose members all disagree with their own mean has no majority to
// reject them against.
int run_test(std::span<run::Member> members, std::span<const SortedMember> sorted,
             const SetSpread& sp, const std::array<float, 4>& BLESS, int NAVE,
             std::int8_t code) {
  const double B1 = BLESS[0], B2 = BLESS[1], B3 = BLESS[2], B4 = BLESS[3];
  auto examined = [&](const SortedMember& x) {
    return code == DAC_DIP ? x.I < sp.M : members[x.j].IREJ == 0;
  };
  double T = std::max({B1 * sp.M, B2 * sp.EXT1, B4 * sp.INT1});
  for (const SortedMember& x : sorted)
    if (examined(x)) T = std::max(T, B3 * x.sigma);
  int rejected = 0;
  for (const SortedMember& x : sorted) {
    if (!examined(x)) continue;
    const double deviation = code == DAC_DIP ? sp.M - x.I : std::fabs(x.I - sp.M);
    if (deviation > T) {
      members[x.j].IREJ = code;
      ++rejected;
    }
  }
  if (rejected >= NAVE) {
    for (run::Member& m : members)
      if (m.IREJ == code) m.IREJ = 0;
    return 0;
  }
  return rejected;
}

}  // namespace

int reject_dac_dips(std::span<run::Member> members, std::span<const SortedMember> sorted,
                    const SetSpread& spread, const std::array<float, 4>& BLESS, int NAVE) {
  return run_test(members, sorted, spread, BLESS, NAVE, DAC_DIP);
}

int reject_outliers(std::span<run::Member> members, std::span<const SortedMember> sorted,
                    const SetSpread& spread, const std::array<float, 4>& BLESS, int NAVE) {
  return run_test(members, sorted, spread, BLESS, NAVE, OUTLIER);
}

}  // namespace vorlane::averaging
