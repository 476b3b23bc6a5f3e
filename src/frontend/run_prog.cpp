#include <exception>

#include "frontend/control_ids.hpp"
#include "frontend/get_format.hpp"
#include "frontend/main_dialog_model.hpp"
#include "input/content_check.hpp"

namespace vorlane::frontend {

void MainDialogModel::RUN_PROG() {
  const auto& f = rs_.files;
  if (state_ != DialogState::Selecting || f.IEXPOPEN + f.IPRTOPEN + f.IINOPEN + f.IOUTOPEN != 4)
    return;
  rs_.dialogs = &dialogs_;
  // Everything a run can throw ends here, reported in the fatal-error box: the window then
  // shows the halted state instead of vanishing.
  try {
    decide_formats(rs_.files, dialogs_);
    // A file whose content is not of the format its name says is not read at all.
    const std::string misread =
        input::content_check_message(rs_.files.paths[run::INPUT - 1], rs_.files.INFMT);
    if (!misread.empty()) {
      report_failure(misread);
      enter_halted();
      return;
    }
    state_ = DialogState::Running;
    set_status(text::processing_data);
    for (int id : control::buttons) set_enabled(id, false);
    repaint();
    run_(rs_);
  } catch (const std::exception& e) {
    halt_on_failure(e.what());
    return;
  } catch (...) {
    halt_on_failure("unexpected failure during the run");
    return;
  }
  if (rs_.msg.IHALT == 1) {
    // The stage that failed has shown the fatal-error box; the box's consequences follow.
    enter_halted();
    return;
  }
  set_status(text::finished);
  repaint();
  bool closed = false;
  try {
    closed = CLOSE_PROGRAM();
  } catch (...) {
  }
  if (!closed) {
    // A listing or reflection file that could not be completed is no success.
    report_failure("ERROR WRITING THE PRINT FILE OR THE OUTPUT DATA FILE");
    enter_halted();
    return;
  }
  state_ = DialogState::Finished;
  for (int id : control::view_buttons) set_enabled(id, true);
  repaint();
}

}  // namespace vorlane::frontend
