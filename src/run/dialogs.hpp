#pragma once
// The only way the core reaches the user: the warning and fatal-error boxes, the two
// questions, and the few messages meant for standard output. The command line implements it
// on the terminal, the window with Qt dialogs, the tests with a scripted fake.
#include <string_view>

namespace vorlane::run {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Fatal-error box: `text` is already cut as the box shows it. Returns when acknowledged.
  virtual void fatal_box(std::string_view text) = 0;
  // Warning box with the text as the box shows it. Returns when acknowledged.
  virtual void warning_box(std::string_view text) = 0;
  // Format question for file 3 (input) or 4 (output), showing `shown_name`. Returns 0 for
  // Zezor, 1 for SHELX, or `current` when the user closes it without choosing.
  virtual int ask_format(int file_number, std::string_view shown_name, int current) = 0;
  // Sigma-ratio question, showing `ratio_line`. Returns 1 for Yes, 0 for No, -1 when the
  // box is closed without an answer.
  virtual int ask_sigma_ratio(std::string_view ratio_line) = 0;
  // A line meant for standard output.
  virtual void standard_output(std::string_view line) = 0;
};

}  // namespace vorlane::run

namespace vorlane::frontend {
// The front ends implement it under their own name.
using Dialogs = run::Dialogs;
}  // namespace vorlane::frontend
