#include "qt/qt_test_support.hpp"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <filesystem>

namespace vorlane::testing {

QApplication& qt_app() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
    return *existing;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // QApplication keeps references to argc and argv for its whole life.
  static int argc = 1;
  static char name[] = "test_qt";
  static char* argv[] = {name, nullptr};
  // Never destroyed: torn down among the other statics at exit, the application deletes
  // input devices that the chart views' graphics scenes have already let go of.
  static auto* app = new QApplication(argc, argv);
  return *app;
}

std::string screenshot_dir() {
  const auto dir = std::filesystem::path(VORLANE_BIN_DIR).parent_path() / "screenshots";
  std::filesystem::create_directories(dir);
  return dir.string();
}

std::string save_screenshot(QWidget& widget, const std::string& name) {
  const auto path = (std::filesystem::path(screenshot_dir()) / (name + ".png")).string();
  widget.grab().save(QString::fromStdString(path), "PNG");
  return path;
}

std::string label_text(QWidget& parent, int id) {
  auto* label = find_control<QLabel>(parent, id);
  return label ? label->text().toStdString() : std::string("<no label ") + std::to_string(id) + ">";
}

std::string button_text(QWidget& parent, int id) {
  auto* button = find_control<QAbstractButton>(parent, id);
  return button ? button->text().toStdString()
                : std::string("<no button ") + std::to_string(id) + ">";
}

void click(QWidget& parent, int id) {
  auto* button = find_control<QAbstractButton>(parent, id);
  if (button == nullptr) throw std::runtime_error("no button " + std::to_string(id));
  // click() does what a mouse click does, and nothing for a disabled button.
  button->click();
}

frontend::qt::DialogRunner ScriptedRunner::runner() {
  return [this](QDialog& dialog) {
    shown.emplace_back(dialog.metaObject()->className());
    std::string joined;
    for (auto* label : dialog.findChildren<QLabel*>())
      if (!label->text().isEmpty()) joined += label->text().toStdString() + " | ";
    texts.push_back(joined);
    dialog.show();
    QCoreApplication::processEvents();
    if (answers.empty()) {
      dialog.reject();
      return dialog.result();
    }
    auto answer = answers.front();
    answers.pop_front();
    const int result = answer(dialog);
    dialog.hide();
    return result;
  };
}

std::function<int(QDialog&)> press(int button_id) {
  return [button_id](QDialog& dialog) {
    click(dialog, button_id);
    return dialog.result();
  };
}

std::function<int(QDialog&)> type_file_name(const std::string& path) {
  return [path](QDialog& dialog) {
    auto& fd = dynamic_cast<QFileDialog&>(dialog);
    const std::filesystem::path p(path);
    fd.setDirectory(QString::fromStdString(p.parent_path().string()));
    auto* name = fd.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name == nullptr) throw std::runtime_error("file dialog without a name field");
    name->setText(QString::fromStdString(p.filename().string()));
    dialog.accept();  // the dialog's Open / Save button
    return dialog.result();
  };
}

std::function<int(QDialog&)> choose_and_ok(int radio_id) {
  return [radio_id](QDialog& dialog) {
    click(dialog, radio_id);
    click(dialog, 1);
    return dialog.result();
  };
}

}  // namespace vorlane::testing

// fontconfig keeps the font cache it builds for Qt's first text layout until the process ends
// and frees no part of it; LeakSanitizer would report that one block of the library in every
// window test. Read by LeakSanitizer only in sanitizer builds.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
