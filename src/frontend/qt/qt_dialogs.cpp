#include "frontend/qt/qt_dialogs.hpp"

#include <QSettings>
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
  if (settings_ != nullptr && settings_->contains(sigma_ratio_key)) {
    answered_from_memory_ = true;
    return settings_->value(sigma_ratio_key).toInt() == 1 ? 1 : 0;
  }
  SigmaRatioDialog dialog(qstr(ratio_line), parent_);
  const int answer = SigmaRatioDialog::answer(runner_(dialog));
  if (answer >= 0 && settings_ != nullptr && dialog.remember()) {
    settings_->setValue(sigma_ratio_key, answer);
    settings_->sync();
  }
  return answer;
}

void QtDialogs::standard_output(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace vorlane::frontend::qt
