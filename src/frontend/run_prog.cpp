#include <exception>
#include <sstream>
#include <string>

#include "frontend/cli_inputs.hpp"
#include "frontend/control_ids.hpp"
#include "frontend/file_kinds.hpp"
#include "frontend/get_format.hpp"
#include "frontend/main_dialog_model.hpp"
#include "input/content_check.hpp"
#include "run/messages.hpp"
#include "run/run_files.hpp"
#include "run/settle_outputs.hpp"

namespace vorlane::frontend {

bool MainDialogModel::prepare_run() {
  // Nothing of a previous run (cell, UB, title, results, halt flag) may carry over: the run
  // state is made anew, keeping only the files' names, the clock and the dialogs.
  run::RunState fresh;
  fresh.files.FNAME = rs_.files.FNAME;
  fresh.files.paths = rs_.files.paths;
  fresh.clock = rs_.clock;
  run::close_run_files(rs_.files);
  rs_ = std::move(fresh);
  rs_.dialogs = &dialogs_;
  // All four opened now: the experiment file is read from its start, the print file
  // appended to, the output replaced.
  bool ok = true;
  for (int slot = 1; slot <= 4; ++slot) {
    const auto i = static_cast<std::size_t>(slot - 1);
    if (chosen_[i].empty() || !run::open_run_file(rs_.files, slot, chosen_[i])) {
      const FileKind& kind = file_kind(slot);
      chosen_[i].clear();
      rs_.files.FNAME[i].clear();
      run::warn(rs_, kind.open_error);
      set_text(kind.name_label, kind.failed_label);
      ok = false;
    }
  }
  return ok;
}

void MainDialogModel::RUN_PROG() {
  const auto& f = rs_.files;
  const bool again = state_ == DialogState::Finished || state_ == DialogState::Halted;
  if (!again &&
      (state_ != DialogState::Selecting || f.IEXPOPEN + f.IPRTOPEN + f.IINOPEN + f.IOUTOPEN != 4))
    return;
  if (!prepare_run()) {
    // A file that vanished or became unwritable: back to choosing files.
    run::close_run_files(rs_.files);
    state_ = DialogState::Selecting;
    for (int id : control::browse_buttons) set_enabled(id, true);
    for (int id : control::view_buttons) set_enabled(id, false);
    for (int slot = 1; slot <= 4; ++slot)
      if (!chosen_[static_cast<std::size_t>(slot - 1)].empty()) rs_.files.open_flag(slot) = 1;
    CHECK_RUN();
    set_enabled(control::run, false);
    set_status(text::select_files);
    return;
  }
  warnings_.clear();
  rs_.dialogs = &warnings_;
  // Everything a run can throw ends here, reported in the fatal-error box: the window then
  // shows the halted state instead of vanishing.
  try {
    // A file of an integration program (XDS_ASCII, reflection CIF, MTZ) is read whole and
    // given to the run as the SHELX records of the same measurements, as on the command line;
    // its header completes the experiment file.
    const std::string input_path = rs_.files.paths[run::INPUT - 1].string();
    if (const auto integration = integration_format_for(-1, input_path)) {
      std::ostringstream why;
      if (!attach_integration_with_experiment(rs_, input_path, *integration, why)) {
        std::string message = why.str();
        if (message.starts_with("vorlane: ")) message.erase(0, 9);
        while (!message.empty() && message.back() == '\n') message.pop_back();
        report_failure(message);
        enter_halted();
        return;
      }
      decide_output_format(rs_.files, dialogs_);
    } else {
      decide_formats(rs_.files, dialogs_);
      // A file whose content is not of the format its name says is not read at all.
      const std::string misread = input::content_check_message(input_path, rs_.files.INFMT);
      if (!misread.empty()) {
        report_failure(misread);
        enter_halted();
        return;
      }
    }
    state_ = DialogState::Running;
    set_status(text::processing_data);
    for (int id : control::buttons) set_enabled(id, false);
    repaint();
    run_(rs_);
    // The output and the files beside it take their places only now, when the run has
    // finished; a halted run gives them up.
    run::settle_outputs(rs_);
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
