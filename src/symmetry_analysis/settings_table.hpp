#pragma once
// gemmi's space-group settings with what the analysis needs of each: the Laue group in the
// setting's own axes and the operators that make reflections absent.
#include <string>
#include <vector>

#include <gemmi/symmetry.hpp>

#include "symmetry_analysis/rotation.hpp"

namespace vorlane::symmetry_analysis {

struct Setting {
  const gemmi::SpaceGroup* group = nullptr;
  char centring = 'P';  // gemmi's centring letter of the setting
  PointGroup laue;       // the rotations of the point group and their negatives
  gemmi::GroupOps ops;
};

// Every setting of gemmi's table except rhombohedral axes (":R"), in the table's order.
const std::vector<Setting>& settings_table();

// The name of a Laue class for the JSON list: -1 2/m mmm 4/m 4/mmm -3 -3m1 -31m 6/m 6/mmm
// m-3 m-3m, the trigonal ones named for their orientation, and the extended symbol of the
// primitive symmorphic group of that Laue group in the same axes (e.g. "P 1 1 2/m").
struct LaueName {
  std::string symbol;
  std::string setting;
};
LaueName laue_name(const PointGroup& laue);

}  // namespace vorlane::symmetry_analysis
