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
#include "frontend/run_warnings.hpp"
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
  // Chooses the four files of an earlier run by their full paths (the recent-runs list), as
  // if each had been picked in its dialog; from a finished or halted run it starts afresh.
  void choose_files(const std::array<std::string, 4>& paths);

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
  const run::RunState& run_state() const { return rs_; }
  // Every warning of the last run, in order; none was shown in a box.
  const std::vector<std::string>& run_warnings() const { return warnings_.warnings(); }
  // Full paths of the four files chosen (empty where none is).
  std::array<std::string, 4> chosen_paths() const;

 private:
  void set_enabled(int control, bool on) { enabled_[control] = on; }
  void set_text(int control, std::string_view t) { texts_[control] = std::string(t); }
  void set_status(std::string_view t) { set_text(control::status_line, t); }
  void repaint() {
    if (repaint_) repaint_();
  }
  bool reopen(int slot, const std::filesystem::path& path);
  void select(int slot, const std::string& utf8_path);
  // Every run starts from a fresh run state with the four files opened anew.
  bool prepare_run();
  void enter_halted();
  void report_failure(std::string_view message) noexcept;

  run::RunState& rs_;
  Dialogs& dialogs_;
  RunWarnings warnings_{dialogs_};
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
