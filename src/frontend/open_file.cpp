#include <exception>

#include "frontend/file_kinds.hpp"
#include "frontend/main_dialog_model.hpp"
#include "frontend/run_file_checks.hpp"
#include "frontend/writable_file.hpp"
#include "run/messages.hpp"
#include "run/run_files.hpp"

namespace vorlane::frontend {
namespace {

// File pickers hand over UTF-8; the path type must know that on every platform.
std::filesystem::path path_from_utf8(const std::string& s) {
  return std::filesystem::path(std::u8string(s.begin(), s.end()));
}

}  // namespace

bool MainDialogModel::reopen(int slot, const std::filesystem::path& path) {
  const auto i = static_cast<std::size_t>(slot - 1);
  const FileKind& kind = file_kind(slot);
  // A file already chosen for another role (or written beside the output) is refused before it
  // is opened: opening truncates an output file and appends to a print file.
  std::array<std::filesystem::path, 4> chosen = chosen_;
  chosen[i] = path;
  const std::string shared = shared_file_message(chosen_file_roles(chosen), false);
  if (!shared.empty()) {
    chosen_[i].clear();
    rs_.files.FNAME[i].clear();
    run::warn(rs_, shared);
    set_text(kind.name_label, kind.failed_label);
    return false;
  }
  bool ok = false;
  if (slot == run::OUTPUT) {
    // Choosing an output file must not destroy it: it is only checked here, and opened
    // (replaced) when a run starts.
    run::close_run_file(rs_.files, slot);
    ok = can_write_file(path);
    if (ok) {
      rs_.files.FNAME[i] = run::base_name(path.string());
      rs_.files.paths[i] = path;
      rs_.files.open_flag(slot) = 1;
    }
  } else {
    ok = run::open_run_file(rs_.files, slot, path);
  }
  if (ok) {
    chosen_[i] = path;
    set_text(kind.name_label, rs_.files.FNAME[i]);
    return true;
  }
  chosen_[i].clear();
  rs_.files.FNAME[i].clear();
  rs_.files.paths[i].clear();
  run::warn(rs_, kind.open_error);
  set_text(kind.name_label, kind.failed_label);
  return false;
}

void MainDialogModel::select(int slot, const std::string& utf8_path) {
  name_fields_[static_cast<std::size_t>(slot - 1)] = utf8_path;
  reopen(slot, path_from_utf8(utf8_path));
}

void MainDialogModel::open_file(int slot) {
  if (state_ != DialogState::Selecting) return;
  const auto i = static_cast<std::size_t>(slot - 1);
  auto& files = rs_.files;
  rs_.dialogs = &dialogs_;

  // A file of this kind already chosen is closed first, and the dialog starts from it.
  std::filesystem::path previous;
  if (files.open_flag(slot) == 1) {
    previous = chosen_[i];
    name_fields_[i] = reinterpret_cast<const char*>(previous.u8string().c_str());
    run::close_run_file(files, slot);
  }

  const auto choice = picker_.pick(file_request(slot, name_fields_[i]));
  if (!choice) {
    // A cancelled re-selection keeps the file chosen before, so that label, open flag and
    // Run button agree.
    if (!previous.empty()) {
      reopen(slot, previous);
      CHECK_RUN();
    }
    return;
  }
  select(slot, *choice);
  CHECK_RUN();
}

void MainDialogModel::choose_files(const std::array<std::string, 4>& paths) {
  if (state_ == DialogState::Running) return;
  if (state_ != DialogState::Selecting) RESET_FILES();
  rs_.dialogs = &dialogs_;
  for (int slot = 1; slot <= 4; ++slot) select(slot, paths[static_cast<std::size_t>(slot - 1)]);
  CHECK_RUN();
}

std::array<std::string, 4> MainDialogModel::chosen_paths() const {
  std::array<std::string, 4> out;
  for (std::size_t i = 0; i < 4; ++i)
    out[i] = reinterpret_cast<const char*>(chosen_[i].u8string().c_str());
  return out;
}

}  // namespace vorlane::frontend
