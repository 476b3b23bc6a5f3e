#pragma once
// Everything one run shares, split by owner. Stages take the whole state by reference;
// library routines take the narrowest part they need.
#include <memory>

#include "averaging/run_results.hpp"
#include "expfile/run_controls.hpp"
#include "run/dialogs.hpp"
#include "geometry/cell_state.hpp"
#include "output/clock.hpp"
#include "run/messages.hpp"
#include "run/reflection_list.hpp"
#include "run/report_files.hpp"
#include "run/run_files.hpp"
#include "statistics/statistics.hpp"
#include "symmetry/cell_table.hpp"
#include "symmetry/space_group.hpp"

namespace vorlane::symmetry_analysis { struct Analysis; }

namespace vorlane::run {

struct RunState {
  RunFiles files;
  MessageState msg;
  expfile::RunControls ctl;
  geometry::CellState cell;
  symmetry::SpaceGroup sg;
  symmetry::CellTable celltab;
  ReflectionList refl;
  averaging::RunResults res;
  statistics::Statistics stats;  // shell and batch figures, filled after the output
  // The symmetry found from the measurements when the cell is known (the print file's,
  // report's and window's tables); null when it was not worked out.
  std::shared_ptr<const symmetry_analysis::Analysis> symmetry;
  ReportFiles report;
  output::Clock clock;  // date and time of the print header; tests set a fixed one
  // Never null during a run: the front end sets it before calling the driver.
  Dialogs* dialogs = nullptr;
};

}  // namespace vorlane::run
