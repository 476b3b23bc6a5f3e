#include "averaging/average_data_rejection.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vorlane::averaging {

namespace {

constexpr std::int8_t DAC_DIP = 1;
constexpr std::int8_t OUTLIER = 2;

// One pass of either test. The threshold starts as the largest of the set-wide terms
// (a fraction of the mean, a multiple of the rms sigma, a multiple of the spread) and is raised
// by every examined member's own B3*sigma; the raised value stays for all later members, so a
// poorly measured member protects the ones after it. The mean is not updated inside the pass
// and each member is examined once.
//
// Decisions depend only on the mean, the threshold and member order, never on the sums, so
// the members are marked first and the sums corrected afterwards in the same member order
// (bit for bit what subtracting inside the loop gives). A test that would reject every member
// still in the set rejects none: an average of nothing is no average, and a set whose members
// all disagree with their own mean has no majority to reject them against.
int run_test(std::span<run::Member> members, const SetSpread& sp,
             const std::array<float, 4>& BLESS, int NAVE, SetSums& s, std::int8_t code) {
  const float B1 = BLESS[0], B2 = BLESS[1], B3 = BLESS[2], B4 = BLESS[3];
  float T = std::max({B1 * sp.M, B2 * sp.EXT1, B4 * sp.INT1});
  int rejected = 0;
  for (run::Member& m : members) {
    const float fi = m.FSQ;
    const bool examined = code == DAC_DIP ? fi < sp.M : m.IREJ == 0;
    if (!examined) continue;
    const float own = B3 * m.SIGFSQ;
    if (own > T) T = own;
    const float deviation = code == DAC_DIP ? sp.M - fi : std::fabs(fi - sp.M);
    if (deviation > T) {
      m.IREJ = code;
      ++rejected;
    }
  }
  if (rejected == 0) return 0;
  if (rejected >= NAVE) {
    for (run::Member& m : members)
      if (m.IREJ == code) m.IREJ = 0;
    return 0;
  }
  for (const run::Member& m : members) {
    if (m.IREJ != code) continue;
    const float fi = m.FSQ;
    s.S1 -= fi;
    s.S2 -= fi * fi;
    if (code == DAC_DIP) s.SS -= m.SIGFSQ * m.SIGFSQ;
    s.SW -= member_weight(m.SIGFSQ);
  }
  return rejected;
}

}  // namespace

int reject_dac_dips(std::span<run::Member> members, const SetSpread& spread,
                    const std::array<float, 4>& BLESS, int NAVE, SetSums& sums) {
  return run_test(members, spread, BLESS, NAVE, sums, DAC_DIP);
}

int reject_outliers(std::span<run::Member> members, const SetSpread& spread,
                    const std::array<float, 4>& BLESS, int NAVE, SetSums& sums) {
  return run_test(members, spread, BLESS, NAVE, sums, OUTLIER);
}

}  // namespace vorlane::averaging
