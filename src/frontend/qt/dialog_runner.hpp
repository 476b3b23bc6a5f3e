#pragma once
// How a modal dialog is run. The program runs it with exec(); tests pass a runner that
// inspects the dialog, clicks its buttons and returns without an event loop.
#include <QDialog>
#include <functional>

namespace vorlane::frontend::qt {

// Returns the dialog's result code (QDialog::Accepted, QDialog::Rejected or a custom code).
using DialogRunner = std::function<int(QDialog&)>;

inline DialogRunner exec_runner() {
  return [](QDialog& dialog) { return dialog.exec(); };
}

}  // namespace vorlane::frontend::qt
