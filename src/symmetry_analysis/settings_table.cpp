#include "symmetry_analysis/settings_table.hpp"

#include <algorithm>

namespace vorlane::symmetry_analysis {
namespace {

Rot rot_of(const gemmi::Op& op) {
  Rot r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r[i * 3 + j] = op.rot[i][j] / gemmi::Op::DEN;
  return r;
}

std::vector<Setting> build_table() {
  std::vector<Setting> table;
  for (const gemmi::SpaceGroup& sg : gemmi::spacegroup_tables::main) {
    if (sg.ext == 'R') continue;
    Setting s;
    s.group = &sg;
    s.centring = sg.hm[0];
    s.ops = sg.operations();
    std::vector<Rot> rotations;
    for (const gemmi::Op& op : s.ops.sym_ops) rotations.push_back(rot_of(op));
    s.laue = with_inversion(rotations);
    table.push_back(std::move(s));
  }
  return table;
}

std::string laue_symbol(const gemmi::SpaceGroup& sg) {
  std::string symbol = sg.laue_str();
  if (symbol == "-3m") symbol = std::string(sg.hm).find("-3 1 m") != std::string::npos ? "-31m" : "-3m1";
  return symbol;
}

}  // namespace

const std::vector<Setting>& settings_table() {
  static const std::vector<Setting> table = build_table();
  return table;
}

LaueName laue_name(const PointGroup& laue) {
  for (const Setting& s : settings_table()) {
    if (s.centring != 'P' || !s.group->is_symmorphic() || !s.group->is_centrosymmetric())
      continue;
    if (s.laue.rotations == laue.rotations) return {laue_symbol(*s.group), s.group->hm};
  }
  // A Laue group of a centred setting without a primitive symmorphic twin in the same axes.
  for (const Setting& s : settings_table())
    if (s.laue.rotations == laue.rotations) return {laue_symbol(*s.group), s.group->xhm()};
  return {"?", "?"};
}

}  // namespace vorlane::symmetry_analysis
