// SPACEGROUP: a space group by its Hermann-Mauguin symbol or its number, in any setting of
// gemmi's table but rhombohedral axes. The operators go through READ_SYMM and the planes of
// the Laue class, in the orientation of the group's axes, through READ_UNITIN, exactly as if
// the SYMOP and UNITIN cards had been written out, so the program's own symmetry code is the
// one that builds the group.
#include <array>
#include <cctype>
#include <string>
#include <string_view>

#include <gemmi/symmetry.hpp>

#include "expfile/exp_card.hpp"
#include "expfile/exp_reading.hpp"
#include "expfile/laue_classes.hpp"
#include "expfile/laue_of_group.hpp"
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

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
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
  const gemmi::SpaceGroup* entry = symbol.empty() ? nullptr : look_up(symbol);
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
  rd.spacegroup = 1;
  const gemmi::GroupOps ops = entry->operations();
  auto& sg = rs.sg;
  int error = 0;
  const auto add = [&](const gemmi::Op& op) {
    const std::string card = "SYMOP " + upper(op.triplet());
    READ_SYMM(sg, card, static_cast<int>(card.size()), 7, error);
  };
  for (const gemmi::Op& op : ops.sym_ops) add(op);
  for (const gemmi::Op::Tran& t : ops.cen_ops) add(gemmi::Op{gemmi::Op::identity().rot, t});

  // The planes of the Laue class, turned with the group's axes where its unique axis is not
  // the table's (a monoclinic group with unique axis a or c).
  const LaueSetting setting = laue_setting_of_group(sg);
  if (setting.row == 0) {
    run::fatal(rs, line_text(rd) + "SPACEGROUP " + entry->xhm() +
                       " IS NOT IN A SETTING OF THE LAUE TABLE");
    return;
  }
  for (const auto& p : LAUE_CLASSES[static_cast<std::size_t>(setting.row - 1)].planes) {
    if (p == std::array<int, 4>{}) break;
    const std::array<int, 4> q = plane_in_setting(p, setting);
    const std::string card =
        "UNITIN" + records::format("4I5", q[0], q[1], q[2], q[3]).front();
    int ierr = SYMCARD_OK;
    READ_UNITIN(sg, card, static_cast<int>(card.size()), 7, ierr);
    if (ierr != SYMCARD_OK) {
      run::fatal(rs, TOO_MANY_PLANES_MESSAGE);
      return;
    }
  }
  rs.ctl.space_group_name = entry->xhm();
  rs.ctl.space_group_number = entry->number;
  rs.ctl.laue_row = setting.row;
}

}  // namespace vorlane::expfile
