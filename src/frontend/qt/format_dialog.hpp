#pragma once
// Dialog 105: which format a reflection file with an unknown extension has.
#include <QDialog>

class QRadioButton;

namespace vorlane::frontend::qt {

class FormatDialog : public QDialog {
  Q_OBJECT
 public:
  // `current` is the flag's value before the question (0 Zezor, 1 SHELX); it stays the answer
  // until a radio button is clicked.
  FormatDialog(const QString& shown_name, int current, QWidget* parent = nullptr);
  int flag() const { return flag_; }

 private:
  QRadioButton* zezor_ = nullptr;
  int flag_;
};

}  // namespace vorlane::frontend::qt
