#pragma once
// The experiment-file reader's private state during one reading and the routines that handle
// each kind of card. Every handler reports a fatal condition through run::ERROR (IHALT set);
// the card loop returns as soon as IHALT is set.
#include <string>
#include <string_view>

namespace vorlane::run { struct RunState; }

namespace vorlane::expfile {

struct ExpReading {
  std::string card;          // the current card, 80 columns, upper-cased
  int ubl = 0;               // 1 once a card beginning "UBL" was read: UB is in units of WAVE
  int symmetry_cards = 0;    // 1 once a SYMOP or UNITIN keyword was handled
  int ierr = 0;              // error code returned by the symmetry-card readers
  int line = 0;              // line number of the current card, from 1
  int spacegroup = 0;        // 1 once a SPACEGROUP keyword was handled
  int cell_line = 0;         // line of the last CELL card, 0 before one
  int wavel_line = 0;        // line of the last WAVEL card, 0 before one
  int cards = 0;             // lines recognised as cards
  int text_lines = 0;        // lines that are not blank
};

// Columns 1-5 "WAVEL" and a blank (or a tab) in column 6.
bool is_wavel_card(std::string_view card);

// The card loop's fatal read error, showing the 80 card columns.
void card_read_error(run::RunState& rs, const std::string& card);

void read_title_card(run::RunState& rs, const ExpReading& rd);
void read_cell_card(run::RunState& rs, ExpReading& rd);
void read_wavel_card(run::RunState& rs, ExpReading& rd);
// A second CELL or WAVEL card replaces the first; the warning names both lines.
void warn_card_repeated(run::RunState& rs, const ExpReading& rd, std::string_view name,
                        int earlier);
void read_ub_card(run::RunState& rs, ExpReading& rd);
void read_blaxes_card(run::RunState& rs, const ExpReading& rd);
void read_control_card(run::RunState& rs, ExpReading& rd);

// OPENING alpha [AXIS x y z] of a control card.
void read_opening(run::RunState& rs, const ExpReading& rd);
// The OPENING card needs the orientation matrix: fatal without UB cards.
void check_opening(run::RunState& rs);

// Symmetry keywords of a control card (SYMOP, UNITIN, LAUE, in that order).
void read_symmetry_keywords(run::RunState& rs, ExpReading& rd);

// The symmetry readers' error code as the reader reports it; false when the run stops.
bool symmetry_code_ok(run::RunState& rs, int ierr, std::string_view bad_text);

// SPACEGROUP: the operators of a tabulated space group through the SYMOP path and the planes
// of its Laue class through the UNITIN path. `column` is the column after the keyword.
void read_spacegroup_card(run::RunState& rs, ExpReading& rd, int column);

// A LAUE keyword: symbols as crystallographers write them (m-3m, m-3) become the table's own;
// -3m alone is ambiguous and stops the run. False when the run stops.
bool read_laue_keyword(run::RunState& rs, ExpReading& rd);

// A UNITIN keyword whose five-column fields give other numbers than the card shows when split
// at blanks stops the run. False when the run stops.
bool unitin_layout_agrees(run::RunState& rs, const ExpReading& rd, int column);

// After the last card: orientation matrix, cell comparison, B matrix, space group, IABSENT.
void finish_exp_file(run::RunState& rs, const ExpReading& rd);

}  // namespace vorlane::expfile
