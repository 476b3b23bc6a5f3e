#include "expfile/read_exp_file.hpp"

#include <istream>
#include <string>

#include "expfile/card_spelling.hpp"
#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "expfile/symmetry_cards.hpp"
#include "run/messages.hpp"
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
  ctl.space_group_auto = false;
  ctl.laue_row = 0;
  ctl.dac = defaults.dac;
}

// Why the stream does not hold text, or nothing when it does: a UTF-16 (or UTF-32) byte-order
// mark, a NUL byte, or mostly bytes that no text file holds (control characters other than
// tab, line and page ends). Bytes above 127 count as text: UTF-8 and Latin-1 letters.
std::string not_text(std::istream& in) {
  std::string head(4096, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF"))
    return "A UTF-16 BYTE-ORDER MARK: SAVE IT AS PLAIN TEXT";
  std::size_t control = 0;
  for (const char ch : head) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == 0) return "NUL BYTES";
    if ((c < 32 && c != '\t' && c != '\n' && c != '\r' && c != '\f') || c == 127) ++control;
  }
  if (control * 10 > head.size()) return "MANY NON-PRINTABLE BYTES";
  return {};
}

bool starts_with(const std::string& card, std::string_view text) {
  return card.compare(0, text.size(), text) == 0;
}

void handle_card(run::RunState& rs, ExpReading& rd) {
  const std::string& card = rd.card;
  if (starts_with(card, "TITLE") || starts_with(card, "CELL") || is_wavel_card(card) ||
      starts_with(card, "UB") || starts_with(card, "BLAXES") || starts_with(card, "VORLAN"))
    rd.cards += 1;
  // The tests are independent of each other, in this order.
  if (starts_with(card, "TITLE")) read_title_card(rs, rd);
  if (starts_with(card, "CELL")) read_cell_card(rs, rd);
  if (rs.msg.IHALT != 0) return;
  if (is_wavel_card(card)) read_wavel_card(rs, rd);
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
  // A file that is not text would read as nothing but comments: the run would go on with
  // every default, as if the file had been empty.
  if (const std::string why = not_text(*exp); !why.empty()) {
    run::fatal(rs, "EXPERIMENT FILE '" + rs.files.FNAME[0] + "' IS NOT TEXT (" + why + ")");
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
    // A UTF-8 byte-order mark (written by some editors) is not part of the first card.
    if (rd.line == 0 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    rd.card = make_card(line);
    rd.line += 1;
    if (rd.card.find_first_not_of(" \t") != std::string::npos) rd.text_lines += 1;
    if (rd.card.compare(0, 6, "      ") == 0) continue;
    upper_case(rd.card);
    handle_card(rs, rd);
    if (rs.msg.IHALT != 0) return;
    check_card_spelling(rs, rd);
    if (rs.msg.IHALT != 0) return;
  }
  if (rd.cards == 0 && rd.text_lines > 0) {
    run::warn(rs, "NO CARD RECOGNISED IN EXPERIMENT FILE '" + rs.files.FNAME[0] +
                      "': EVERY VALUE IS ITS DEFAULT");
  }
  finish_exp_file(rs, rd);
}

}  // namespace vorlane::expfile
