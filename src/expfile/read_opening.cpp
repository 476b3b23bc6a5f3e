// VORLAN OPENING alpha [AXIS x y z]: the diamond-anvil cell's opening half-angle and load
// axis, for the completeness against the volume the cell lets through. (Not "DAC": keywords
// are substrings, and every OUTLIER SYMMETRY DAC card would match.)
#include <cmath>

#include "expfile/card_numbers.hpp"
#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {

void read_opening(run::RunState& rs, const ExpReading& rd) {
  const std::string& card = rd.card;
  const int col = column_after(card, "OPENING", 1);
  if (col == 0) return;
  CellOpening dac;
  {
    records::FreeReader reader(from_column(card, col));
    if (next_number(reader, dac.opening) != Got::value || !(dac.opening > 0.0f) ||
        !(dac.opening < 90.0f)) {
      card_read_error(rs, card);
      return;
    }
  }
  if (const int axis = column_after(card, "AXIS", 1)) {
    records::FreeReader reader(from_column(card, axis));
    for (float& v : dac.axis) {
      if (next_number(reader, v) != Got::value) {
        card_read_error(rs, card);
        return;
      }
    }
    if (std::hypot(dac.axis[0], dac.axis[1], dac.axis[2]) == 0.0f) {
      card_read_error(rs, card);
      return;
    }
  }
  rs.ctl.dac = dac;
}

void check_opening(run::RunState& rs) {
  if (rs.ctl.dac.opening > 0.0f && rs.ctl.NUBLIN != 3)
    run::fatal(rs, "OPENING CARD NEEDS THE ORIENTATION MATRIX: NO UB CARDS IN EXP FILE");
}

}  // namespace vorlane::expfile
