#include "averaging/handle_singlets.hpp"

#include "records/edit_list.hpp"

namespace vorlane::averaging {

std::string sigma_ratio_line(float RATIO) {
  std::string line = "Ratio output sigma to external-sig1 for ";
  line += "the observed reflns is: ";
  line += records::format_F(RATIO, 7, 2);
  return line;
}

void HANDLE_SINGLETS(run::RunState& rs) {
  RunResults& res = rs.res;
  if (res.NSINGLET == 0) return;

  const expfile::RunControls& ctl = rs.ctl;
  if (ctl.sigma_of_mean()) {
    // The ratio compares the sigma of one observation with that of a mean: with sigmas of
    // means in the output it has no meaning, and a singlet keeps its own sigma.
    res.SIGFACT = 1.0f;
  } else if (ctl.INOSING != 1 && ctl.IOUTAVE != 0) {
    if (res.NRATIO == 0) {
      // No averaged greater-than set: RATIO is 0.0 only because nothing was measured twice
      // well enough. Offering it would zero every singlet sigma; keep them instead.
      res.SIGFACT = 1.0f;
      rs.files.print.write_record(NO_RATIO_RECORD);
    } else {
      const int answer = rs.dialogs->ask_sigma_ratio(sigma_ratio_line(res.RATIO));
      if (answer == 1) res.SIGFACT = res.RATIO;
      else if (answer == 0) res.SIGFACT = 1.0f;
      // Closed without an answer: SIGFACT stays as it was.
    }
  } else {
    res.SIGFACT = 1.0f;
  }

  for (run::EquivSet& set : rs.refl.sets) {
    if (set.NEQ != 1) continue;
    const run::Member& m = rs.refl.member(set, 1);
    set.FAVE = m.FSQ;
    set.SIGAVE = res.SIGFACT * m.SIGFSQ;
    set.SIGINT_ = 0.0f;
    set.SIGINT2 = 0.0f;
    set.SIGEXT = m.SIGFSQ;
    set.SIGEXT2 = m.SIGFSQ;
  }
}

}  // namespace vorlane::averaging
