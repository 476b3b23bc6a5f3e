#include "symmetry_analysis/lattice_symmetry.hpp"

#include <algorithm>

#include <gemmi/twin.hpp>
#include <gemmi/unitcell.hpp>

#include "symmetry_analysis/settings_table.hpp"

namespace vorlane::symmetry_analysis {

Rot niggli_axes(const Crystal& crystal) {
  gemmi::GruberVector gv(gemmi::UnitCell(crystal.cell), 'P', true);
  gv.niggli_reduce(1e-9 * std::min({gv.A, gv.B, gv.C}));
  Rot n{};
  // The change of basis holds the new axes as columns.
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) n[j * 3 + i] = gv.change_of_basis->rot[i][j] / gemmi::Op::DEN;
  return n;
}

LatticeSymmetry lattice_symmetry(const Crystal& crystal, char letter, double tolerance_deg) {
  LatticeSymmetry result;
  const gemmi::UnitCell cell(crystal.cell);
  const gemmi::GroupOps ops = gemmi::find_lattice_symmetry(cell, letter, tolerance_deg);
  std::vector<Rot> proper;
  for (const gemmi::Op& op : ops.sym_ops) {
    Rot r{};
    bool integral = true;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        integral = integral && op.rot[i][j] % gemmi::Op::DEN == 0;
        r[i * 3 + j] = op.rot[i][j] / gemmi::Op::DEN;
      }
    if (integral && determinant(r) == 1) proper.push_back(r);
  }
  std::sort(proper.begin(), proper.end());
  proper.erase(std::unique(proper.begin(), proper.end()), proper.end());
  proper.erase(std::remove(proper.begin(), proper.end(), IDENTITY), proper.end());
  proper.insert(proper.begin(), IDENTITY);
  result.proper = proper;
  result.holohedry = with_inversion(proper);

  for (const Setting& s : settings_table()) {
    if (s.centring != letter) continue;
    if (!s.laue.subgroup_of(result.holohedry)) continue;
    const bool known = std::any_of(result.candidates.begin(), result.candidates.end(),
                                   [&](const LaueCandidate& c) {
                                     return c.group.rotations == s.laue.rotations;
                                   });
    if (known) continue;
    LaueCandidate c;
    c.group = s.laue;
    const LaueName name = laue_name(s.laue);
    c.symbol = name.symbol;
    c.setting = name.setting;
    result.candidates.push_back(c);
  }
  std::sort(result.candidates.begin(), result.candidates.end(),
            [](const LaueCandidate& a, const LaueCandidate& b) {
              if (a.group.rotations.size() != b.group.rotations.size())
                return a.group.rotations.size() > b.group.rotations.size();
              return a.setting < b.setting;
            });
  if (!result.candidates.empty()) result.highest = result.candidates.front();
  result.lattice_beyond_settings =
      result.candidates.empty() ||
      result.highest.group.rotations.size() < result.holohedry.rotations.size();
  return result;
}

}  // namespace vorlane::symmetry_analysis
