#include "input/swapped_listing.hpp"

#include <string>

#include "records/edit_list.hpp"
#include "run/messages.hpp"

namespace vorlane::input {

void SwappedReflections::add(const std::array<int, 3>& h, int max_listed) {
  ++count_;
  if (static_cast<int>(listed_.size()) < max_listed) listed_.push_back(h);
}

void SwappedReflections::report(run::RunState& rs) const {
  if (count_ <= 0) return;
  if (!rs.ctl.space_group_name.empty()) {
    // The group is named, so its operators and asymmetric unit are the table's and cannot
    // disagree: a non-centrosymmetric group whose Friedel mates are merged sends every
    // reflection outside the unit to its Friedel mate, as asked. Nothing to check.
    run::note(rs, std::to_string(count_) +
                      " reflections were merged with their Friedel mates as equivalents (" +
                      rs.ctl.space_group_name +
                      " is non-centrosymmetric and Friedel mates are merged). To keep Friedel "
                      "mates apart give VORLAN FRIEDEL NOFLIP or --friedel keep");
  } else {
    run::warn(rs, records::format_I(count_, 5) + " Reflections transformed to Friedel mates." +
                      " Check consistency of UNITIN and SYMOP cards");
  }
  records::PrintFile& print = rs.files.print;
  const records::EditList heading(
      "(/,5X,\"The following input hkl's swapped to \",\"Friedel mates:\",/)");
  print.put(heading);
  const records::EditList line("(5X,3I5)");
  for (const std::array<int, 3>& h : listed_) print.put(line, h[0], h[1], h[2]);
}

}  // namespace vorlane::input
