#pragma once
// The system's file dialog as the file handlers see it: a request describing the dialog, and a
// picker that shows it and returns the chosen full path, or nothing when the user cancels.
// The window implements it with the platform's native dialog; tests script the choices.
#include <optional>
#include <string>
#include <vector>

namespace vorlane::frontend {

struct FileFilter {
  std::string display;  // "Experiment"
  std::string pattern;  // "*.exp"
};

struct FileRequest {
  int slot = 0;              // 1 experiment, 2 print, 3 input data, 4 output data
  std::string title;         // "Open Experiment File"
  std::vector<FileFilter> filters;
  int selected_filter = 2;   // counted from 1
  std::string default_extension;  // added to a name typed without one
  bool save = false;              // a save dialog rather than an open dialog
  bool must_exist = false;        // only existing files may be chosen
  bool overwrite_prompt = false;  // ask before an existing file is replaced
  // What the dialog's name field holds: the file of this kind chosen before, or what the
  // field held after the last use of this dialog; empty at program start.
  std::string initial_name;
};

class FilePicker {
 public:
  virtual ~FilePicker() = default;
  // The chosen full path; nothing when the dialog was cancelled or could not be shown.
  virtual std::optional<std::string> pick(const FileRequest& request) = 0;
};

}  // namespace vorlane::frontend
