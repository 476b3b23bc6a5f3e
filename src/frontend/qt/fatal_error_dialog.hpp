#pragma once
// Dialog 103: the fatal-error box.
#include <QDialog>

namespace vorlane::frontend::qt {

class FatalErrorDialog : public QDialog {
  Q_OBJECT
 public:
  FatalErrorDialog(const QString& message, QWidget* parent = nullptr);
};

}  // namespace vorlane::frontend::qt
