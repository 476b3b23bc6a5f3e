#include "frontend/control_ids.hpp"
#include "frontend/main_dialog_model.hpp"
#include "run/run_files.hpp"

namespace vorlane::frontend {

void MainDialogModel::RESET_FILES() {
  if (state_ == DialogState::Running) return;
  state_ = DialogState::Selecting;
  // Forgotten files are closed too: a file kept open without its flag would only hold the
  // descriptor (and, for the print file, a listing nobody writes to).
  run::close_run_files(rs_.files);
  for (int slot = 1; slot <= 4; ++slot) {
    rs_.files.open_flag(slot) = 0;
    rs_.files.FNAME[static_cast<std::size_t>(slot - 1)].clear();
    chosen_[static_cast<std::size_t>(slot - 1)].clear();
  }
  for (int id : control::name_labels) set_text(id, text::no_file_selected);
  set_enabled(control::run, false);
  for (int id : control::browse_buttons) set_enabled(id, true);
  for (int id : control::view_buttons) set_enabled(id, false);
  set_status(text::select_files);
}

}  // namespace vorlane::frontend
