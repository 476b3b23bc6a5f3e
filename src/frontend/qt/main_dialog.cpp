#include "frontend/qt/main_dialog.hpp"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHideEvent>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "frontend/control_ids.hpp"
#include "frontend/qt/exp_editor_dialog.hpp"
#include "frontend/qt/file_viewer.hpp"
#include "frontend/qt/qt_dialogs.hpp"
#include "frontend/qt/result_panel.hpp"
#include "frontend/qt/symmetry_page.hpp"
#include "frontend/qt/qt_file_picker.hpp"
#include "frontend/qt/widget_ids.hpp"
#include "pipeline/run_vorlane.hpp"

namespace vorlane::frontend::qt {

MainDialog::MainDialog(MainDialogOptions options, QWidget* parent)
    : QDialog(parent), rs_(std::make_unique<run::RunState>()) {
  setWindowTitle(qstr(text::dialog_title));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
  const DialogRunner runner = options.runner ? options.runner : exec_runner();
  runner_ = runner;
  settings_ = options.settings_file.isEmpty()
                  ? std::make_unique<QSettings>(QStringLiteral("vorlane"),
                                                QStringLiteral("vorlane-gui"))
                  : std::make_unique<QSettings>(options.settings_file, QSettings::IniFormat);
  dialogs_ = std::make_unique<QtDialogs>(this, runner);
  dialogs_->remember_answers_in(settings_.get());
  FilePicker* picker = options.picker;
  if (picker == nullptr) {
    auto own = std::make_unique<QtFilePicker>(this, runner);
    own->start_folder = [this] { return settings_->value(QStringLiteral("files/last_folder")).toString(); };
    own->remember_folder = [this](const QString& folder) {
      settings_->setValue(QStringLiteral("files/last_folder"), folder);
    };
    own_picker_ = std::move(own);
    picker = own_picker_.get();
  }
  auto run = options.run ? options.run : MainDialogModel::RunFunction(run::RUN_VORLANE);
  model_ = std::make_unique<MainDialogModel>(*rs_, *dialogs_, *picker, std::move(run));
  open_url_ = options.open_url ? options.open_url
                               : [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  build_layout();
  connect_handlers();
  // The status line before and after a run must show while the run's handler still runs.
  model_->set_repaint([this] {
    refresh();
    repaint();
  });
  fill_recent_menu();
  refresh();
  const QByteArray geometry = settings_->value(QStringLiteral("window/geometry")).toByteArray();
  if (!geometry.isEmpty()) restoreGeometry(geometry);
}

MainDialog::~MainDialog() = default;

QWidget* MainDialog::control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void MainDialog::build_layout() {
  auto add_button = [this](int id, std::string_view label) {
    auto* b = new QPushButton(qstr(label), this);
    b->setObjectName(control_name(id));
    b->setAutoDefault(false);
    controls_[id] = b;
    return b;
  };
  auto add_label = [this](int id) {
    auto* l = new QLabel(this);
    l->setObjectName(control_name(id));
    controls_[id] = l;
    return l;
  };

  // Dialog 101 on top, the result of the last run below it at the window's full width.
  auto* outer = new QVBoxLayout(this);
  auto* top = new QWidget(this);
  auto* layout = new QVBoxLayout(top);
  layout->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(top, 0);
  panel_ = new ResultPanel(this);
  panel_->setMinimumHeight(300);
  outer->addWidget(panel_, 1);
  struct FileBox {
    int group, name, browse;
    std::string_view title;
  };
  const FileBox boxes[] = {
      {control::experiment_group, control::experiment_name, control::experiment_browse,
       text::experiment_group},
      {control::print_group, control::print_name, control::print_browse, text::print_group},
      {control::input_group, control::input_name, control::input_browse, text::input_group},
      {control::output_group, control::output_name, control::output_browse,
       text::output_group},
  };
  auto* files = new QGridLayout;
  int index = 0;
  for (const auto& box : boxes) {
    auto* group = new QGroupBox(qstr(box.title), this);
    group->setObjectName(control_name(box.group));
    controls_[box.group] = group;
    auto* name = add_label(box.name);
    // Long names are cut on screen rather than widening the window; the tooltip has them.
    name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    name->setMinimumWidth(160);
    auto* row = new QHBoxLayout(group);
    row->addWidget(name, 1);
    row->addWidget(add_button(box.browse, text::browse));
    if (box.group == control::experiment_group) {
      edit_ = new QPushButton(QStringLiteral("Edit"), this);
      edit_->setObjectName(QStringLiteral("edit_experiment"));
      edit_->setAutoDefault(false);
      edit_->setToolTip(QStringLiteral("Edit the cards of the experiment file in a form"));
      row->addWidget(edit_);
    }
    files->addWidget(group, index / 2, index % 2);
    ++index;
  }
  layout->addLayout(files);

  auto* status = add_label(control::status_line);
  status->setAlignment(Qt::AlignCenter);
  status->setFrameShape(QFrame::StyledPanel);
  status->setMinimumHeight(status->fontMetrics().height() * 2);
  QFont bold = status->font();
  bold.setBold(true);
  status->setFont(bold);
  layout->addWidget(status);

  auto* actions = new QHBoxLayout;
  auto* run_button = add_button(control::run, text::run);
  run_button->setDefault(true);
  actions->addStretch();
  actions->addWidget(run_button);
  actions->addWidget(add_button(control::reset, text::reset));
  actions->addWidget(add_button(control::exit, text::exit));
  recent_ = new QPushButton(QStringLiteral("Recent"), this);
  recent_->setObjectName(QStringLiteral("recent_runs"));
  recent_->setAutoDefault(false);
  recent_->setToolTip(QStringLiteral("Choose the four files of an earlier run"));
  recent_menu_ = new QMenu(recent_);
  recent_->setMenu(recent_menu_);
  actions->addWidget(recent_);
  actions->addStretch();
  layout->addLayout(actions);

  auto* views = new QGroupBox(qstr(text::view_group), this);
  auto* view_row = new QHBoxLayout(views);
  view_row->addWidget(add_button(control::view_print, text::view_print));
  view_row->addWidget(add_button(control::view_output, text::view_output));
  view_row->addWidget(add_button(control::view_cif, text::view_cif));
  layout->addWidget(views);

  auto* credit = add_label(control::credit_line);
  credit->setText(qstr(text::credit_line));
  credit->setWordWrap(true);
  credit->setAlignment(Qt::AlignCenter);
  QFont small = credit->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  credit->setFont(small);
  layout->addWidget(credit);

  add_button(control::hidden_button, text::hidden_button)->hide();
  resize(900, std::max(760, sizeHint().height()));
}

void MainDialog::connect_handlers() {
  auto bind = [this](int id, std::function<void()> handler) {
    auto* button = static_cast<QPushButton*>(controls_.at(id));
    connect(button, &QPushButton::clicked, this, [this, handler] { guarded(handler); });
  };
  auto& m = *model_;
  bind(control::experiment_browse, [&m] { m.OPEN_EXP(); });
  bind(control::print_browse, [&m] { m.OPEN_PRINT(); });
  bind(control::input_browse, [&m] { m.OPEN_INPUTDATA(); });
  bind(control::output_browse, [&m] { m.OPEN_OUTPUTDATA(); });
  bind(control::run, [this, &m] {
    dialogs_->take_answered_from_memory();
    m.RUN_PROG();
    after_run();
  });
  bind(control::reset, [&m] { m.RESET_FILES(); });
  bind(control::view_print, [this] { view(control::view_print); });
  bind(control::view_output, [this] { view(control::view_output); });
  bind(control::view_cif, [this] { view(control::view_cif); });
  connect(static_cast<QPushButton*>(controls_.at(control::exit)), &QPushButton::clicked, this,
          &QDialog::accept);
  connect(edit_, &QPushButton::clicked, this, [this] { guarded([this] { edit_experiment_file(); }); });
  connect(panel_->symmetry(), &SymmetryPage::use_space_group, this, [this](const QString& symbol) {
    guarded([this, symbol] { use_suggested_space_group(symbol); });
  });
}

void MainDialog::guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    model_->halt_on_failure(e.what());
  } catch (...) {
    model_->halt_on_failure("unexpected failure");
  }
  refresh();
}

