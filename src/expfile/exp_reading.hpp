#pragma once
// The experiment-file reader's private state during one reading and the routines that handle
// each kind of card. Every handler reports a fatal condition through run::ERROR (IHALT set);
// the card loop returns as soon as IHALT is set.
#include <string>

namespace vorlane::run { struct RunState; }

namespace vorlane::expfile {

struct ExpReading {
  std::string card;          // the current card, 80 columns, upper-cased
  int ubl = 0;               // 1 once a card beginning "UBL" was read: UB is in units of WAVE
  int symmetry_cards = 0;    // 1 once a SYMOP or UNITIN keyword was handled
  int ierr = 0;              // error code returned by the symmetry-card readers
};

// The card loop's fatal read error, showing the 80 card columns.
void card_read_error(run::RunState& rs, const std::string& card);

void read_title_card(run::RunState& rs, const ExpReading& rd);
void read_cell_card(run::RunState& rs, const ExpReading& rd);
void read_wavel_card(run::RunState& rs, const ExpReading& rd);
void read_ub_card(run::RunState& rs, ExpReading& rd);
void read_blaxes_card(run::RunState& rs, const ExpReading& rd);
void read_control_card(run::RunState& rs, ExpReading& rd);

// OPENING alpha [AXIS x y z] of a control card.
void read_opening(run::RunState& rs, const ExpReading& rd);
// The OPENING card needs the orientation matrix: fatal without UB cards.
void check_opening(run::RunState& rs);

// Symmetry keywords of a control card (SYMOP, UNITIN, LAUE, in that order).
void read_symmetry_keywords(run::RunState& rs, ExpReading& rd);

// After the last card: orientation matrix, cell comparison, B matrix, space group, IABSENT.
void finish_exp_file(run::RunState& rs, const ExpReading& rd);

}  // namespace vorlane::expfile
