#include "frontend/qt/result_panel.hpp"

#include <QChartView>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "frontend/qt/result_charts.hpp"
#include "frontend/qt/symmetry_page.hpp"
#include "frontend/result_summary.hpp"
#include "records/edit_list.hpp"

namespace vorlane::frontend::qt {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// Numbers in the tables written as the files write them (locale-free).
QString fixed(double v, int decimals) {
  if (!std::isfinite(v)) return QStringLiteral("-");
  return q(records::format_F(v, 14, decimals)).trimmed();
}

// A ratio (R value, CC½) that could not be formed: no pairs, intensities summing to zero or less.
QString ratio(double v, int decimals) {
  return std::isfinite(v) ? fixed(v, decimals) : QStringLiteral("n/a");
}

QTableWidget* make_table(QWidget* parent, const QString& name, const QStringList& headers) {
  auto* t = new QTableWidget(parent);
  t->setObjectName(name);
  t->setColumnCount(static_cast<int>(headers.size()));
  t->setHorizontalHeaderLabels(headers);
  t->verticalHeader()->hide();
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->setAlternatingRowColors(true);
  return t;
}

QTableWidgetItem* cell(const QString& text, bool number) {
  auto* item = new QTableWidgetItem(text);
  if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

}  // namespace

ResultPanel::ResultPanel(QWidget* parent) : QTabWidget(parent) {
  setObjectName(QStringLiteral("result_panel"));
  auto* summary_page = new QWidget(this);
  auto* summary_layout = new QVBoxLayout(summary_page);
  summary_layout->setContentsMargins(0, 0, 0, 0);
  title_ = new QLabel(summary_page);
  title_->setObjectName(QStringLiteral("result_title"));
  title_->setWordWrap(true);
  title_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  summary_layout->addWidget(title_);
  summary_ = make_table(summary_page, QStringLiteral("result_summary"),
                        {QStringLiteral("Figure"), QStringLiteral("Value")});
  summary_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  summary_->horizontalHeader()->setStretchLastSection(true);
  summary_->horizontalHeader()->setMinimumSectionSize(40);
  summary_->verticalHeader()->setDefaultSectionSize(summary_->fontMetrics().height() + 6);
  summary_layout->addWidget(summary_, 1);
  addTab(summary_page, QStringLiteral("Summary"));

  warnings_ = new QListWidget(this);
  warnings_->setObjectName(QStringLiteral("result_warnings"));
  warnings_->setWordWrap(true);
  addTab(warnings_, QStringLiteral("Warnings"));

  auto* shell_page = new QWidget(this);
  auto* shell_layout = new QVBoxLayout(shell_page);
  shell_layout->setContentsMargins(0, 0, 0, 0);
  shells_ = make_table(shell_page, QStringLiteral("result_shells"),
                       {QStringLiteral("Shell"), QStringLiteral("d max"), QStringLiteral("d min"), QStringLiteral("N obs"),
                        QStringLiteral("N unique"), QStringLiteral("Mult."),
                        QStringLiteral("Compl."), QStringLiteral("DAC compl."),
                        QStringLiteral("<I/σ>"), QStringLiteral("R(int)"),
                        QStringLiteral("R(σ)"), QStringLiteral("R(meas)"),
                        QStringLiteral("R(pim)"), QStringLiteral("CC½"), QStringLiteral("χ²")});
  shells_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  shells_->verticalHeader()->setDefaultSectionSize(shells_->fontMetrics().height() + 6);
  no_shells_ = new QLabel(shell_page);
  no_shells_->setObjectName(QStringLiteral("result_no_shells"));
  no_shells_->setWordWrap(true);
  shell_layout->addWidget(no_shells_);
  shell_layout->addWidget(shells_, 1);
  addTab(shell_page, QStringLiteral("Shells"));

  plots_ = new QTabWidget(this);
  plots_->setObjectName(QStringLiteral("result_plots"));
  plots_->setDocumentMode(true);
  addTab(plots_, QStringLiteral("Plots"));

  symmetry_ = new SymmetryPage(this);
  addTab(symmetry_, QStringLiteral("Symmetry"));
  clear_run();
}

void ResultPanel::clear_run() {
  summary_->setRowCount(0);
  warnings_->clear();
  shells_->setRowCount(0);
  shells_->setMinimumWidth(0);
  no_shells_->setText(QStringLiteral("No run yet."));
  title_->setText(QStringLiteral("No run yet."));
  while (plots_->count() > 0) {
    QWidget* page = plots_->widget(0);
    plots_->removeTab(0);
    delete page;
  }
  symmetry_->clear();
  setTabText(1, QStringLiteral("Warnings"));
}

void ResultPanel::show_run(const run::RunState& rs, const std::vector<std::string>& warnings) {
  clear_run();
  const auto rows = result_summary(rs);
  int r = 0;
  summary_->setRowCount(static_cast<int>(rows.size()));
  for (const auto& row : rows) {
    // The title heads the page; the table holds the figures.
    if (row.label == "Title") {
      title_->setText(q(row.value));
      continue;
    }
    auto* label = cell(q(row.label), false);
    auto* value = cell(q(row.value), false);
    // The CIF item a figure is written as, on hovering.
    if (!row.cif_item.empty()) {
      label->setToolTip(q(row.cif_item));
      value->setToolTip(q(row.cif_item));
    }
    summary_->setItem(r, 0, label);
    summary_->setItem(r, 1, value);
    ++r;
  }
  summary_->setRowCount(r);
  summary_->resizeColumnsToContents();
  for (const auto& w : warnings) warnings_->addItem(q(w).trimmed());
  // Notes say what the run did; they are listed after the warnings and not counted as such.
  for (const auto& n : rs.report.notes) warnings_->addItem(QStringLiteral("Note: ") + q(n));
  setTabText(1, QStringLiteral("Warnings (%1)").arg(warnings.size()));
  fill_shells(rs.stats);
  fill_plots(rs.stats);
  symmetry_->show_run(rs);
}

void ResultPanel::add_note(const QString& text) {
  warnings_->addItem(QStringLiteral("Note: ") + text);
}

void ResultPanel::fill_shells(const statistics::Statistics& stats) {
  if (!stats.has_shells) {
    no_shells_->setText(stats.no_shells_reason.empty()
                            ? QStringLiteral("No shell statistics for this run.")
                            : q(stats.no_shells_reason));
    no_shells_->show();
    return;
  }
  no_shells_->hide();
  std::vector<const statistics::ShellRow*> rows;
  for (const auto& s : stats.shells) rows.push_back(&s);
  rows.push_back(&stats.overall);
  shells_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const auto& s = *rows[static_cast<std::size_t>(r)];
    const bool overall = r == static_cast<int>(rows.size()) - 1;
    const QString values[] = {
        overall ? QStringLiteral("Overall") : QString::number(r + 1),
        fixed(s.d_max, 2),        fixed(s.d_min, 2),          QString::number(s.n_obs),
        QString::number(s.n_unique), fixed(s.multiplicity, 2), fixed(s.completeness, 3),
        stats.has_dac ? fixed(s.dac_completeness, 3) : QStringLiteral("-"),
        fixed(s.i_over_sigma, 1), ratio(s.r_int, 4),          ratio(s.r_sigma, 4),
        ratio(s.r_meas, 4),       ratio(s.r_pim, 4),          ratio(s.cc_half, 4),
        fixed(s.chi2, 2)};
    for (int c = 0; c < 15; ++c) shells_->setItem(r, c, cell(values[c], c > 0));
  }
  // The overall row is the table's own, labelled so (it is not the CIF's R(int)).
  const int last = static_cast<int>(rows.size()) - 1;
  for (int c = 0; c < 15; ++c) {
    QFont bold = shells_->item(last, c)->font();
    bold.setBold(true);
    shells_->item(last, c)->setFont(bold);
  }
  shells_->setColumnHidden(7, !stats.has_dac);
  shells_->resizeColumnsToContents();
  // The panel is at least as wide as the shell table, so that no column is cut off.
  int width = 2 * shells_->frameWidth() + shells_->verticalScrollBar()->sizeHint().width();
  for (int c = 0; c < shells_->columnCount(); ++c)
    if (!shells_->isColumnHidden(c)) width += shells_->columnWidth(c);
  shells_->setMinimumWidth(width);
}

void ResultPanel::fill_plots(const statistics::Statistics& stats) {
  auto add_chart = [this](QChart* chart, const QString& name, const QString& title) {
    auto* view = new QChartView(chart, plots_);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(240, 180);
    plots_->addTab(view, title);
  };
  if (stats.has_shells) {
    for (const auto& p : shell_plots()) add_chart(make_shell_chart(stats.shells, p), p.name, p.title);
  }
  if (!stats.normal_probability.expected.empty())
    add_chart(make_normal_probability_chart(stats.normal_probability),
              QStringLiteral("plot_normal_probability"), QStringLiteral("Normal probability"));
}

}  // namespace vorlane::frontend::qt
