#include "frontend/qt/dialog_look.hpp"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "frontend/control_ids.hpp"
#include "frontend/qt/widget_ids.hpp"

namespace vorlane::frontend::qt {

void set_up_small_dialog(QDialog& dialog) {
  dialog.setWindowTitle(qstr(text::dialog_title));
  dialog.setModal(true);
  dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  dialog.setWindowFlag(Qt::WindowCloseButtonHint, true);
  dialog.setMinimumWidth(420);
}

QLabel* make_label(QWidget* parent, int id, const QString& text, bool centred) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(control_name(id));
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  if (centred) label->setAlignment(Qt::AlignCenter);
  return label;
}

QPushButton* make_button(QWidget* parent, int id, std::string_view text) {
  auto* button = new QPushButton(qstr(text), parent);
  button->setObjectName(control_name(id));
  return button;
}

QLabel* make_icon(QWidget* parent, QStyle::StandardPixmap which) {
  auto* icon = new QLabel(parent);
  const int size = parent->style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
  icon->setPixmap(parent->style()->standardIcon(which).pixmap(size, size));
  icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  return icon;
}

void build_message_box(QDialog& dialog, const MessageBoxTexts& t, QStyle::StandardPixmap icon) {
  set_up_small_dialog(dialog);
  auto* title = make_label(&dialog, t.title_id, t.title, true);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  auto* text = make_label(&dialog, t.message_id, t.message, true);
  auto* footer = make_label(&dialog, t.footer_id, t.footer, true);
  auto* ok = make_button(&dialog, t.ok_id, "OK");
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addWidget(title);
  texts->addWidget(text);
  texts->addWidget(footer);
  auto* top = new QHBoxLayout;
  top->addWidget(make_icon(&dialog, icon));
  top->addLayout(texts, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(top);
  layout->addLayout(buttons);
}

}  // namespace vorlane::frontend::qt
