// The steps after the last card: orientation matrix and the cells derived from it, the
// comparison with the CELL card, the B matrix, the completed space group and the absence rule.
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "expfile/exp_reading.hpp"
#include "expfile/symmetry_cards.hpp"
#include "geometry/calcb_from_cell.hpp"
#include "geometry/getcellvol.hpp"
#include "geometry/real_cell.hpp"
#include "geometry/recip_cell.hpp"
#include "geometry/rotate_ub.hpp"
#include "records/edit_list.hpp"
#include "run/messages.hpp"
#include "expfile/laue_of_group.hpp"
#include "expfile/setting_report.hpp"
#include "run/run_state.hpp"

namespace vorlane::expfile {

namespace {

void warn_cell_differs(run::RunState& rs) {
  static constexpr std::string_view layout =
      R"("UNIT CELL IN EXP FILE DIFFERENT FROM CALCULATED FROM UB MATRIX:   FROM UB:",7F10.4,)"
      R"("  FROM EXP:",7F10.4,"; THE UB CELL IS USED")";
  std::vector<records::Value> values;
  for (float v : rs.cell.UBCELL) values.emplace_back(v);
  values.emplace_back(rs.cell.CELLVOL);
  for (float v : rs.ctl.CELLPAR) values.emplace_back(v);
  run::warn_whole(rs, records::write_records(records::EditList(layout), values).front());
}

// The cell the run goes on with must close: positive edges and angles whose cosines leave a
// positive volume. Otherwise every later cell, B matrix and resolution would be NaN.
bool cell_is_valid(const std::array<float, 7>& cell) {
  if (!(cell[0] > 0.0f && cell[1] > 0.0f && cell[2] > 0.0f)) return false;
  for (int j = 3; j < 6; ++j)
    if (!(cell[j] > 0.0f && cell[j] < 180.0f)) return false;
  const float v = geometry::GETCELLVOL(cell, 0);
  return std::isfinite(v) && v > 0.0f;
}

}  // namespace

void finish_exp_file(run::RunState& rs, const ExpReading& rd) {
  auto& ctl = rs.ctl;
  auto& cell = rs.cell;

  // UBL cards hold the matrix in units of the wavelength (reciprocal lattice vectors scaled
  // by lambda); the wavelength in force at the end of the file takes them to 1/Angstrom.
  if (rd.ubl != 0)
    for (float& u : cell.UB) u /= ctl.WAVE;

  if (ctl.NUBLIN == 3) {
    geometry::ROTATE_UB(rs);
    geometry::RECIP_CELL(rs);
    if (rs.msg.IHALT != 0) return;
    geometry::REAL_CELL(rs);
    if (rs.msg.IHALT != 0) return;
  } else if (ctl.NUBLIN != 0) {
    run::fatal(rs, "ERROR IN READ_HKL: ONLY PART OF UB MATRIX PRESENT");
    return;
  }

  if (ctl.NUBLIN == 3) {
    bool differs = ctl.EXPVOL < 0.1f;  // no usable CELL card: the matrix's cell is the cell
    if (!differs) {
      for (int j = 0; j < 6; ++j)
        differs = differs || std::abs(cell.UBCELL[j] - ctl.CELLPAR[j]) > 0.01f * cell.UBCELL[j];
      if (differs) warn_cell_differs(rs);
    }
    // The orientation matrix decides where every reflection lies (its 2theta, its path
    // through a diamond-anvil cell), so a CELL card that disagrees with it would count
    // reflections against another lattice: every figure that needs a cell then takes the
    // matrix's. A card within 1 % of it (a refined cell, as integration programs write it)
    // stays. A UB matrix without a CELL card gives the cell all the same: 2theta from the
    // indices, completeness and shells are worked out from it.
    if (differs) {
      for (int j = 0; j < 6; ++j) ctl.CELLPAR[j] = cell.UBCELL[j];
      ctl.EXPVOL = cell.CELLVOL;
    }
    ctl.ICELL = 1;
  }

  check_opening(rs);
  if (rs.msg.IHALT != 0) return;

  if (ctl.ICELL == 1 && !cell_is_valid(ctl.CELLPAR)) {
    const auto& p = ctl.CELLPAR;
    run::fatal(rs, records::format(R"("INVALID UNIT CELL IN EXP FILE: ",6F10.4)", p[0], p[1], p[2],
                                   p[3], p[4], p[5])
                       .front());
    return;
  }

  if (ctl.NUBLIN == 0 && ctl.ICELL == 0) {
    ctl.IBMAT = 0;  // no cell known: later stages do without one
  } else {
    geometry::CALCB_FROM_CELL(cell, ctl.CELLPAR);
    ctl.IBMAT = 1;
  }

  SYMOP_EXP(rs.sg, rs.files.print);

  // Friedel mates as the command line asks, whatever FRIEDEL NOFLIP said.
  if (ctl.friedel_option >= 0) ctl.INOFLIP = ctl.friedel_option;
  if (ctl.sigma_option >= 0) ctl.sigma_convention = ctl.sigma_option;
  if (ctl.laue_row == 0) ctl.laue_row = laue_row_of_group(rs.sg);
  print_setting_lines(rs);

  // A Laue class has no translations, so space-group absences cannot be tested; without an
  // ABSENT keyword they are rejected.
  if (ctl.LAUECLS != 0) ctl.IABSENT = 3;
  else if (ctl.IABSENT == 3) ctl.IABSENT = 2;
}

}  // namespace vorlane::expfile
