#include "frontend/control_ids.hpp"
#include "frontend/main_dialog_model.hpp"
#include "run/run_files.hpp"

namespace vorlane::frontend {

bool MainDialogModel::CLOSE_PROGRAM() {
  for (int id : control::browse_buttons) set_enabled(id, false);
  // A run may follow on the same files (the experiment file read anew), or Reset goes back
  // to choosing files.
  set_enabled(control::reset, true);
  set_enabled(control::run, true);
  set_enabled(control::exit, true);
  set_enabled(control::view_print, true);
  return run::close_run_files(rs_.files);
}

}  // namespace vorlane::frontend
