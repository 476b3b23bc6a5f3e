#pragma once
// Dialog 101, the program's window: four file boxes with their Browse buttons, the status
// line, Run / Reset / Exit, and the three view buttons. It draws the MainDialogModel and
// forwards the clicks to it.
#include <QDialog>
#include <QUrl>
#include <functional>
#include <map>
#include <memory>

#include "frontend/main_dialog_model.hpp"
#include "frontend/qt/dialog_runner.hpp"
#include "run/run_state.hpp"

class QLabel;
class QMenu;
class QPushButton;
class QSettings;

namespace vorlane::frontend::qt {

class QtDialogs;

// Everything a test (or an embedding program) may replace; empty members take the defaults.
struct MainDialogOptions {
  FilePicker* picker = nullptr;               // default: the platform's file dialogs
  DialogRunner runner;                        // default: exec() of the file and message dialogs
  std::function<bool(const QUrl&)> open_url;  // default: QDesktopServices::openUrl
  MainDialogModel::RunFunction run;           // default: run::RUN_VORLANE
  QString settings_file;  // default: the desktop's usual place for the program's settings
};

class ExpEditorDialog;
class FileViewer;
class ResultPanel;

class MainDialog : public QDialog {
  Q_OBJECT
 public:
  explicit MainDialog(MainDialogOptions options = {}, QWidget* parent = nullptr);
  ~MainDialog() override;

  MainDialogModel& model() { return *model_; }
  // The widget of a control id of template 101 (nullptr for an unknown id).
  QWidget* control(int id) const;

  // Escape and the close box do nothing while a run is in progress.
  void reject() override;

  ResultPanel& result_panel() const { return *panel_; }
  // The viewer of the last view button pressed (nullptr before the first).
  FileViewer* viewer() const { return viewer_; }
  QPushButton& edit_button() const { return *edit_; }
  QMenu& recent_menu() const { return *recent_menu_; }
  // Opens the experiment-file editor on the chosen experiment file.
  void edit_experiment_file();
  // Opens the editor on the last run's experiment file with `symbol` in its space-group field.
  void use_suggested_space_group(const QString& symbol);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void build_layout();
  void connect_handlers();
  // Runs a model handler; whatever it throws ends the run as halted, never leaves the slot.
  void guarded(const std::function<void()>& handler);
  void view(int control_id);
  void refresh();
  void after_run();
  void remember_run();
  void fill_recent_menu();
  void open_editor(const std::string& path, const QString& space_group);

  std::unique_ptr<run::RunState> rs_;
  std::unique_ptr<QtDialogs> dialogs_;
  std::unique_ptr<FilePicker> own_picker_;
  std::unique_ptr<MainDialogModel> model_;
  std::function<bool(const QUrl&)> open_url_;
  std::map<int, QWidget*> controls_;
  DialogRunner runner_;
  std::unique_ptr<QSettings> settings_;
  ResultPanel* panel_ = nullptr;
  FileViewer* viewer_ = nullptr;
  QPushButton* edit_ = nullptr;
  QPushButton* recent_ = nullptr;
  QMenu* recent_menu_ = nullptr;
  // The experiment file of the run the result panel shows: the suggestion is its data's.
  std::string shown_run_experiment_;
};

}  // namespace vorlane::frontend::qt
