#include "frontend/control_ids.hpp"
#include "frontend/main_dialog_model.hpp"

namespace vorlane::frontend {

void MainDialogModel::CHECK_RUN() {
  if (state_ != DialogState::Selecting) return;
  set_enabled(control::reset, true);
  set_enabled(control::exit, true);
  const auto& f = rs_.files;
  const bool all_open = f.IEXPOPEN + f.IPRTOPEN + f.IINOPEN + f.IOUTOPEN == 4;
  // Run follows the open files both ways, so a failed re-selection disables it again.
  set_enabled(control::run, all_open);
  set_status(all_open ? text::run_program : text::select_files);
}

}  // namespace vorlane::frontend
