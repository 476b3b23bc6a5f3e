#pragma once
// The common look of the small message and question dialogs: caption "Vorlane 2.22", a
// decorative icon beside the text, centred static texts.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <string_view>

namespace vorlane::frontend::qt {

// Caption, modality and a close box for one of the small dialogs.
void set_up_small_dialog(QDialog& dialog);
// A label with the control id as object name; `centred` centres it, long texts wrap.
QLabel* make_label(QWidget* parent, int id, const QString& text, bool centred);
// A push button with the control id as object name.
QPushButton* make_button(QWidget* parent, int id, std::string_view text);
// A decorative icon of the platform style.
QLabel* make_icon(QWidget* parent, QStyle::StandardPixmap which);

// The texts of a box that tells something and waits for OK: a bold title, the message and a
// closing line, each a centred static control with its id.
struct MessageBoxTexts {
  int title_id;
  QString title;
  int message_id;
  QString message;
  int footer_id;
  QString footer;
  int ok_id;
};
// Lays out the fatal-error and the warning box alike: icon beside the three texts, OK below.
void build_message_box(QDialog& dialog, const MessageBoxTexts& texts, QStyle::StandardPixmap icon);

}  // namespace vorlane::frontend::qt
