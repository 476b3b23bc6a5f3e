#include "frontend/main_dialog_model.hpp"

#include "frontend/control_ids.hpp"
#include "run/run_files.hpp"

namespace vorlane::frontend {

std::string_view state_name(DialogState state) {
  switch (state) {
    case DialogState::Selecting: return "Selecting";
    case DialogState::Running: return "Running";
    case DialogState::Finished: return "Finished";
    case DialogState::Halted: return "Halted";
  }
  return "";
}

MainDialogModel::MainDialogModel(run::RunState& rs, Dialogs& dialogs, FilePicker& picker,
                                 RunFunction run)
    : rs_(rs), dialogs_(dialogs), picker_(picker), run_(std::move(run)) {
  rs_.msg.IHALT = 0;
  rs_.dialogs = &dialogs_;
  // The template's initial states: Run and the view buttons start disabled.
  for (int id : control::buttons) set_enabled(id, true);
  set_enabled(control::run, false);
  for (int id : control::view_buttons) set_enabled(id, false);
  for (int id : control::name_labels) set_text(id, text::no_file_selected);
  set_status(text::select_files);
}

bool MainDialogModel::enabled(int control) const {
  const auto it = enabled_.find(control);
  return it != enabled_.end() && it->second;
}

std::string MainDialogModel::text(int control) const {
  const auto it = texts_.find(control);
  return it == texts_.end() ? std::string() : it->second;
}

const std::string& MainDialogModel::name_field(int slot) const {
  return name_fields_.at(static_cast<std::size_t>(slot - 1));
}

std::filesystem::path MainDialogModel::view_path(int control) const {
  switch (control) {
    case control::view_print: return chosen_[run::PRINT - 1];
    case control::view_output: return chosen_[run::OUTPUT - 1];
    case control::view_cif: {
      // The CIF fragment is written beside the output data file.
      const auto& out = chosen_[run::OUTPUT - 1];
      if (out.empty()) return {};
      return out.parent_path() / run::cif_name(run::base_name(out.string()));
    }
    default: return {};
  }
}

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

void MainDialogModel::RESET_FILES() {
  if (state_ != DialogState::Selecting) return;
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

bool MainDialogModel::CLOSE_PROGRAM() {
  for (int id : control::browse_buttons) set_enabled(id, false);
  set_enabled(control::reset, false);
  set_enabled(control::run, false);
  set_enabled(control::exit, true);
  set_enabled(control::view_print, true);
  return run::close_run_files(rs_.files);
}

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
