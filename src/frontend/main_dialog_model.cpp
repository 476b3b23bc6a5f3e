#include "frontend/main_dialog_model.hpp"

#include "frontend/control_ids.hpp"
#include "run/run_files.hpp"

namespace vorlane::frontend {

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
      return run::beside_output(out, "_vorlane.cif");
    }
    default: return {};
  }
}

}  // namespace vorlane::frontend
