#pragma once
// Dialog 104: the warning box.
#include <QDialog>

namespace vorlane::frontend::qt {

class WarningDialog : public QDialog {
  Q_OBJECT
 public:
  WarningDialog(const QString& message, QWidget* parent = nullptr);
};

}  // namespace vorlane::frontend::qt
