#include "frontend/qt/dialog_look.hpp"

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

}  // namespace vorlane::frontend::qt
