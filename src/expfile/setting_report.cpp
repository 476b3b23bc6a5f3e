#include "expfile/setting_report.hpp"

#include <array>
#include <cmath>

#include "records/edit_list.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {
namespace {

bool near(float a, float b) { return std::abs(a - b) < 0.001f; }

bool has_vector(const symmetry::SpaceGroup& sg, float x, float y, float z) {
  for (int c = 1; c < sg.NCENVEC; ++c) {
    const auto& v = sg.CENVEC[static_cast<std::size_t>(c)];
    if (near(v[0], x) && near(v[1], y) && near(v[2], z)) return true;
  }
  return false;
}

}  // namespace

std::string laue_symbol(int row) {
  static constexpr std::array<const char*, 12> SYMBOLS{
      "-1", "2/m", "mmm", "4/m", "4/mmm", "-3", "-3m1", "-31m", "6/m", "6/mmm", "m-3", "m-3m"};
  if (row < 1 || row > 12) return {};
  return SYMBOLS[static_cast<std::size_t>(row - 1)];
}

std::string centring_letter(const run::RunState& rs) {
  const auto& sg = rs.sg;
  const float h = 0.5f;
  switch (sg.NCENVEC) {
    case 1: return "P";
    case 2:
      if (has_vector(sg, h, h, h)) return "I";
      if (has_vector(sg, h, h, 0)) return "C";
      if (has_vector(sg, 0, h, h)) return "A";
      if (has_vector(sg, h, 0, h)) return "B";
      return "?";
    case 3:
      if (has_vector(sg, 2.0f / 3, 1.0f / 3, 1.0f / 3)) return "R";
      return "?";
    case 4:
      if (has_vector(sg, h, h, 0) && has_vector(sg, 0, h, h) && has_vector(sg, h, 0, h)) return "F";
      return "?";
    default: return "?";
  }
}

std::vector<std::string> setting_lines(const run::RunState& rs) {
  const auto& ctl = rs.ctl;
  std::vector<std::string> lines;
  lines.push_back("Wavelength used:   " + records::format_F(ctl.WAVE, 8, 5) + " A, " +
                  (!ctl.wave_source.empty()    ? "from " + ctl.wave_source
                   : ctl.wave_from_card != 0 ? std::string("from the WAVEL card")
                                             : std::string("the default (no WAVEL card)")));
  // Said only when the cell did not come from the experiment file's own CELL card.
  if (!ctl.cell_source.empty() && ctl.ICELL == 1) {
    std::string cell = "Cell used:        ";
    for (int i = 0; i < 6; ++i) cell += records::format_F(ctl.CELLPAR[static_cast<std::size_t>(i)], 9, i < 3 ? 4 : 3);
    lines.push_back(cell + ", from " + ctl.cell_source);
  }

  std::string source;
  if (!ctl.space_group_name.empty()) {
    source = ctl.space_group_name + " (No. " + std::to_string(ctl.space_group_number) + ")";
    if (ctl.space_group_auto) source += " found from the data (SPACEGROUP AUTO)";
  } else if (ctl.space_group_auto) {
    source = "to be found from the data (SPACEGROUP AUTO)";
  } else if (ctl.LAUECLS != 0) {
    source = "LAUE card";
  } else if (rs.sg.NSYMOP > 1 || rs.sg.NCENVEC > 1) {
    source = "SYMOP cards";
  } else {
    source = "P1 (no symmetry card)";
  }
  const int ops = rs.sg.NSYMOP;
  std::string symmetry = "Symmetry used:     " + source + ", " + std::to_string(ops) +
                         (ops == 1 ? " operator" : " operators") + ", centring " +
                         centring_letter(rs) + ", Laue class ";
  symmetry += ctl.laue_row != 0 ? laue_symbol(ctl.laue_row) : std::string("not in the table");
  if (!ctl.symmetry_source.empty()) symmetry += ", from " + ctl.symmetry_source;
  lines.push_back(symmetry);

  // Without an asymmetric unit every reflection is its own representative: nothing is merged.
  const bool merged = ctl.INOFLIP == 0 && rs.sg.NPLANE > 0;
  std::string friedel = "Friedel mates:     ";
  friedel += merged ? "merged" : "kept apart";
  if (rs.sg.NPLANE == 0) friedel += " (no asymmetric unit)";
  else if (ctl.friedel_option >= 0) friedel += ctl.friedel_option == 1 ? " (--friedel keep)" : " (--friedel merge)";
  else if (ctl.INOFLIP == 1) friedel += " (FRIEDEL NOFLIP)";
  lines.push_back(friedel);
  if (rs.sg.ICENTRIC == 1 && merged) {
    lines.push_back(
        "The group is non-centrosymmetric and its Friedel mates are merged; to keep them apart "
        "give FRIEDEL NOFLIP or --friedel keep");
  }
  return lines;
}

void print_setting_lines(run::RunState& rs) {
  static const records::EditList first("/,1X,A");
  static const records::EditList next("1X,A");
  bool is_first = true;
  for (const std::string& line : setting_lines(rs)) {
    rs.files.print.put(is_first ? first : next, line);
    is_first = false;
  }
}

}  // namespace vorlane::expfile
