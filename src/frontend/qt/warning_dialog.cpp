#include "frontend/qt/warning_dialog.hpp"

#include "frontend/message_dialog_ids.hpp"
#include "frontend/qt/dialog_look.hpp"
#include "frontend/qt/widget_ids.hpp"

namespace vorlane::frontend::qt {

WarningDialog::WarningDialog(const QString& message, QWidget* parent) : QDialog(parent) {
  namespace ids = warning_dialog;
  build_message_box(*this,
                    {ids::title_id, qstr(ids::title), ids::message_id, message, ids::continue_id,
                     qstr(ids::will_continue), ids::ok_id},
                    QStyle::SP_MessageBoxWarning);
}

}  // namespace vorlane::frontend::qt
