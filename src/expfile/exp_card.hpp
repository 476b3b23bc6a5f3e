#pragma once
// One card of the experiment file: 80 columns, upper-cased, searched for fixed texts.
#include <string>
#include <string_view>

namespace vorlane::expfile {

inline constexpr int CARD_LENGTH = 80;

// The line as an 80-column card: cut at column 80 or padded with blanks; a carriage return
// left at the end of a line from a CRLF file is dropped first.
std::string make_card(std::string_view line);

// Letters a to z become capitals; nothing else changes.
void upper_case(std::string& card);

// Column (1-based) directly behind `keyword` when its first occurrence on the card begins at
// or after column `from`; 0 when the keyword is missing or its first occurrence starts earlier.
int column_after(std::string_view card, std::string_view keyword, int from);

// Whether `word` stands anywhere on the card.
inline bool on_card(std::string_view card, std::string_view word) {
  return card.find(word) != std::string_view::npos;
}

// The card from `column` (1-based) to its end; empty beyond column 80.
std::string_view from_column(std::string_view card, int column);

}  // namespace vorlane::expfile
