// The LAUE keyword with the symbols crystallographers write beside the table's own.
#include <array>
#include <string>
#include <utility>

#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "expfile/symmetry_cards.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {
namespace {

// Written symbol (upper case) -> the table's spelling, where the two differ.
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> ALIASES{{
    {"M-3M", "M3M"},
    {"M-3", "M3"},
}};

}  // namespace

bool read_laue_keyword(run::RunState& rs, ExpReading& rd) {
  std::string card = rd.card;
  const int col = column_after(card, "LAUE", 5);
  // The first word behind the keyword is the symbol the user wrote.
  const std::size_t start = card.find_first_not_of(' ', static_cast<std::size_t>(col - 1));
  if (start != std::string::npos) {
    const std::size_t end = std::min(card.find(' ', start), card.size());
    const std::string word = card.substr(start, end - start);
    if (word == "-3M") {
      run::fatal(rs, "LAUE -3M IS AMBIGUOUS: WRITE -3M1 (E.G. P-3M1, R-3M) OR -31M (E.G. P-31M)");
      return false;
    }
    for (const auto& [written, table] : ALIASES) {
      if (word == written) {
        // The table's symbol in place of the written one, blank-padded to the same width.
        std::string replacement(table);
        replacement.resize(word.size(), ' ');
        card.replace(start, word.size(), replacement);
      }
    }
  }
  READ_LAUE(rs.sg, card, CARD_LENGTH, col, rd.ierr, rs.ctl.LAUECLS);
  return symmetry_code_ok(rs, rd.ierr, "   ERROR IN READING LAUE CLASS SYMBOL ");
}

}  // namespace vorlane::expfile
