#include "frontend/qt/sigma_ratio_dialog.hpp"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "frontend/message_dialog_ids.hpp"
#include "frontend/qt/dialog_look.hpp"
#include "frontend/qt/widget_ids.hpp"

namespace vorlane::frontend::qt {

SigmaRatioDialog::SigmaRatioDialog(const QString& ratio_line, QWidget* parent)
    : QDialog(parent) {
  namespace ids = sigma_dialog;
  set_up_small_dialog(*this);
  auto* ratio = make_label(this, ids::ratio_id, ratio_line, false);
  auto* question = make_label(this, ids::question_id, qstr(ids::plain_question), false);
  QFont bold = question->font();
  bold.setBold(true);
  question->setFont(bold);
  auto* explanation = make_label(this, ids::explanation_id, qstr(ids::explanation), false);
  remember_ = new QCheckBox(qstr(ids::remember), this);
  remember_->setObjectName(control_name(ids::remember_id));
  remember_->setToolTip(QStringLiteral("Answer so from now on without asking (kept in the window's settings)"));
  auto* yes = make_button(this, ids::yes_id, ids::yes);
  auto* no = make_button(this, ids::no_id, ids::no);
  connect(yes, &QPushButton::clicked, this, [this] { done(yes_result); });
  connect(no, &QPushButton::clicked, this, [this] { done(no_result); });

  auto* texts = new QVBoxLayout;
  texts->addWidget(ratio);
  texts->addWidget(question);
  texts->addWidget(explanation);
  auto* top = new QHBoxLayout;
  top->addWidget(make_icon(this, QStyle::SP_MessageBoxQuestion));
  top->addLayout(texts, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(remember_);
  buttons->addStretch();
  buttons->addWidget(yes);
  buttons->addWidget(no);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
}

bool SigmaRatioDialog::remember() const { return remember_->isChecked(); }

int SigmaRatioDialog::answer(int result) {
  if (result == yes_result) return 1;
  if (result == no_result) return 0;
  return -1;
}

}  // namespace vorlane::frontend::qt
