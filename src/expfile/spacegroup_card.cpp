// SPACEGROUP: a space group by its Hermann-Mauguin symbol or its number, in any setting of
// gemmi's table but rhombohedral axes, or AUTO: the group is found from the data once they
// are read.
#include <cctype>
#include <string>
#include <string_view>

#include <gemmi/symmetry.hpp>

#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "expfile/put_space_group.hpp"
#include "expfile/symmetry_cards.hpp"
#include "records/edit_list.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {
namespace {

// The other keywords of a control card: the symbol ends where the first of them begins.
constexpr std::array<std::string_view, 12> OTHER_KEYWORDS{
    "SYMOP", "UNITIN", "LAUE", "OUTLIER", "BLESSING", "OUTPUT",
    "ABSENT", "LESSTHAN", "2THETA", "SCALE", "FRIEDEL", "SIGMA"};

std::string trimmed(std::string_view s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  const auto e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

std::string symbol_on_card(std::string_view card, int column) {
  std::string_view rest = from_column(card, column);
  std::size_t end = rest.size();
  for (const std::string_view k : OTHER_KEYWORDS) end = std::min(end, rest.find(k));
  return trimmed(rest.substr(0, end));
}

bool all_digits(const std::string& s) {
  if (s.empty()) return false;
  for (const char c : s)
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
  return true;
}

// By symbol gemmi's match, taking origin choice 2 when the symbol does not ask for ":1".
const gemmi::SpaceGroup* by_name(const std::string& symbol) {
  const gemmi::SpaceGroup* sg = gemmi::find_spacegroup_by_name(symbol);
  if (sg != nullptr && sg->ext == '1' && symbol.find(':') == std::string::npos) {
    if (const gemmi::SpaceGroup* two = gemmi::find_spacegroup_by_name(symbol + ":2")) sg = two;
  }
  return sg;
}

std::string without_blanks(const std::string& s) {
  std::string out;
  for (const char c : s)
    if (c != ' ') out += c;
  return out;
}

// The table entry: by number the reference setting (origin choice 2, hexagonal axes); by
// symbol gemmi's match. gemmi passes over blanks between the parts of a full symbol but not
// inside the short monoclinic ones, so "P 21 /c" is looked up again without its blanks, as
// "P21/c"; a symbol gemmi knows as written is taken as written.
const gemmi::SpaceGroup* look_up(const std::string& symbol) {
  if (all_digits(symbol)) {
    if (symbol.size() > 3) return nullptr;
    const int n = std::stoi(symbol);
    if (n < 1 || n > 230) return nullptr;
    return &gemmi::get_spacegroup_reference_setting(n);
  }
  if (const gemmi::SpaceGroup* sg = by_name(symbol)) return sg;
  if (std::isalpha(static_cast<unsigned char>(symbol.front())) == 0) return nullptr;
  return by_name(without_blanks(symbol));
}

std::string line_text(const ExpReading& rd) {
  return records::format(R"("LINE",I4,": ")", rd.line).front();
}

}  // namespace

void read_spacegroup_card(run::RunState& rs, ExpReading& rd, int column) {
  if (rd.spacegroup != 0) {
    run::fatal(rs, "TWO SPACEGROUP CARDS FOUND: NOT ALLOWED");
    return;
  }
  if (rs.ctl.LAUECLS != 0) {
    run::fatal(rs, "LAUE AND SPACEGROUP CARDS FOUND: NOT ALLOWED");
    return;
  }
  if (rd.symmetry_cards != 0) {
    run::fatal(rs, "SYMOP OR UNITIN AND SPACEGROUP CARDS FOUND: NOT ALLOWED");
    return;
  }
  const std::string symbol = symbol_on_card(rd.card, column);
  if (symbol.empty()) {
    run::fatal(rs, line_text(rd) + "UNKNOWN SPACE GROUP SYMBOL OR NUMBER: " + symbol);
    return;
  }
  rd.spacegroup = 1;
  if (symbol == "AUTO") {  // the card is upper case already
    rs.ctl.space_group_auto = true;
    return;
  }
  const gemmi::SpaceGroup* entry = look_up(symbol);
  if (entry == nullptr) {
    run::fatal(rs, line_text(rd) + "UNKNOWN SPACE GROUP SYMBOL OR NUMBER: " + symbol);
    return;
  }
  if (entry->ext == 'R') {
    run::fatal(rs, line_text(rd) + "SPACEGROUP " + symbol +
                       " IS IN RHOMBOHEDRAL AXES: USE HEXAGONAL AXES (" +
                       std::string(entry->hm) + ":H) AND A HEXAGONAL CELL");
    return;
  }
  if (const std::string error = put_space_group(rs, *entry); !error.empty())
    run::fatal(rs, error == TOO_MANY_PLANES_MESSAGE ? error : line_text(rd) + error);
}

}  // namespace vorlane::expfile
