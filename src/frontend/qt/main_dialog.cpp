#include "frontend/qt/main_dialog.hpp"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "frontend/control_ids.hpp"
#include "frontend/qt/qt_dialogs.hpp"
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
  dialogs_ = std::make_unique<QtDialogs>(this, runner);
  FilePicker* picker = options.picker;
  if (picker == nullptr) {
    own_picker_ = std::make_unique<QtFilePicker>(this, runner);
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
  refresh();
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

  auto* layout = new QVBoxLayout(this);
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
  resize(640, sizeHint().height());
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
  bind(control::run, [&m] { m.RUN_PROG(); });
  bind(control::reset, [&m] { m.RESET_FILES(); });
  bind(control::view_print, [this] { view(control::view_print); });
  bind(control::view_output, [this] { view(control::view_output); });
  bind(control::view_cif, [this] { view(control::view_cif); });
  connect(static_cast<QPushButton*>(controls_.at(control::exit)), &QPushButton::clicked, this,
          &QDialog::accept);
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
  if (!open_url_(QUrl::fromLocalFile(file)))
    dialogs_->warning_box("NO APPLICATION FOUND TO SHOW " + path.filename().string());
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
