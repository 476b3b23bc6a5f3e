#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "expfile/symmetry_cards.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {

// The symmetry readers' error code as the reader reports it; false when the run stops.
bool symmetry_code_ok(run::RunState& rs, int ierr, std::string_view bad_text) {
  if (ierr == SYMCARD_OK) return true;
  if (ierr == SYMCARD_TOO_MANY_PLANES) run::fatal(rs, TOO_MANY_PLANES_MESSAGE);
  else run::fatal(rs, bad_text);
  return false;
}

void read_symmetry_keywords(run::RunState& rs, ExpReading& rd) {
  auto& ctl = rs.ctl;
  if (const int col = column_after(rd.card, "SYMOP", 6)) {
    if (ctl.LAUECLS != 0) {
      run::fatal(rs, "SYMOP AND LAUE CARDS FOUND: NOT ALLOWED");
      return;
    }
    if (rd.spacegroup != 0) {
      run::fatal(rs, "SPACEGROUP AND SYMOP CARDS FOUND: NOT ALLOWED");
      return;
    }
    READ_SYMM(rs.sg, rd.card, CARD_LENGTH, col, rd.ierr);
    rd.symmetry_cards = 1;
  }
  if (const int col = column_after(rd.card, "UNITIN", 5)) {
    if (ctl.LAUECLS != 0) {
      run::fatal(rs, "LAUE AND UNITIN CARDS FOUND: NOT ALLOWED");
      return;
    }
    if (rd.spacegroup != 0) {
      run::fatal(rs, "SPACEGROUP AND UNITIN CARDS FOUND: NOT ALLOWED");
      return;
    }
    if (!unitin_layout_agrees(rs, rd, col)) return;
    READ_UNITIN(rs.sg, rd.card, CARD_LENGTH, col, rd.ierr);
    if (!symmetry_code_ok(rs, rd.ierr, "ERROR IN READ_UNITIN")) return;
    rd.symmetry_cards = 1;
  }
  if (const int col = column_after(rd.card, "LAUE", 5)) {
    // A Laue class brings its own operators and asymmetric unit, so it cannot be combined
    // with operators or planes given one by one.
    if (rd.symmetry_cards != 0) {
      run::fatal(rs, "***** LAUE AND UNITIN OR SYMOP CARDS FOUND:  NOT ALLOWED");
      return;
    }
    if (rd.spacegroup != 0) {
      run::fatal(rs, "SPACEGROUP AND LAUE CARDS FOUND: NOT ALLOWED");
      return;
    }
    if (!read_laue_keyword(rs, rd)) return;
    ctl.laue_row = ctl.LAUECLS;
  }
  if (const int col = column_after(rd.card, "SPACEGROUP", 6)) read_spacegroup_card(rs, rd, col);
}

}  // namespace vorlane::expfile
