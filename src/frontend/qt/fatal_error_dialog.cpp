#include "frontend/qt/fatal_error_dialog.hpp"

#include "frontend/message_dialog_ids.hpp"
#include "frontend/qt/dialog_look.hpp"
#include "frontend/qt/widget_ids.hpp"

namespace vorlane::frontend::qt {

FatalErrorDialog::FatalErrorDialog(const QString& message, QWidget* parent) : QDialog(parent) {
  namespace ids = fatal_dialog;
  build_message_box(*this,
                    {ids::title_id, qstr(ids::title), ids::message_id, message, ids::halted_id,
                     qstr(ids::halted), ids::ok_id},
                    QStyle::SP_MessageBoxCritical);
}

}  // namespace vorlane::frontend::qt
