#pragma once
// Helpers for the window tests: the application object, a scripted runner for the modal
// dialogs, finding controls by their template ids, and screenshots.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QString>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "frontend/qt/dialog_runner.hpp"

namespace vorlane::testing {

// The one QApplication of the test program (offscreen when no platform is chosen).
QApplication& qt_app();

// The folder screenshots go to: <build folder>/screenshots.
std::string screenshot_dir();
// Writes a PNG of `widget` as <screenshot_dir>/<name>.png and returns its path.
std::string save_screenshot(QWidget& widget, const std::string& name);

// The widget of control `id` inside `parent` (object name "control_<id>").
template <class W = QWidget>
W* find_control(QWidget& parent, int id) {
  return parent.findChild<W*>(QStringLiteral("control_%1").arg(id));
}
std::string label_text(QWidget& parent, int id);
std::string button_text(QWidget& parent, int id);
// Clicks control `id` (a button) as the user would.
void click(QWidget& parent, int id);

// Answers modal dialogs in turn: each answer inspects the dialog, clicks in it and returns
// the dialog's result. Dialogs without an answer left are closed (rejected).
class ScriptedRunner {
 public:
  std::deque<std::function<int(QDialog&)>> answers;
  std::vector<std::string> shown;  // class names of the dialogs, in order
  std::vector<std::string> texts;  // the label texts of each dialog, joined by " | "

  frontend::qt::DialogRunner runner();
};

// Answers that click a button of the dialog and return its result.
std::function<int(QDialog&)> press(int button_id);
// Types `path`'s name into a file dialog opened in `path`'s folder, then presses Open/Save.
std::function<int(QDialog&)> type_file_name(const std::string& path);
// Clicks a radio button, then OK.
std::function<int(QDialog&)> choose_and_ok(int radio_id);

}  // namespace vorlane::testing
