#include <algorithm>
#include <string>

#include "expfile/symmetry_cards.hpp"
#include "records/fixed_reader.hpp"

namespace vorlane::expfile {

void READ_UNITIN(symmetry::SpaceGroup& sg, std::string_view card, int length, int column,
                 int& error) {
  if (sg.NPLANE >= symmetry::MAX_PLANE) {
    error = SYMCARD_TOO_MANY_PLANES;
    return;
  }
  sg.NPLANE = sg.NPLANE + 1;
  auto& plane = sg.IPLANE[static_cast<std::size_t>(sg.NPLANE - 1)];
  // Four integers in five-column fields from `column` on; the card is blank beyond its end.
  std::string text(card.substr(0, std::min(card.size(), static_cast<std::size_t>(length))));
  const std::size_t start = column > 0 ? static_cast<std::size_t>(column - 1) : 0;
  if (text.size() < start + 20) text.resize(start + 20, ' ');
  for (int f = 0; f < 4; ++f) {
    int value = 0;
    const auto result = records::read_I(std::string_view(text).substr(start + 5 * f, 5), value);
    if (result.status != records::ReadStatus::ok) {
      error = SYMCARD_BAD;
      return;
    }
    plane[static_cast<std::size_t>(f)] = value;
  }
}

}  // namespace vorlane::expfile
