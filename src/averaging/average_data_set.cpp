#include "averaging/average_data_set.hpp"

#include <cmath>

#include "averaging/average_data_rejection.hpp"

namespace vorlane::averaging {

namespace {

// Sums of squared deviations below these floors count as zero; the stage-1 floor is much
// finer than the final one.
constexpr double STAGE1_FLOOR = 1.0e-7;
constexpr double FINAL_FLOOR = 1.0e-5;

// Sample standard deviation (divisor n - 1) from the sum of squared deviations.
double sample_sd(double V, int n, double floor) {
  return V >= floor && n >= 2 ? std::sqrt(V / (n - 1)) : 0.0;
}

SetSpread spread_of(const SetMoments& m) {
  SetSpread sp;
  sp.M = m.mean;
  sp.INT1 = sample_sd(m.V, m.n, STAGE1_FLOOR);
  sp.EXT1 = std::sqrt(m.SS / m.n);
  return sp;
}

// The larger of two estimates; the first when they are equal.
float larger(double first, double second) {
  return static_cast<float>(second > first ? second : first);
}

}  // namespace

WeightedMean weighted_mean(std::span<const SortedMember> sorted,
                           std::span<const run::Member> members) {
  double smallest = 0.0;
  for (const SortedMember& x : sorted) {
    const double s = std::fabs(static_cast<double>(x.sigma));
    if (s > 0.0 && (smallest == 0.0 || s < smallest)) smallest = s;
  }
  auto weight = [smallest](const SortedMember& x) {
    const double s = std::fabs(static_cast<double>(x.sigma));
    if (smallest == 0.0) return 1.0;
    return 1.0 / (s > 0.0 ? s * s : smallest * smallest);
  };
  double sw = 0.0, swx = 0.0;
  int n = 0;
  for (const SortedMember& x : sorted) {
    if (members[x.j].IREJ != 0) continue;
    const double w = weight(x);
    sw += w;
    swx += w * x.I;
    ++n;
  }
  WeightedMean r;
  if (n == 0 || sw <= 0.0) return r;
  r.mean = swx / sw;
  double swd = 0.0;
  for (const SortedMember& x : sorted) {
    if (members[x.j].IREJ != 0) continue;
    const double d = x.I - r.mean;
    swd += weight(x) * d * d;
  }
  r.external = smallest == 0.0 ? 0.0 : std::sqrt(1.0 / sw);
  r.internal = n >= 2 ? std::sqrt(swd / ((n - 1) * sw)) : 0.0;
  return r;
}

std::optional<float> average_data_set(run::EquivSet& set, std::span<run::Member> members,
                                      const expfile::RunControls& ctl,
                                      std::vector<SortedMember>& scratch) {
  const int NEQ = set.NEQ;
  int NAVE = NEQ;
  for (run::Member& m : members) m.IREJ = 0;
  sort_members(members, scratch);
  const std::span<const SortedMember> sorted(scratch);

  // Stage 1: all members.
  SetSpread sp = spread_of(accepted_moments(sorted, members));

  const int mode = ctl.IREJMODE;
  if (mode == 2 || mode == 3) {
    const int dips = reject_dac_dips(members, sorted, sp, ctl.BLESS, NAVE);
    if (dips > 0) {
      NAVE -= dips;
      sp = spread_of(accepted_moments(sorted, members));
    }
  }
  if ((mode == 1 || mode == 3) && NAVE >= 3)
    NAVE -= reject_outliers(members, sorted, sp, ctl.BLESS, NAVE);

  const SetMoments fin = accepted_moments(sorted, members);
  double FAVE = 0.0, INT2 = 0.0, EXT2 = 0.0;
  float SIGAVE = 0.0f;
  std::optional<float> ratio_term;
  const bool of_mean = ctl.sigma_of_mean();
  if (NAVE == 1) {
    // The survivor of the rejections: its intensity and its own sigma.
    FAVE = fin.mean;
    const double own = fin.SW > 0.0 ? std::sqrt(1.0 / fin.SW) : 0.0;
    EXT2 = own;
    SIGAVE = of_mean ? static_cast<float>(own) : larger(sp.EXT1, sp.INT1);
  } else if (of_mean) {
    const WeightedMean w = weighted_mean(sorted, members);
    FAVE = w.mean;
    EXT2 = w.external;
    INT2 = w.internal;
    SIGAVE = larger(EXT2, INT2);
  } else {
    FAVE = fin.mean;
    INT2 = sample_sd(fin.V, NAVE, FINAL_FLOOR);
    EXT2 = std::sqrt(NAVE / fin.SW);
    SIGAVE = larger(EXT2, INT2);
    const float fave = static_cast<float>(FAVE);
    const float ext1 = static_cast<float>(sp.EXT1);
    // Members measured with zero sigma give EXT1 = 0: their ratio has no meaning.
    if (ctl.LTHRESH * SIGAVE < fave && ext1 > 0.0f) {
      const float term = SIGAVE / ext1;
      if (std::isfinite(term)) ratio_term = term;
    }
  }

  set.NAVE = NAVE;
  set.FAVE = static_cast<float>(FAVE);
  set.SIGAVE = SIGAVE;
  set.SIGINT_ = static_cast<float>(sp.INT1);
  set.SIGEXT = static_cast<float>(sp.EXT1);
  set.SIGINT2 = static_cast<float>(INT2);
  set.SIGEXT2 = static_cast<float>(EXT2);
  return ratio_term;
}

}  // namespace vorlane::averaging