void MainDialog::view(int control_id) {
  const auto path = model_->view_path(control_id);
  if (path.empty()) return;
  const QString file = QString::fromStdU16String(path.u16string());
  // Shown inside the program; the viewer offers the desktop's application as well.
  if (viewer_ == nullptr) viewer_ = new FileViewer(open_url_, this);
  viewer_->show_file(file);
}

void MainDialog::after_run() {
  const auto state = model_->state();
  if (state != DialogState::Finished && state != DialogState::Halted) return;
  panel_->show_run(model_->run_state(), model_->run_warnings());
  shown_run_experiment_ = model_->chosen_paths()[run::EXPERIMENT - 1];
  if (dialogs_->take_answered_from_memory()) {
    const bool yes = settings_->value(QtDialogs::sigma_ratio_key).toInt() == 1;
    panel_->add_note(
        QStringLiteral("The sigma-ratio question was answered %1, as remembered in the "
                       "window's settings (%2; delete that entry to be asked again).")
            .arg(yes ? QStringLiteral("Yes") : QStringLiteral("No"), QtDialogs::sigma_ratio_key));
  }
  remember_run();
}

void MainDialog::remember_run() {
  const auto paths = model_->chosen_paths();
  QStringList run;
  for (const auto& p : paths) run << QString::fromStdString(p);
  if (run.contains(QString())) return;
  QList<QStringList> runs;
  const int n = settings_->beginReadArray(QStringLiteral("recent"));
  for (int i = 0; i < n; ++i) {
    settings_->setArrayIndex(i);
    const QStringList r = settings_->value(QStringLiteral("files")).toStringList();
    if (r.size() == 4 && r != run) runs << r;
  }
  settings_->endArray();
  runs.prepend(run);
  while (runs.size() > 8) runs.removeLast();
  settings_->beginWriteArray(QStringLiteral("recent"), static_cast<int>(runs.size()));
  for (int i = 0; i < runs.size(); ++i) {
    settings_->setArrayIndex(i);
    settings_->setValue(QStringLiteral("files"), runs[i]);
  }
  settings_->endArray();
  settings_->sync();
  fill_recent_menu();
}

