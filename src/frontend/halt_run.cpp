#include "frontend/control_ids.hpp"
#include "frontend/main_dialog_model.hpp"
#include "run/messages.hpp"

namespace vorlane::frontend {

void MainDialogModel::enter_halted() {
  set_status(text::halted);
  try {
    CLOSE_PROGRAM();
  } catch (...) {
    // The halted state is entered whatever closing the files met.
  }
  state_ = DialogState::Halted;
  repaint();
}

void MainDialogModel::report_failure(std::string_view message) noexcept {
  try {
    rs_.dialogs = &dialogs_;
    run::fatal(rs_, message);
    return;
  } catch (...) {
  }
  // Logging it failed as well: the box alone must still tell the user.
  rs_.msg.IHALT = 1;
  try {
    dialogs_.fatal_box(run::fatal_box_text(message));
  } catch (...) {
  }
}

void MainDialogModel::halt_on_failure(std::string_view what) {
  report_failure("INTERNAL ERROR: " + std::string(what));
  enter_halted();
}

}  // namespace vorlane::frontend
