#include "frontend/qt/file_viewer.hpp"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>
#include <QVBoxLayout>

namespace vorlane::frontend::qt {

FileViewer::FileViewer(std::function<bool(const QUrl&)> open_url, QWidget* parent)
    : QDialog(parent), open_url_(std::move(open_url)) {
  setObjectName(QStringLiteral("file_viewer"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
  auto* layout = new QVBoxLayout(this);

  auto* bar = new QHBoxLayout;
  find_ = new QLineEdit(this);
  find_->setObjectName(QStringLiteral("viewer_find"));
  find_->setPlaceholderText(QStringLiteral("Find"));
  find_->setClearButtonEnabled(true);
  find_->setMinimumWidth(find_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 14);
  auto button = [this, bar](const QString& name, const QString& label) {
    auto* b = new QPushButton(label, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    bar->addWidget(b);
    return b;
  };
  bar->addWidget(find_, 1);
  auto* next = button(QStringLiteral("viewer_find_next"), QStringLiteral("Find next"));
  auto* warn = button(QStringLiteral("viewer_next_warning"), QStringLiteral("Next warning"));
  auto* copy_button = button(QStringLiteral("viewer_copy"), QStringLiteral("Copy"));
  auto* desktop =
      button(QStringLiteral("viewer_open_desktop"), QStringLiteral("Open in desktop application"));
  layout->addLayout(bar);

  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("viewer_text"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // At least 80 columns by 20 lines of the listing.
  const QFontMetrics fixed(text_->font());
  text_->setMinimumSize(fixed.horizontalAdvance(QLatin1Char('0')) * 82, fixed.lineSpacing() * 20);
  layout->addWidget(text_, 1);
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("viewer_note"));
  layout->addWidget(note_);

  connect(find_, &QLineEdit::returnPressed, this, [this] { find_next(); });
  connect(next, &QPushButton::clicked, this, [this] { find_next(); });
  connect(warn, &QPushButton::clicked, this, [this] { next_warning(); });
  connect(copy_button, &QPushButton::clicked, this, [this] { copy(); });
  connect(desktop, &QPushButton::clicked, this, [this] { open_with_desktop(); });
  resize(900, 640);
}

void FileViewer::show_file(const QString& path) {
  path_ = path;
  setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" - Vorlane"));
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) {
    text_->setPlainText(QString::fromUtf8(file.readAll()));
    note_->setText(QDir::toNativeSeparators(path));
  } else {
    text_->clear();
    note_->setText(QStringLiteral("Cannot read ") + QDir::toNativeSeparators(path));
  }
  text_->moveCursor(QTextCursor::Start);
  show();
  raise();
  activateWindow();
}

bool FileViewer::find_next() {
  const QString what = find_->text();
  if (what.isEmpty()) return false;
  if (text_->find(what)) return true;
  text_->moveCursor(QTextCursor::Start);
  const bool found = text_->find(what);
  note_->setText(found ? QStringLiteral("Search started again from the top")
                       : QStringLiteral("Not found: ") + what);
  return found;
}

bool FileViewer::next_warning() {
  // The blocks of the print file begin "****WARNING:" or "****FATAL ERROR:".
  static const QRegularExpression block(QStringLiteral("\\*{4,}(WARNING|FATAL ERROR):"));
  if (text_->find(block)) return true;
  text_->moveCursor(QTextCursor::Start);
  const bool found = text_->find(block);
  if (!found) note_->setText(QStringLiteral("No warnings in this file"));
  return found;
}

void FileViewer::copy() {
  const QString selected = text_->textCursor().selectedText();
  // A selection spanning lines holds paragraph separators; the clipboard gets line ends.
  QString out = selected.isEmpty() ? text_->toPlainText() : selected;
  out.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  QApplication::clipboard()->setText(out);
}

void FileViewer::open_with_desktop() {
  if (path_.isEmpty()) return;
  if (!open_url_(QUrl::fromLocalFile(path_)))
    note_->setText(QStringLiteral("No application found to show ") +
                   QFileInfo(path_).fileName() + QStringLiteral(": it stays shown here."));
}

}  // namespace vorlane::frontend::qt
