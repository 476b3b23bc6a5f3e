#include <string>

#include "expfile/symmetry_cards.hpp"
#include "records/edit_list.hpp"

namespace vorlane::expfile {
namespace {

// Five columns for one coefficient: nothing for 0, the bare letter for 1, the number in three
// columns otherwise; after the first column a "+" leads the field.
std::string term(int value, char letter, bool first) {
  if (value == 0) return std::string(5, ' ');
  std::string f = first ? " " : "+";
  if (value == 1) {
    f += "   ";
  } else {
    f += records::format_I(value, 3);
  }
  f += letter;
  return f;
}

}  // namespace

void UNITIN_EXP(const symmetry::SpaceGroup& sg, records::PrintFile& prt) {
  static const records::EditList heading("//\"     Asymmetric unit for averaging: \"/");
  prt.put(heading);
  for (int j = 0; j < sg.NPLANE; ++j) {
    const auto& p = sg.IPLANE[static_cast<std::size_t>(j)];
    prt.write_record(term(p[0], 'h', true) + term(p[1], 'k', false) + term(p[2], 'l', false) +
                     ">=" + records::format_I(p[3], 3));
  }
}

}  // namespace vorlane::expfile
