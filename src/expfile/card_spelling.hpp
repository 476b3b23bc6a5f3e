#pragma once
// Loud mistakes in the experiment file: lines that look like cards but are not, control cards
// without a keyword, keywords spelt one letter wrong, values a keyword cannot read. Each is a
// warning naming the line and the card; the reading goes on as before.
#include <string>
#include <string_view>

namespace vorlane::run { struct RunState; }

namespace vorlane::expfile {

struct ExpReading;

// Checks the current (upper-cased) card after it has been handled.
void check_card_spelling(run::RunState& rs, const ExpReading& rd);

// Warning for a control card whose keyword could not read its values.
void warn_values_not_read(run::RunState& rs, const ExpReading& rd);

// Whether the two words differ by one letter: one inserted, deleted or changed, or two
// neighbours swapped.
bool one_letter_away(std::string_view a, std::string_view b);

// The card as a message shows it: trailing blanks dropped, runs of blanks made one blank.
std::string card_for_message(std::string_view card);

}  // namespace vorlane::expfile
