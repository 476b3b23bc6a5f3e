#pragma once
// The file pickers of the window: the platform's own file dialog, set up from a FileRequest.
#include <QFileDialog>
#include <QWidget>

#include "frontend/file_picker.hpp"
#include "frontend/qt/dialog_runner.hpp"

namespace vorlane::frontend::qt {

// Title, filters (the requested one selected), default extension, the open or save mode and
// the overwrite question, and the name the dialog starts from.
void configure_file_dialog(QFileDialog& dialog, const FileRequest& request);

// The Qt name filter of one filter pair, e.g. "Experiment (*.exp)".
QString name_filter(const FileFilter& filter);

class QtFilePicker : public FilePicker {
 public:
  explicit QtFilePicker(QWidget* parent, DialogRunner runner = exec_runner())
      : parent_(parent), runner_(std::move(runner)) {}
  std::optional<std::string> pick(const FileRequest& request) override;

  // The folder a dialog without a file name starts in (the last folder used, kept between
  // starts of the program), and where the chosen folder is remembered. Both may be empty.
  std::function<QString()> start_folder;
  std::function<void(const QString&)> remember_folder;

 private:
  QWidget* parent_;
  DialogRunner runner_;
};

}  // namespace vorlane::frontend::qt
