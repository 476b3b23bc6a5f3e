#pragma once
// A read-only monospaced view of a run file (print file, output data, CIF fragment) inside
// the program: find, copy, jump to the warnings and fatal errors of a print file, and open
// the file with the desktop's own application as a second way.
#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vorlane::frontend::qt {

class FileViewer : public QDialog {
  Q_OBJECT
 public:
  explicit FileViewer(std::function<bool(const QUrl&)> open_url, QWidget* parent = nullptr);

  // Shows `path`, read anew; a file that cannot be read says so in the view.
  void show_file(const QString& path);
  QString path() const { return path_; }
  QPlainTextEdit* text() const { return text_; }

  // Selects the next match of the find field after the cursor (wrapping); false when none.
  bool find_next();
  // Moves to the next warning or fatal-error block of a print file (wrapping).
  bool next_warning();
  void copy();
  void open_with_desktop();

 private:
  std::function<bool(const QUrl&)> open_url_;
  QString path_;
  QPlainTextEdit* text_;
  QLineEdit* find_;
  QLabel* note_;
};

}  // namespace vorlane::frontend::qt
