#include "frontend/qt/qt_dialogs.hpp"

#include <cstdio>

#include "frontend/qt/fatal_error_dialog.hpp"
#include "frontend/qt/format_dialog.hpp"
#include "frontend/qt/sigma_ratio_dialog.hpp"
#include "frontend/qt/warning_dialog.hpp"
#include "frontend/qt/widget_ids.hpp"

namespace vorlane::frontend::qt {

void QtDialogs::fatal_box(std::string_view text) {
  FatalErrorDialog dialog(qstr(text), parent_);
  runner_(dialog);
}

void QtDialogs::warning_box(std::string_view text) {
  WarningDialog dialog(qstr(text), parent_);
  runner_(dialog);
}

int QtDialogs::ask_format(int, std::string_view shown_name, int current) {
  FormatDialog dialog(qstr(shown_name), current, parent_);
  runner_(dialog);
  return dialog.flag();
}

int QtDialogs::ask_sigma_ratio(std::string_view ratio_line) {
  SigmaRatioDialog dialog(qstr(ratio_line), parent_);
  return SigmaRatioDialog::answer(runner_(dialog));
}

void QtDialogs::standard_output(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace vorlane::frontend::qt
