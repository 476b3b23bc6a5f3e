#include "expfile/put_space_group.hpp"

#include <array>

#include <gemmi/symmetry.hpp>

#include "expfile/exp_card.hpp"
#include "expfile/laue_classes.hpp"
#include "expfile/laue_of_group.hpp"
#include "expfile/setting_report.hpp"
#include "expfile/symmetry_cards.hpp"
#include "records/edit_list.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {
std::string put_space_group(run::RunState& rs, const gemmi::SpaceGroup& entry) {
  const gemmi::GroupOps ops = entry.operations();
  auto& sg = rs.sg;
  int error = 0;
  const auto add = [&](const gemmi::Op& op) {
    std::string card = "SYMOP " + op.triplet();
    upper_case(card);
    READ_SYMM(sg, card, static_cast<int>(card.size()), 7, error);
  };
  for (const gemmi::Op& op : ops.sym_ops) add(op);
  for (const gemmi::Op::Tran& t : ops.cen_ops) add(gemmi::Op{gemmi::Op::identity().rot, t});

  // The planes of the Laue class, turned with the group's axes where its unique axis is not
  // the table's (a monoclinic group with unique axis a or c).
  const LaueSetting setting = laue_setting_of_group(sg);
  if (setting.row == 0) return "SPACEGROUP " + entry.xhm() + " IS NOT IN A SETTING OF THE LAUE TABLE";
  for (const auto& p : LAUE_CLASSES[static_cast<std::size_t>(setting.row - 1)].planes) {
    if (p == std::array<int, 4>{}) break;
    const std::array<int, 4> q = plane_in_setting(p, setting);
    const std::string card =
        "UNITIN" + records::format("4I5", q[0], q[1], q[2], q[3]).front();
    int ierr = SYMCARD_OK;
    READ_UNITIN(sg, card, static_cast<int>(card.size()), 7, ierr);
    if (ierr != SYMCARD_OK) return std::string(TOO_MANY_PLANES_MESSAGE);
  }
  rs.ctl.space_group_name = entry.xhm();
  rs.ctl.space_group_number = entry.number;
  rs.ctl.laue_row = setting.row;
  return {};
}

bool use_space_group_found(run::RunState& rs, const std::string& xhm) {
  const gemmi::SpaceGroup* entry = gemmi::find_spacegroup_by_name(xhm);
  if (entry == nullptr || entry->ext == 'R') {
    run::fatal(rs, "SPACEGROUP AUTO: NO USABLE SETTING OF " + xhm);
    return false;
  }
  INITSYM(rs.sg);
  if (const std::string error = put_space_group(rs, *entry); !error.empty()) {
    run::fatal(rs, "SPACEGROUP AUTO: " + error);
    return false;
  }
  SYMOP_EXP(rs.sg, rs.files.print);
  print_setting_lines(rs);
  return rs.msg.IHALT == 0;
}

}  // namespace vorlane::expfile
