#pragma once
// The Dialogs of the window: the boxes and questions as the modal dialogs 103 to 106.
#include <QWidget>

#include "run/dialogs.hpp"
#include "frontend/qt/dialog_runner.hpp"

namespace vorlane::frontend::qt {

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent, DialogRunner runner = exec_runner())
      : parent_(parent), runner_(std::move(runner)) {}

  void fatal_box(std::string_view text) override;
  void warning_box(std::string_view text) override;
  int ask_format(int file_number, std::string_view shown_name, int current) override;
  int ask_sigma_ratio(std::string_view ratio_line) override;
  // The window has no terminal of its own; the line goes to the process's standard output.
  void standard_output(std::string_view line) override;

 private:
  QWidget* parent_;
  DialogRunner runner_;
};

}  // namespace vorlane::frontend::qt
