#include "expfile/read_exp_file.hpp"

#include <istream>
#include <string>

#include "expfile/card_spelling.hpp"
#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "expfile/symmetry_cards.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {

namespace {

// The controls every reading starts from. TITLE, the cell constants (ICELL, CELLPAR and its
// volume) and the UB elements keep what they held; IBMAT is decided at the end of the file.
void reset_controls(RunControls& ctl) {
  const RunControls defaults;
  ctl.WAVE = defaults.WAVE;
  ctl.BLAXES = defaults.BLAXES;
  ctl.NUBLIN = 0;
  ctl.LAUECLS = 0;
  ctl.IREJMODE = defaults.IREJMODE;
  ctl.BLESS = defaults.BLESS;
  ctl.IOUTAVE = defaults.IOUTAVE;
  ctl.INOSING = defaults.INOSING;
  ctl.IABSENT = defaults.IABSENT;
  ctl.LTHRESH = defaults.LTHRESH;
  ctl.IREJLT = defaults.IREJLT;
  ctl.TTHMAX = defaults.TTHMAX;
  ctl.TTHMIN = defaults.TTHMIN;
  ctl.OSCALE = defaults.OSCALE;
  ctl.INOFLIP = defaults.INOFLIP;
  ctl.sigma_convention = defaults.sigma_convention;
  ctl.scale_from_card = 0;
  ctl.wave_from_card = 0;
  ctl.space_group_name.clear();
  ctl.space_group_number = 0;
  ctl.laue_row = 0;
  ctl.dac = defaults.dac;
}

bool starts_with(const std::string& card, std::string_view text) {
  return card.compare(0, text.size(), text) == 0;
}

void handle_card(run::RunState& rs, ExpReading& rd) {
  const std::string& card = rd.card;
  // The tests are independent of each other, in this order.
  if (starts_with(card, "TITLE")) read_title_card(rs, rd);
  if (starts_with(card, "CELL")) read_cell_card(rs, rd);
  if (rs.msg.IHALT != 0) return;
  if (starts_with(card, "WAVEL ")) read_wavel_card(rs, rd);
  if (rs.msg.IHALT != 0) return;
  if (starts_with(card, "UB")) read_ub_card(rs, rd);
  if (rs.msg.IHALT != 0) return;
  if (starts_with(card, "BLAXES")) read_blaxes_card(rs, rd);
  if (rs.msg.IHALT != 0) return;
  if (starts_with(card, "VORLAN")) read_control_card(rs, rd);
}

}  // namespace

void READ_EXP_FILE(run::RunState& rs) {
  ExpReading rd;
  INITSYM(rs.sg);
  reset_controls(rs.ctl);

  std::istream* exp = rs.files.exp.get();
  if (exp == nullptr) {  // no experiment file attached: nothing can be read
    card_read_error(rs, std::string());
    return;
  }
  exp->clear();
  exp->seekg(0);

  std::string line;
  while (true) {
    if (!std::getline(*exp, line)) {
      if (exp->bad() || !exp->eof()) {
        card_read_error(rs, line);
        return;
      }
      break;  // end of file
    }
    rd.card = make_card(line);
    rd.line += 1;
    if (rd.card.compare(0, 6, "      ") == 0) continue;
    upper_case(rd.card);
    handle_card(rs, rd);
    if (rs.msg.IHALT != 0) return;
    check_card_spelling(rs, rd);
    if (rs.msg.IHALT != 0) return;
  }
  finish_exp_file(rs, rd);
}

}  // namespace vorlane::expfile
