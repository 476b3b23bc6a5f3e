#include "frontend/qt/format_dialog.hpp"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "frontend/get_format.hpp"
#include "frontend/message_dialog_ids.hpp"
#include "frontend/qt/dialog_look.hpp"
#include "frontend/qt/widget_ids.hpp"

namespace vorlane::frontend::qt {

FormatDialog::FormatDialog(const QString& shown_name, int current, QWidget* parent)
    : QDialog(parent), flag_(current) {
  namespace ids = format_dialog;
  set_up_small_dialog(*this);
  auto* question = make_label(this, ids::question_id, qstr(ids::question), false);
  auto* name = make_label(this, ids::name_id, shown_name, false);
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);

  auto* group = new QGroupBox(qstr(ids::group), this);
  zezor_ = new QRadioButton(qstr(ids::zezor), group);
  zezor_->setObjectName(control_name(ids::zezor_id));
  auto* shelx = new QRadioButton(qstr(ids::shelx), group);
  shelx->setObjectName(control_name(ids::shelx_id));
  // The button of the value that OK keeps is shown selected.
  (current == 1 ? shelx : zezor_)->setChecked(true);
  for (auto* radio : {zezor_, shelx})
    connect(radio, &QRadioButton::clicked, this,
            [this] { flag_ = RADIOFORMAT(zezor_->isChecked()); });
  auto* radios = new QHBoxLayout(group);
  radios->addWidget(zezor_);
  radios->addWidget(shelx);

  auto* ok = make_button(this, ids::ok_id, "OK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addWidget(question);
  texts->addWidget(name);
  auto* top = new QHBoxLayout;
  top->addWidget(make_icon(this, QStyle::SP_MessageBoxQuestion));
  top->addLayout(texts, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(group);
  layout->addLayout(buttons);
}

}  // namespace vorlane::frontend::qt
