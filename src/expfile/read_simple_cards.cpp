// TITLE, WAVEL, UB/UBL and BLAXES cards.
#include <cmath>
#include <string>

#include "expfile/card_numbers.hpp"
#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "geometry/mat3_ops.hpp"
#include "records/edit_list.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {

void read_title_card(run::RunState& rs, const ExpReading& rd) {
  rs.ctl.TITLE = rd.card.substr(6) + std::string(6, ' ');
}

bool is_wavel_card(std::string_view card) {
  return card.starts_with("WAVEL") && card.size() > 5 && (card[5] == ' ' || card[5] == '\t');
}

void warn_card_repeated(run::RunState& rs, const ExpReading& rd, std::string_view name,
                        int earlier) {
  run::warn(rs, records::format(R"("EXP FILE LINE",I5,": ")", rd.line).front() + std::string(name) +
                    " CARD REPEATS THE ONE ON LINE " + std::to_string(earlier) +
                    ", WHICH IT REPLACES");
}

void read_wavel_card(run::RunState& rs, ExpReading& rd) {
  if (rd.wavel_line != 0) warn_card_repeated(rs, rd, "WAVEL", rd.wavel_line);
  rd.wavel_line = rd.line;
  // The first number (a line or radiation number) is read as an integer and discarded.
  records::FreeReader reader(from_column(rd.card, 7));
  int ignored = 0;
  float wave = rs.ctl.WAVE;
  if (next_number(reader, ignored) != Got::value || next_number(reader, wave) != Got::value ||
      !(wave > 0.0f)) {
    card_read_error(rs, rd.card);
    return;
  }
  rs.ctl.WAVE = wave;
  rs.ctl.wave_from_card = 1;
}

void read_ub_card(run::RunState& rs, ExpReading& rd) {
  const bool ubl = rd.card.compare(0, 3, "UBL") == 0;
  if (ubl) rd.ubl = 1;
  auto& ctl = rs.ctl;
  ctl.NUBLIN += 1;
  if (ctl.NUBLIN == 4) {
    run::fatal(rs, "TOO MANY UB LINES IN EXP FILE");
    return;
  }
  records::FreeReader reader(from_column(rd.card, ubl ? 4 : 3));
  for (int j = 1; j <= 3; ++j) {
    float v = geometry::at(rs.cell.UB, ctl.NUBLIN, j);
    if (next_number(reader, v) != Got::value) {
      card_read_error(rs, rd.card);
      return;
    }
    geometry::at(rs.cell.UB, ctl.NUBLIN, j) = v;
  }
}

void read_blaxes_card(run::RunState& rs, const ExpReading& rd) {
  records::FreeReader reader(from_column(rd.card, 7));
  for (int& n : rs.ctl.BLAXES) {
    if (next_number(reader, n) != Got::value) {
      card_read_error(rs, rd.card);
      return;
    }
  }
}

}  // namespace vorlane::expfile
