#include "output/cif_space_group.hpp"

#include <gemmi/symmetry.hpp>

namespace vorlane::output {
namespace {

// A data name padded to the column where the fragment's values start.
std::string item(std::string name, const std::string& value) {
  name.resize(35, ' ');
  return name + value;
}

}  // namespace

std::vector<std::string> space_group_items(const expfile::RunControls& ctl) {
  if (ctl.space_group_name.empty()) return {};
  // The name is gemmi's extended symbol of the setting (with ":1", ":2" or ":H" where the
  // table has more than one), so it finds the very entry the group was built from.
  const gemmi::SpaceGroup* sg = gemmi::find_spacegroup_by_name(ctl.space_group_name);
  if (sg == nullptr) return {};
  std::vector<std::string> lines;
  lines.push_back("");
  lines.push_back(item("_space_group_crystal_system", sg->crystal_system_str()));
  lines.push_back(item("_space_group_IT_number", std::to_string(sg->number)));
  // The symbol of the setting without the origin choice, which the dictionary leaves to the
  // operations below.
  lines.push_back(item("_space_group_name_H-M_alt", "'" + std::string(sg->hm) + "'"));
  lines.push_back("");
  lines.push_back("loop_");
  lines.push_back(" _space_group_symop_id");
  lines.push_back(" _space_group_symop_operation_xyz");
  // Every operation, centring translations included, the identity first (id 1), as the
  // dictionary asks for a list that generates the group with the primitive translations.
  int id = 0;
  for (const gemmi::Op& op : sg->operations())
    lines.push_back(" " + std::to_string(++id) + " '" + op.triplet() + "'");
  return lines;
}

}  // namespace vorlane::output
