#include "frontend/qt/symmetry_page.hpp"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "frontend/qt/symmetry_charts.hpp"
#include "report/symmetry_section.hpp"
#include "run/run_state.hpp"
#include "symmetry_analysis/analysis.hpp"

namespace vorlane::frontend::qt {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The report's look, as far as Qt's rich text follows it.
const char* const STYLE =
    "<style>th{background:#eef} td,th{padding:2px 6px} td{text-align:right}"
    " tr.overall{font-weight:bold}"
    " .warn{color:#8a4b00}</style>";

}  // namespace

SymmetryPage::SymmetryPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("result_symmetry"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* top = new QHBoxLayout;
  line_ = new QLabel(this);
  line_->setObjectName(QStringLiteral("symmetry_suggestion"));
  line_->setWordWrap(true);
  line_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  top->addWidget(line_, 1);
  use_ = new QPushButton(QStringLiteral("Use suggested space group"), this);
  use_->setObjectName(QStringLiteral("use_suggested_space_group"));
  use_->setAutoDefault(false);
  top->addWidget(use_);
  layout->addLayout(top);
  views_ = new QTabWidget(this);
  views_->setObjectName(QStringLiteral("symmetry_views"));
  views_->setDocumentMode(true);
  tables_ = new QTextBrowser(views_);
  tables_->setObjectName(QStringLiteral("symmetry_tables"));
  tables_->setOpenLinks(false);
  views_->addTab(tables_, QStringLiteral("Tables"));
  layout->addWidget(views_, 1);
  connect(use_, &QPushButton::clicked, this, [this] {
    if (!suggestion_.symbol.empty()) Q_EMIT use_space_group(q(suggestion_.symbol));
  });
  clear();
}

void SymmetryPage::remove_charts() {
  while (views_->count() > 1) {
    QWidget* page = views_->widget(1);
    views_->removeTab(1);
    delete page;
  }
}

void SymmetryPage::clear() {
  remove_charts();
  suggestion_ = {};
  shown_ = false;
  line_->setText(QStringLiteral("No run yet."));
  tables_->clear();
  update_button();
}

void SymmetryPage::show_run(const run::RunState& rs) {
  clear();
  shown_ = true;
  const symmetry_analysis::Analysis* analysis = rs.symmetry.get();
  suggestion_ = space_group_suggestion(rs);
  line_->setText(q(suggestion_.line));
  if (analysis == nullptr) {
    tables_->setHtml(QStringLiteral("<p>") + q(suggestion_.line).toHtmlEscaped() +
                     QStringLiteral("</p>"));
    update_button();
    return;
  }
  QString html = QString::fromLatin1(STYLE) + q(report::symmetry_tables_html(*analysis));
  auto add_chart = [this](QChart* chart, const QString& name, const QString& title) {
    auto* view = new QChartView(chart, views_);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(240, 180);
    views_->addTab(view, title);
  };
  if (!analysis->laue.empty()) {
    const auto& st = analysis->statistics;
    // A plot without points is left out, with a line saying why below the tables.
    if (st.n_general > 0)
      add_chart(make_nz_chart(st), QStringLiteral("plot_nz"), QStringLiteral("N(z)"));
    else
      html += QStringLiteral("<p>N(z) is not drawn: no general reflections.</p>");
    if (st.n_l_pairs > 0)
      add_chart(make_l_chart(st), QStringLiteral("plot_l_test"), QStringLiteral("|L|"));
    else
      html += QStringLiteral("<p>N(|L|) is not drawn: no reflection pairs for the L-test.</p>");
    if (QChart* w = make_wilson_chart(st))
      add_chart(w, QStringLiteral("plot_wilson"), QStringLiteral("Wilson"));
    else
      html += QStringLiteral("<p>The Wilson plot is not drawn: fewer than two shells with a "
                             "positive mean intensity.</p>");
  }
  tables_->setHtml(html);
  update_button();
}

void SymmetryPage::set_can_edit(bool can) {
  can_edit_ = can;
  update_button();
}

void SymmetryPage::update_button() {
  const bool offered = !suggestion_.symbol.empty();
  use_->setEnabled(offered && can_edit_);
  if (!shown_)
    use_->setToolTip(QStringLiteral("No run yet: the suggestion comes from a run's data"));
  else if (!offered)
    use_->setToolTip(q(suggestion_.why_not));
  else if (!can_edit_)
    use_->setToolTip(QStringLiteral("Not while a run is in progress"));
  else
    use_->setToolTip(QStringLiteral("Open the experiment-file editor with SPACEGROUP %1; "
                                    "nothing is written until you save")
                         .arg(q(suggestion_.symbol)));
}

}  // namespace vorlane::frontend::qt
