#include <algorithm>

#include "expfile/laue_classes.hpp"
#include "expfile/symmetry_cards.hpp"
#include "expfile/symmetry_cards_closure.hpp"
#include "expfile/symmetry_cards_triplet.hpp"

namespace vorlane::expfile {

void READ_LAUE(symmetry::SpaceGroup& sg, std::string_view card, int length, int /*column*/,
               int& error, int& LAUECLS) {
  for (std::size_t s = 1; s < sg.SYMROT.size(); ++s) {
    sg.SYMROT[s] = symmetry::Mat3{};
    sg.SYMTRN[s] = symmetry::Vec3{};
  }
  error = SYMCARD_OK;
  const std::string_view text = card.substr(0, std::min(card.size(), static_cast<std::size_t>(length)));
  // Highest row first: with the trailing blanks of the symbols this keeps 6/MMM from being
  // read as 6/M or MMM, and M3M from being read as M3.
  int row = 0;
  for (int r = static_cast<int>(LAUE_CLASSES.size()); r >= 1 && row == 0; --r) {
    if (text.find(LAUE_CLASSES[static_cast<std::size_t>(r - 1)].symbol) != std::string_view::npos) {
      row = r;
    }
  }
  if (row == 0) {
    error = SYMCARD_BAD;
    return;
  }
  const LaueClass& lc = LAUE_CLASSES[static_cast<std::size_t>(row - 1)];
  LAUECLS = row;
  sg.NSYMOP = 2;
  sg.SYMROT[1] = symmetry::Mat3{-1, 0, 0, 0, -1, 0, 0, 0, -1};
  sg.SYMTRN[1] = symmetry::Vec3{};
  for (const std::string_view g : lc.generators) {
    if (g.empty()) break;
    const auto slot = static_cast<std::size_t>(sg.NSYMOP);
    parse_triplet(g, sg.SYMROT[slot], sg.SYMTRN[slot]);
    complete_group(sg);
  }
  int count = 0;
  for (const auto& p : lc.planes) {
    if (p != std::array<int, 4>{}) ++count;
  }
  if (sg.NPLANE + count > symmetry::MAX_PLANE) {
    error = SYMCARD_TOO_MANY_PLANES;
    return;
  }
  for (const auto& p : lc.planes) {
    if (p == std::array<int, 4>{}) break;
    sg.IPLANE[static_cast<std::size_t>(sg.NPLANE)] = p;
    sg.NPLANE = sg.NPLANE + 1;
  }
}

}  // namespace vorlane::expfile
