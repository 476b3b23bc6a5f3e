#include "frontend/qt/warning_dialog.hpp"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "frontend/message_dialog_ids.hpp"
#include "frontend/qt/dialog_look.hpp"
#include "frontend/qt/widget_ids.hpp"

namespace vorlane::frontend::qt {

WarningDialog::WarningDialog(const QString& message, QWidget* parent) : QDialog(parent) {
  namespace ids = warning_dialog;
  set_up_small_dialog(*this);
  auto* title = make_label(this, ids::title_id, qstr(ids::title), true);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  auto* text = make_label(this, ids::message_id, message, true);
  auto* goes_on = make_label(this, ids::continue_id, qstr(ids::will_continue), true);
  auto* ok = make_button(this, ids::ok_id, "OK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addWidget(title);
  texts->addWidget(text);
  texts->addWidget(goes_on);
  auto* top = new QHBoxLayout;
  top->addWidget(make_icon(this, QStyle::SP_MessageBoxWarning));
  top->addLayout(texts, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
}

}  // namespace vorlane::frontend::qt
