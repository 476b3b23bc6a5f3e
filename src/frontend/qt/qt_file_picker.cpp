#include "frontend/qt/qt_file_picker.hpp"

#include <QFileInfo>

#include "frontend/qt/widget_ids.hpp"

namespace vorlane::frontend::qt {

QString name_filter(const FileFilter& filter) {
  return QStringLiteral("%1 (%2)").arg(qstr(filter.display), qstr(filter.pattern));
}

void configure_file_dialog(QFileDialog& dialog, const FileRequest& request) {
  dialog.setWindowTitle(qstr(request.title));
  // A print file may be a new name, so only the kinds that must exist get an open dialog;
  // native open dialogs refuse names that do not exist yet. The print file's dialog still
  // says "Open" and never asks about overwriting: the listing is appended.
  dialog.setAcceptMode(request.must_exist ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(request.must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (!request.save) dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Open"));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwrite_prompt);
  QStringList filters;
  for (const auto& f : request.filters) filters << name_filter(f);
  dialog.setNameFilters(filters);
  const auto chosen = static_cast<qsizetype>(request.selected_filter - 1);
  if (chosen >= 0 && chosen < filters.size()) dialog.selectNameFilter(filters[chosen]);
  dialog.setDefaultSuffix(qstr(request.default_extension));
  if (!request.initial_name.empty()) {
    const QFileInfo start(qstr(request.initial_name));
    if (start.isAbsolute()) dialog.setDirectory(start.absolutePath());
    dialog.selectFile(start.fileName());
  }
}

std::optional<std::string> QtFilePicker::pick(const FileRequest& request) {
  QFileDialog dialog(parent_);
  configure_file_dialog(dialog, request);
  if (request.initial_name.empty() && start_folder) {
    const QString folder = start_folder();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) dialog.setDirectory(folder);
  }
  if (runner_(dialog) != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
  if (remember_folder) remember_folder(QFileInfo(files.front()).absolutePath());
  return files.front().toStdString();
}

}  // namespace vorlane::frontend::qt
