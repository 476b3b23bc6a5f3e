#include "frontend/qt/exp_editor_dialog.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace vorlane::frontend::qt {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

const char* const field_names[] = {"title", "cell",      "wavelength", "space_group",
                                   "bless1", "bless2",   "bless3",     "bless4",
                                   "tth_min", "tth_max", "lessthan",   "scale",
                                   "opening"};

}  // namespace

ExpEditorDialog::ExpEditorDialog(const QString& path, DialogRunner runner, QWidget* parent)
    : QDialog(parent), path_(path), runner_(std::move(runner)) {
  setObjectName(QStringLiteral("exp_editor"));
  setWindowTitle(QStringLiteral("Experiment file - ") + QFileInfo(path).fileName());
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  QFile file(path);
  std::string text;
  if (file.open(QIODevice::ReadOnly)) {
    const QByteArray bytes = file.readAll();
    text.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    model_ = std::make_unique<ExpFileEditorModel>(text);
  }
  const ExpValues v = model_ ? model_->values() : ExpValues{};

  auto* layout = new QVBoxLayout(this);
  auto* general = new QGroupBox(QStringLiteral("Crystal"), this);
  auto* gform = new QFormLayout(general);
  gform->addRow(QStringLiteral("Title"), line(QStringLiteral("title"), v.title));
  gform->addRow(QStringLiteral("Cell (a b c α β γ)"), line(QStringLiteral("cell"), v.cell));
  gform->addRow(QStringLiteral("Wavelength (Å)"), line(QStringLiteral("wavelength"), v.wavelength));
  gform->addRow(QStringLiteral("Space group"), line(QStringLiteral("space_group"), v.space_group));
  lines_[QStringLiteral("space_group")]->setPlaceholderText(
      QStringLiteral("e.g. P 1 21/c 1, or AUTO to find it from the data"));
  lines_[QStringLiteral("space_group")]->setToolTip(
      QStringLiteral("A space group replaces the SYMOP, UNITIN and LAUE cards; AUTO finds it "
                     "from the data before they are merged"));
  noflip_ = new QCheckBox(QStringLiteral("Keep Friedel mates apart (FRIEDEL NOFLIP)"), general);
  noflip_->setObjectName(QStringLiteral("editor_noflip"));
  gform->addRow(QString(), noflip_);
  layout->addWidget(general);

  auto* rejection = new QGroupBox(QStringLiteral("Rejection and output"), this);
  auto* rform = new QFormLayout(rejection);
  outlier_ = new QComboBox(rejection);
  outlier_->setObjectName(QStringLiteral("editor_outlier"));
  outlier_->addItems({QStringLiteral("None"), QStringLiteral("Symmetry outliers (Blessing)"),
                      QStringLiteral("DAC dips"), QStringLiteral("DAC dips and symmetry outliers")});
  rform->addRow(QStringLiteral("Outlier test"), outlier_);
  auto* bless = new QHBoxLayout;
  for (int k = 1; k <= 4; ++k)
    bless->addWidget(line(QStringLiteral("bless%1").arg(k), v.blessing[static_cast<std::size_t>(k - 1)]));
  rform->addRow(QStringLiteral("Blessing values"), bless);
  auto* tth = new QHBoxLayout;
  tth->addWidget(new QLabel(QStringLiteral("min"), rejection));
  tth->addWidget(line(QStringLiteral("tth_min"), v.tth_min));
  tth->addWidget(new QLabel(QStringLiteral("max"), rejection));
  tth->addWidget(line(QStringLiteral("tth_max"), v.tth_max));
  rform->addRow(QStringLiteral("2θ window (°)"), tth);
  lines_[QStringLiteral("tth_min")]->setPlaceholderText(QStringLiteral("0.0"));
  lines_[QStringLiteral("tth_max")]->setPlaceholderText(QStringLiteral("180.0"));
  auto* lt = new QHBoxLayout;
  lt->addWidget(line(QStringLiteral("lessthan"), v.lessthan));
  lines_[QStringLiteral("lessthan")]->setPlaceholderText(QStringLiteral("2.0"));
  lt_reject_ = new QCheckBox(QStringLiteral("reject less-thans"), rejection);
  lt_reject_->setObjectName(QStringLiteral("editor_lessthan_reject"));
  lt->addWidget(lt_reject_);
  rform->addRow(QStringLiteral("Less-than threshold (σ)"), lt);
  absent_ = new QComboBox(rejection);
  absent_->setObjectName(QStringLiteral("editor_absent"));
  absent_->addItems({QStringLiteral("Include like other reflections"),
                     QStringLiteral("Treat as less-thans"), QStringLiteral("Reject")});
  rform->addRow(QStringLiteral("Systematic absences"), absent_);
  rform->addRow(QStringLiteral("Output scale"), line(QStringLiteral("scale"), v.scale));
  sigma_ = new QComboBox(rejection);
  sigma_->setObjectName(QStringLiteral("editor_sigma"));
  sigma_->addItems({QStringLiteral("Spread of one observation (default)"),
                    QStringLiteral("Sigma of the weighted mean (SIGMA MEAN)")});
  sigma_->setToolTip(QStringLiteral(
      "Refinement programs expect the sigma of the mean; the default keeps the spread of one "
      "observation, never divided by the square root of the number of members"));
  rform->addRow(QStringLiteral("Output sigma"), sigma_);
  rform->addRow(QStringLiteral("DAC opening angle (°)"), line(QStringLiteral("opening"), v.opening));
  layout->addWidget(rejection);

  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("editor_message"));
  message_->setWordWrap(true);
  layout->addWidget(message_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Save)->setObjectName(QStringLiteral("editor_save"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("editor_cancel"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (save()) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  // Without a card the reader's defaults hold; they are shown greyed.
  const std::pair<const char*, const char*> defaults[] = {
      {"wavelength", "0.7093"}, {"bless1", "0.05"}, {"bless2", "3.29"}, {"bless3", "2.58"},
      {"bless4", "1.0"},        {"scale", "1.0"}};
  for (const auto& [name, value] : defaults)
    lines_.at(QString::fromLatin1(name))->setPlaceholderText(QString::fromLatin1(value));
  show_values(v);
  if (!model_) {
    message_->setText(QStringLiteral("Cannot read ") + path);
    buttons->button(QDialogButtonBox::Save)->setEnabled(false);
  }
}

QLineEdit* ExpEditorDialog::line(const QString& name, const std::string& value) {
  auto* e = new QLineEdit(q(value), this);
  e->setObjectName(QStringLiteral("editor_") + name);
  if (name.startsWith(QStringLiteral("bless")) || name.startsWith(QStringLiteral("tth")))
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000.000")));
  lines_[name] = e;
  return e;
}

void ExpEditorDialog::show_values(const ExpValues& v) {
  noflip_->setChecked(v.friedel_noflip);
  lt_reject_->setChecked(v.lessthan_reject);
  // Without a card the default is shown: symmetry outliers, absences rejected.
  outlier_->setCurrentIndex(v.outlier < 0 ? 1 : v.outlier);
  absent_->setCurrentIndex(v.absent < 0 || v.absent > 2 ? 2 : v.absent);
  sigma_->setCurrentIndex(v.sigma_mean ? 1 : 0);
}

void ExpEditorDialog::propose_space_group(const QString& symbol) {
  lines_.at(QStringLiteral("space_group"))->setText(symbol);
  QString text = QStringLiteral("Space group %1 suggested by the symmetry found in the data. "
                                "Save writes it into the file")
                     .arg(symbol);
  if (model_ && !model_->symmetry_cards().empty())
    text += QStringLiteral(" in place of the symmetry cards");
  message_->setText(text + QStringLiteral("; Cancel leaves the file as it is."));
}

ExpValues ExpEditorDialog::form_values() const {
  ExpValues v = model_ ? model_->values() : ExpValues{};
  auto get = [this](const char* name) {
    return lines_.at(QString::fromLatin1(name))->text().trimmed().toStdString();
  };
  v.title = get("title");
  v.cell = get("cell");
  v.wavelength = get("wavelength");
  v.space_group = get("space_group");
  for (int k = 0; k < 4; ++k) v.blessing[static_cast<std::size_t>(k)] = get(field_names[4 + k]);
  v.tth_min = get("tth_min");
  v.tth_max = get("tth_max");
  v.lessthan = get("lessthan");
  v.scale = get("scale");
  v.opening = get("opening");
  v.friedel_noflip = noflip_->isChecked();
  v.lessthan_reject = lt_reject_->isChecked();
  v.outlier = outlier_->currentIndex();
  v.absent = absent_->currentIndex();
  v.sigma_mean = sigma_->currentIndex() == 1;
  return v;
}

bool ExpEditorDialog::save() {
  if (!model_) return false;
  const ExpValues v = form_values();
  const std::string problem = ExpFileEditorModel::check(v);
  if (!problem.empty()) {
    message_->setText(q(problem));
    return false;
  }
  const auto removed = model_->symmetry_cards();
  if (v.space_group != model_->values().space_group && !v.space_group.empty() &&
      !removed.empty()) {
    QString list;
    for (const auto& c : removed) list += q(c) + QLatin1Char('\n');
    QMessageBox confirm(QMessageBox::Question, QStringLiteral("Replace the symmetry cards"),
                        QStringLiteral("The space group replaces these %1 cards:")
                            .arg(removed.size()),
                        QMessageBox::Ok | QMessageBox::Cancel, this);
    confirm.setObjectName(QStringLiteral("editor_confirm_space_group"));
    confirm.setDetailedText(list);
    confirm.setInformativeText(list.size() < 600 ? list : QStringLiteral("(see the details)"));
    if (runner_(confirm) != QMessageBox::Ok) {
      message_->setText(QStringLiteral("Nothing written: the symmetry cards stay."));
      return false;
    }
  }
  model_->apply(v);
  const std::string text = model_->text();
  QSaveFile out(path_);
  if (!out.open(QIODevice::WriteOnly) ||
      out.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size()) ||
      !out.commit()) {
    message_->setText(QStringLiteral("Cannot write ") + path_);
    return false;
  }
  return true;
}

}  // namespace vorlane::frontend::qt
