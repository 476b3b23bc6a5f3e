#pragma once
// Dialog 106: whether the sigma ratio is to be applied to the singlets, asked in plain words,
// with a box to remember the answer.
#include <QDialog>

class QCheckBox;

namespace vorlane::frontend::qt {

class SigmaRatioDialog : public QDialog {
  Q_OBJECT
 public:
  // Result codes of Yes and No; closing the box gives QDialog::Rejected.
  static constexpr int yes_result = 2;
  static constexpr int no_result = 3;

  SigmaRatioDialog(const QString& ratio_line, QWidget* parent = nullptr);
  // 1 Yes, 0 No, -1 closed without an answer, for a result code of this dialog.
  static int answer(int result);
  // Whether "Remember this answer" was ticked.
  bool remember() const;

 private:
  QCheckBox* remember_ = nullptr;
};

}  // namespace vorlane::frontend::qt
