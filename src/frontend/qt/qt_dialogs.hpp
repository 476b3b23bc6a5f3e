#pragma once
// The Dialogs of the window: the boxes and questions as the modal dialogs 103 to 106.
#include <QString>
#include <QWidget>
#include <utility>

#include "frontend/qt/dialog_runner.hpp"
#include "run/dialogs.hpp"

class QSettings;

namespace vorlane::frontend::qt {

class QtDialogs : public Dialogs {
 public:
  // The settings key of a remembered answer to the sigma-ratio question: 1 Yes, 0 No.
  static inline const QString sigma_ratio_key = QStringLiteral("questions/sigma_ratio");

  explicit QtDialogs(QWidget* parent, DialogRunner runner = exec_runner())
      : parent_(parent), runner_(std::move(runner)) {}

  void fatal_box(std::string_view text) override;
  void warning_box(std::string_view text) override;
  int ask_format(int file_number, std::string_view shown_name, int current) override;
  // The remembered answer when there is one; otherwise the question, whose answer is
  // remembered when the user ticks the box and settings are given.
  int ask_sigma_ratio(std::string_view ratio_line) override;
  // Where answers are remembered; none (nothing remembered) when null.
  void remember_answers_in(QSettings* settings) { settings_ = settings; }
  // Whether a sigma-ratio question was answered from memory since the last call.
  bool take_answered_from_memory() { return std::exchange(answered_from_memory_, false); }
  // The window has no terminal of its own; the line goes to the process's standard output.
  void standard_output(std::string_view line) override;

 private:
  QWidget* parent_;
  DialogRunner runner_;
  QSettings* settings_ = nullptr;
  bool answered_from_memory_ = false;
};

}  // namespace vorlane::frontend::qt
