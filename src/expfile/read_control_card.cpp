// The run-control keywords of a VORLAN card. Keywords are plain substrings (first occurrence)
// of the upper-cased card and are handled in a fixed order.
#include "expfile/card_numbers.hpp"
#include "expfile/card_spelling.hpp"
#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "records/edit_list.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {

namespace {

std::string_view first_word(std::string_view text) {
  const std::size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return text.substr(b, text.find(' ', b) - b);
}

// Reads one real from `text` into `value`: a missing or malformed number (or NaN, infinity)
// is the card's fatal read error. False when the run stops.
bool required_real(run::RunState& rs, const ExpReading& rd, std::string_view text,
                   float& value) {
  records::FreeReader reader(text);
  if (next_number(reader, value) == Got::value) return true;
  card_read_error(rs, rd.card);
  return false;
}

// 2THETA ... MAX / MIN: the number stands in the ten columns behind the word.
bool read_limit(run::RunState& rs, const ExpReading& rd, std::string_view word, float& value) {
  const int col = column_after(rd.card, word, 1);
  if (col == 0) return true;
  if (col + 9 > CARD_LENGTH) {  // the ten columns would run past the card
    card_read_error(rs, rd.card);
    return false;
  }
  if (!required_real(rs, rd, rd.card.substr(static_cast<std::size_t>(col - 1), 10), value))
    return false;
  // The ten columns hold the number as it stands on the card, or the card is refused: a
  // number that runs past them (or starts beyond them) would be read cut short.
  records::FreeReader words(from_column(rd.card, col));
  float written = value;
  if (next_number(words, written) == Got::value && written == value) return true;
  const std::string_view columns = std::string_view(rd.card).substr(
      static_cast<std::size_t>(col - 1), 10);
  run::fatal(rs, records::format(R"("EXP FILE LINE",I5,": 2THETA ")", rd.line).front() +
                     std::string(word) + " READS " + std::string(first_word(columns)) +
                     " FROM ITS TEN COLUMNS BUT THE CARD SHOWS " +
                     std::string(first_word(from_column(rd.card, col))) + ": " +
                     card_for_message(rd.card));
  return false;
}

// The card's line and text, for the fatal errors of values no run can use.
void refuse(run::RunState& rs, const ExpReading& rd, std::string_view what) {
  run::fatal(rs, records::format(R"("EXP FILE LINE",I5,": ")", rd.line).front() +
                     std::string(what) + ": " + card_for_message(rd.card));
}

}  // namespace

void read_control_card(run::RunState& rs, ExpReading& rd) {
  auto& ctl = rs.ctl;
  const std::string& card = rd.card;

  read_symmetry_keywords(rs, rd);
  if (rs.msg.IHALT != 0) return;

  if (column_after(card, "OUTLIER", 7)) {
    if (on_card(card, "NONE")) ctl.IREJMODE = 0;
    else ctl.IREJMODE = (on_card(card, "SYMMETRY") ? 1 : 0) + (on_card(card, "DAC") ? 2 : 0);
  }

  if (const int col = column_after(card, "BLESSING", 3)) {
    // A short or unreadable list ends the card quietly; the values read so far stay.
    records::FreeReader reader(from_column(card, col));
    for (float& b : ctl.BLESS) {
      const Got got = next_number(reader, b);
      if (got == Got::missing || got == Got::bad) {
        warn_values_not_read(rs, rd);
        return;
      }
      if (got == Got::infinite) {
        card_read_error(rs, card);
        return;
      }
    }
    // Blessing's tests divide by these parameters and scale by them: a negative one turns a
    // test round, and all four zero reject whatever lies below the mean.
    const auto& b = ctl.BLESS;
    if (b[0] < 0.0f || b[1] < 0.0f || b[2] < 0.0f || b[3] < 0.0f) {
      refuse(rs, rd, "A BLESSING PARAMETER IS NEGATIVE");
      return;
    }
    if (b[0] == 0.0f && b[1] == 0.0f && b[2] == 0.0f && b[3] == 0.0f) {
      refuse(rs, rd, "THE BLESSING PARAMETERS ARE ALL ZERO");
      return;
    }
  }

  if (column_after(card, "OUTPUT", 5)) {
    if (on_card(card, "INDIVIDUAL")) ctl.IOUTAVE = 0;
    if (on_card(card, "NOSINGLET")) ctl.INOSING = 1;
  }

  if (column_after(card, "ABSENT", 5)) {
    if (on_card(card, "REJECT")) ctl.IABSENT = 2;
    if (on_card(card, "LESSTHAN")) ctl.IABSENT = 1;
    if (on_card(card, "INCLUDE")) ctl.IABSENT = 0;
  }

  if (const int col = column_after(card, "LESSTHAN", 3)) {
    if (!on_card(card, "ABSENT")) {
      records::FreeReader reader(from_column(card, col));
      const Got got = next_number(reader, ctl.LTHRESH);
      if (got == Got::missing || got == Got::bad) {
        warn_values_not_read(rs, rd);
        return;
      }
      if (got == Got::infinite) {
        card_read_error(rs, card);
        return;
      }
    }
    if (column_after(card, "REJECT", 2)) ctl.IREJLT = 1;
  }

  if (column_after(card, "2THETA", 5)) {
    if (!read_limit(rs, rd, "MAX", ctl.TTHMAX)) return;
    if (!read_limit(rs, rd, "MIN", ctl.TTHMIN)) return;
    // A window that holds no angle would reject every reflection: the card is wrong.
    // MIN = MAX holds a single angle, which no measured 2theta meets exactly.
    if (ctl.TTHMIN >= ctl.TTHMAX) {
      run::fatal(rs, "EMPTY 2THETA WINDOW:  STRING WAS: " + make_card(card));
      return;
    }
  }

  if (const int col = column_after(card, "SCALE", 2)) {
    if (!required_real(rs, rd, from_column(card, col), ctl.OSCALE)) return;
    // Zero writes every intensity as 0; a negative factor writes negative sigmas.
    if (!(ctl.OSCALE > 0.0f)) {
      refuse(rs, rd, "SCALE MUST BE ABOVE 0");
      return;
    }
    ctl.scale_from_card = 1;
  }

  if (column_after(card, "FRIEDEL", 1)) {
    if (on_card(card, "NOFLIP")) ctl.INOFLIP = 1;
  }

  // SIGMA MEAN: the output sigma of an average is that of the weighted mean; SIGMA SPREAD
  // (the default) the spread of one observation.
  if (column_after(card, "SIGMA", 1)) {
    if (on_card(card, "MEAN")) ctl.sigma_convention = 1;
    else if (on_card(card, "SPREAD")) ctl.sigma_convention = 0;
    else warn_values_not_read(rs, rd);
  }

  read_opening(rs, rd);
}

}  // namespace vorlane::expfile
