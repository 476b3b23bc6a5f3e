// A UNITIN card is read in four five-column fields; a number that strays from its field
// silently becomes another plane. The card is compared with what it shows when split at
// blanks, and a card whose two readings differ stops the run.
#include <string>
#include <vector>

#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "records/edit_list.hpp"
#include "records/fixed_reader.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {
namespace {

// The four fields as READ_UNITIN reads them; false when one is not an integer.
bool field_reading(std::string_view card, int column, std::array<int, 4>& v) {
  std::string text(card);
  const auto start = static_cast<std::size_t>(column - 1);
  if (text.size() < start + 20) text.resize(start + 20, ' ');
  for (std::size_t f = 0; f < 4; ++f) {
    if (records::read_I(std::string_view(text).substr(start + 5 * f, 5), v[f]).status !=
        records::ReadStatus::ok)
      return false;
  }
  return true;
}

// The first four words of the card behind the keyword as integers; false when they are not
// four integers.
bool word_reading(std::string_view card, int column, std::array<int, 4>& v) {
  const std::string_view text = from_column(card, column);
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size() && words.size() < 4) {
    const std::size_t b = text.find_first_not_of(' ', i);
    if (b == std::string_view::npos) break;
    const std::size_t e = std::min(text.find(' ', b), text.size());
    words.emplace_back(text.substr(b, e - b));
    i = e;
  }
  if (words.size() != 4) return false;
  for (std::size_t f = 0; f < 4; ++f) {
    if (records::read_I(words[f], v[f]).status != records::ReadStatus::ok) return false;
  }
  return true;
}

std::string four(const std::array<int, 4>& v) {
  return std::to_string(v[0]) + " " + std::to_string(v[1]) + " " + std::to_string(v[2]) + " " +
         std::to_string(v[3]);
}

}  // namespace

bool unitin_layout_agrees(run::RunState& rs, const ExpReading& rd, int column) {
  std::array<int, 4> fields{};
  std::array<int, 4> words{};
  const bool fields_read = field_reading(rd.card, column, fields);
  if (!word_reading(rd.card, column, words)) return true;
  if (fields_read && fields == words) return true;
  run::fatal(rs, records::format(R"("UNITIN ON LINE",I4,": FIELDS ")", rd.line).front() +
                     (fields_read ? "GIVE " + four(fields) : std::string("CANNOT BE READ")) +
                     ", CARD SHOWS " + four(words) +
                     records::format(R"(", RIGHT-ALIGN IN COLUMNS",I3,"-",I2)", column,
                                     column + 19)
                         .front());
  return false;
}

}  // namespace vorlane::expfile