void MainDialog::fill_recent_menu() {
  recent_menu_->clear();
  const int n = settings_->beginReadArray(QStringLiteral("recent"));
  for (int i = 0; i < n; ++i) {
    settings_->setArrayIndex(i);
    const QStringList r = settings_->value(QStringLiteral("files")).toStringList();
    if (r.size() != 4) continue;
    QStringList names;
    for (const auto& p : r) names << QFileInfo(p).fileName();
    auto* action = recent_menu_->addAction(names.join(QStringLiteral(", ")));
    action->setToolTip(r.join(QLatin1Char('\n')));
    connect(action, &QAction::triggered, this, [this, r] {
      guarded([this, r] {
        std::array<std::string, 4> paths;
        for (std::size_t k = 0; k < 4; ++k) paths[k] = r[static_cast<qsizetype>(k)].toStdString();
        model_->choose_files(paths);
        panel_->clear_run();
        shown_run_experiment_.clear();
      });
    });
  }
  settings_->endArray();
}

void MainDialog::edit_experiment_file() {
  open_editor(model_->chosen_paths()[run::EXPERIMENT - 1], QString());
}

void MainDialog::use_suggested_space_group(const QString& symbol) {
  open_editor(shown_run_experiment_, symbol);
}

void MainDialog::open_editor(const std::string& path, const QString& space_group) {
  if (path.empty() || model_->state() == DialogState::Running) return;
  ExpEditorDialog editor(QString::fromStdString(path), runner_, this);
  if (!space_group.isEmpty() && editor.loaded()) editor.propose_space_group(space_group);
  runner_(editor);
}

void MainDialog::hideEvent(QHideEvent* event) {
  settings_->setValue(QStringLiteral("window/geometry"), saveGeometry());
  settings_->sync();
  QDialog::hideEvent(event);
}

void MainDialog::refresh() {
  for (const auto& [id, widget] : controls_) {
    if (qobject_cast<QPushButton*>(widget) != nullptr) widget->setEnabled(model_->enabled(id));
  }
  for (int id : control::name_labels) {
    auto* label = static_cast<QLabel*>(controls_.at(id));
    label->setText(qstr(model_->text(id)));
  }
  static_cast<QLabel*>(controls_.at(control::status_line))
      ->setText(qstr(model_->text(control::status_line)));
  const bool idle = model_->state() != DialogState::Running;
  edit_->setEnabled(idle && !model_->chosen_paths()[run::EXPERIMENT - 1].empty());
  recent_->setEnabled(idle && !recent_menu_->isEmpty());
  panel_->symmetry()->set_can_edit(idle && !shown_run_experiment_.empty());
  for (int slot = 1; slot <= 4; ++slot) {
    const auto& path = model_->name_field(slot);
    controls_.at(control::name_labels[static_cast<std::size_t>(slot - 1)])
        ->setToolTip(rs_->files.open_flag(slot) == 1 ? qstr(path) : QString());
  }
}

void MainDialog::closeEvent(QCloseEvent* event) {
  // A run in progress finishes first; its files are still open.
  if (model_->state() == DialogState::Running)
    event->ignore();
  else
    QDialog::closeEvent(event);
}

void MainDialog::reject() {
  if (model_->state() != DialogState::Running) QDialog::reject();
}

}  // namespace vorlane::frontend::qt
