#include <cmath>

#include "expfile/card_numbers.hpp"
#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "geometry/getcellvol.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {

void read_cell_card(run::RunState& rs, const ExpReading& rd) {
  auto& ctl = rs.ctl;
  // a, b, c, alpha, beta, gamma, a seventh number and the volume; the card may stop early and
  // the missing values keep what they held.
  records::FreeReader reader(from_column(rd.card, 7));
  for (int i = 0; i < 8; ++i) {
    float& target = i < 7 ? ctl.CELLPAR[i] : ctl.EXPVOL;
    const Got got = next_number(reader, target);
    if (got == Got::missing) break;
    if (got != Got::value) {
      card_read_error(rs, rd.card);
      return;
    }
  }
  if (!(ctl.CELLPAR[0] > 0.0f && ctl.CELLPAR[1] > 0.0f && ctl.CELLPAR[2] > 0.0f)) {
    card_read_error(rs, rd.card);
    return;
  }
  if (ctl.EXPVOL < 0.1f) {
    ctl.EXPVOL = geometry::GETCELLVOL(ctl.CELLPAR, 0);
    // Angles that cannot close a cell give no volume; treat it as unknown.
    if (!std::isfinite(ctl.EXPVOL)) ctl.EXPVOL = 0.0f;
  }
  ctl.ICELL = 1;
}

}  // namespace vorlane::expfile
