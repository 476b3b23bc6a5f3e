#include <cctype>
#include <cmath>

#include "expfile/card_numbers.hpp"
#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "geometry/getcellvol.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {

void read_cell_card(run::RunState& rs, ExpReading& rd) {
  auto& ctl = rs.ctl;
  if (rd.cell_line != 0) warn_card_repeated(rs, rd, "CELL", rd.cell_line);
  rd.cell_line = rd.line;
  // a, b, c, alpha, beta, gamma, a seventh number and the volume; the card may stop early and
  // the missing values keep what they held. The numbers are read from directly behind the
  // keyword: a fixed start at column 7 would take "CELL 4.8731" with one blank (or a tab) for
  // a = .8731. Letters that run on from the keyword (CELLS) belong to it.
  int column = 5;
  while (column <= CARD_LENGTH && std::isalpha(static_cast<unsigned char>(rd.card[column - 1])))
    ++column;
  records::FreeReader reader(from_column(rd.card, column));
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
