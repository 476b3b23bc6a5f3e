#include <algorithm>

#include "expfile/symmetry_cards.hpp"
#include "expfile/symmetry_cards_closure.hpp"
#include "expfile/symmetry_cards_triplet.hpp"

namespace vorlane::expfile {

void READ_SYMM(symmetry::SpaceGroup& sg, std::string_view card, int length, int column,
               int& /*error*/) {
  // The operator text runs from `column` to the end of the card; the parser reads blanks
  // beyond it.
  const std::size_t end = std::min(card.size(), static_cast<std::size_t>(length > 0 ? length : 0));
  const std::size_t start = column > 0 ? static_cast<std::size_t>(column - 1) : 0;
  const std::string_view text = start < end ? card.substr(start, end - start) : std::string_view();
  const auto slot = static_cast<std::size_t>(sg.NSYMOP);
  parse_triplet(text, sg.SYMROT[slot], sg.SYMTRN[slot]);
  complete_group(sg);
}

}  // namespace vorlane::expfile
