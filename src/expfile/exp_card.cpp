#include "expfile/exp_card.hpp"

namespace vorlane::expfile {

std::string make_card(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::string card(line.substr(0, CARD_LENGTH));
  card.resize(CARD_LENGTH, ' ');
  return card;
}

void upper_case(std::string& card) {
  for (char& c : card)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

int column_after(std::string_view card, std::string_view keyword, int from) {
  const auto pos = card.find(keyword);
  if (pos == std::string_view::npos || static_cast<int>(pos) + 1 < from) return 0;
  return static_cast<int>(pos + keyword.size()) + 1;
}

std::string_view from_column(std::string_view card, int column) {
  const auto start = static_cast<std::size_t>(column - 1);
  if (column < 1 || start >= card.size()) return {};
  return card.substr(start);
}

}  // namespace vorlane::expfile
