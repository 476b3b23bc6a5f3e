#pragma once
// The main dialog's run control, free of any toolkit: which controls are enabled, what the
// name labels and the status line say, and the handlers behind the buttons. A view draws it
// and forwards clicks; tests drive it directly.
#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "frontend/control_ids.hpp"
#include "run/dialogs.hpp"
#include "frontend/file_picker.hpp"
#include "run/run_state.hpp"

namespace vorlane::frontend {

enum class DialogState { Selecting, Running, Finished, Halted };

class MainDialogModel {
 public:
  using RunFunction = std::function<void(run::RunState&)>;

  // `run` performs one data reduction on the open files (run::RUN_VORLANE in the program).
  // The model keeps references to all four; they must outlive it.
  MainDialogModel(run::RunState& rs, Dialogs& dialogs, FilePicker& picker, RunFunction run);

  // Called whenever texts or enabled states changed at a point where the user must see them
  // at once (the status line before and after a run), so a view can repaint mid-handler.
  void set_repaint(std::function<void()> repaint) { repaint_ = std::move(repaint); }

  // The Browse handlers (slot 1..4 in open_file).
  void OPEN_EXP() { open_file(run::EXPERIMENT); }
  void OPEN_PRINT() { open_file(run::PRINT); }
  void OPEN_INPUTDATA() { open_file(run::INPUT); }
  void OPEN_OUTPUTDATA() { open_file(run::OUTPUT); }
  void open_file(int slot);

  void CHECK_RUN();
  void RESET_FILES();
  void RUN_PROG();
  // Returns false when a written file could not be completed.
  bool CLOSE_PROGRAM();

  // Ends the run as halted after a failure that no stage reported (an exception reaching a
  // front-end boundary): fatal-error box with `what`, then the halted state.
  void halt_on_failure(std::string_view what);

  DialogState state() const { return state_; }
  bool enabled(int control) const;
  // Current text of a name label or the status line; empty for other controls.
  std::string text(int control) const;
  // The file a view button opens: print file, output data file or CIF fragment.
  std::filesystem::path view_path(int control) const;
  // What the file dialog of slot 1..4 shows in its name field next time.
  const std::string& name_field(int slot) const;

  run::RunState& run_state() { return rs_; }

 private:
  void set_enabled(int control, bool on) { enabled_[control] = on; }
  void set_text(int control, std::string_view t) { texts_[control] = std::string(t); }
  void set_status(std::string_view t) { set_text(control::status_line, t); }
  void repaint() {
    if (repaint_) repaint_();
  }
  bool reopen(int slot, const std::filesystem::path& path);
  void enter_halted();
  void report_failure(std::string_view message) noexcept;

  run::RunState& rs_;
  Dialogs& dialogs_;
  FilePicker& picker_;
  RunFunction run_;
  std::function<void()> repaint_;
  DialogState state_ = DialogState::Selecting;
  std::map<int, bool> enabled_;
  std::map<int, std::string> texts_;
  std::array<std::string, 4> name_fields_;
  std::array<std::filesystem::path, 4> chosen_;  // full paths of the files last opened
};

}  // namespace vorlane::frontend
