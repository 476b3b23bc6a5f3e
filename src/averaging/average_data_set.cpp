#include "averaging/average_data_set.hpp"

#include <cmath>

#include "averaging/average_data_rejection.hpp"
#include "averaging/average_data_sums.hpp"

namespace vorlane::averaging {

namespace {

// Variances are sums of squares minus n times the squared mean, in single precision; below
// these floors they count as zero (a negative value from rounding included). The stage-1
// floor is much finer than the final one.
constexpr float STAGE1_FLOOR = 1.0e-7f;
constexpr float FINAL_FLOOR = 1.0e-5f;

// Sample standard deviation (divisor n - 1) from the corrected sums.
float sample_sd(float V, int NAVE, float floor) {
  return V >= floor ? std::sqrt(V / static_cast<float>(NAVE - 1)) : 0.0f;
}

}  // namespace

std::optional<float> average_data_set(run::EquivSet& set, std::span<run::Member> members,
                                      const expfile::RunControls& ctl) {
  const int NEQ = set.NEQ;
  int NAVE = NEQ;
  for (run::Member& m : members) m.IREJ = 0;

  // Stage 1: all members.
  SetSums s = set_sums(members);
  const SetSums stage1 = s;
  SetSpread sp;
  sp.M = s.S1 / static_cast<float>(NEQ);
  float V = s.S2 - static_cast<float>(NAVE) * sp.M * sp.M;
  sp.INT1 = sample_sd(V, NAVE, STAGE1_FLOOR);
  sp.EXT1 = std::sqrt(s.SS / static_cast<float>(NAVE));
  float INT2 = 0.0f;
  float EXT2 = 0.0f;

  const int mode = ctl.IREJMODE;
  if (mode != 0) {
    if (mode == 2 || mode == 3) {
      NAVE -= reject_dac_dips(members, sp, ctl.BLESS, NAVE, s);
      if (NAVE != NEQ) {
        // A rejected member with a sigma far above the rest can leave SS as rounding noise.
        if (corrected_sum_lost(s.SS, stage1.SS, NEQ)) s.SS = accepted_sigma_squares(members);
        sp.M = s.S1 / static_cast<float>(NAVE);
        V = s.S2 - static_cast<float>(NAVE) * sp.M * sp.M;
        sp.INT1 = NAVE >= 2 ? sample_sd(V, NAVE, STAGE1_FLOOR) : 0.0f;
        sp.EXT1 = std::sqrt(s.SS / static_cast<float>(NAVE));
      }
    }
    if (NAVE >= 3 && mode != 2) NAVE -= reject_outliers(members, sp, ctl.BLESS, NAVE, s);
  }

  // A rejected member whose weight swamped the others (a zero or tiny sigma) leaves SW as
  // inf - inf or as rounding noise; sum the weights of the accepted members afresh instead.
  if (NAVE != NEQ && corrected_sum_lost(s.SW, stage1.SW, NEQ)) s.SW = accepted_weights(members);

  float FAVE = 0.0f;
  float SIGAVE = 0.0f;
  std::optional<float> ratio_term;
  if (NAVE == 1) {
    FAVE = s.S1;
    INT2 = 0.0f;
    EXT2 = std::sqrt(1.0f / s.SW);
    SIGAVE = sp.INT1 > sp.EXT1 ? sp.INT1 : sp.EXT1;
  } else {
    FAVE = s.S1 / static_cast<float>(NAVE);
    V = s.S2 - (static_cast<float>(NAVE) * FAVE) * FAVE;
    INT2 = sample_sd(V, NAVE, FINAL_FLOOR);
    EXT2 = std::sqrt(static_cast<float>(NAVE) / s.SW);
    SIGAVE = INT2 > EXT2 ? INT2 : EXT2;
    if (ctl.LTHRESH * SIGAVE < FAVE) {
      // Members measured with zero sigma give EXT1 = 0: their ratio has no meaning.
      if (sp.EXT1 > 0.0f) {
        const float term = SIGAVE / sp.EXT1;
        if (std::isfinite(term)) ratio_term = term;
      }
    }
  }

  set.NAVE = NAVE;
  set.FAVE = FAVE;
  set.SIGAVE = SIGAVE;
  set.SIGINT_ = sp.INT1;
  set.SIGEXT = sp.EXT1;
  set.SIGINT2 = INT2;
  set.SIGEXT2 = EXT2;
  return ratio_term;
}

}  // namespace vorlane::averaging
