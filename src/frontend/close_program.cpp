#include "frontend/control_ids.hpp"
#include "frontend/main_dialog_model.hpp"
#include "run/run_files.hpp"

namespace vorlane::frontend {

bool MainDialogModel::CLOSE_PROGRAM() {
  for (int id : control::browse_buttons) set_enabled(id, false);
  set_enabled(control::reset, false);
  set_enabled(control::run, false);
  set_enabled(control::exit, true);
  set_enabled(control::view_print, true);
  return run::close_run_files(rs_.files);
}

}  // namespace vorlane::frontend
