#include "frontend/qt/result_charts.hpp"

#include <QChart>
#include <QPen>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

namespace vorlane::frontend::qt {
namespace {

QValueAxis* axis(const QString& title, double lo, double hi) {
  return value_axis(title, lo, hi, true);
}

QChart* bare_chart(const QString& title) {
  auto* chart = new QChart;
  chart->setTitle(title);
  chart->legend()->hide();
  chart->setMargins(QMargins(4, 4, 4, 4));
  chart->setBackgroundRoundness(0);
  return chart;
}

}  // namespace

const std::vector<ShellPlot>& shell_plots() {
  static const std::vector<ShellPlot> plots = {
      {QStringLiteral("plot_completeness"), QStringLiteral("Completeness"),
       QStringLiteral("Completeness"), &statistics::ShellRow::completeness},
      {QStringLiteral("plot_i_over_sigma"), QStringLiteral("<I/σ>"),
       QStringLiteral("<I/σ(I)>"), &statistics::ShellRow::i_over_sigma},
      {QStringLiteral("plot_r_int"), QStringLiteral("R(int)"), QStringLiteral("R(int)"),
       &statistics::ShellRow::r_int},
      {QStringLiteral("plot_cc_half"), QStringLiteral("CC½"), QStringLiteral("CC½"),
       &statistics::ShellRow::cc_half},
  };
  return plots;
}

QChart* make_shell_chart(const std::vector<statistics::ShellRow>& shells, const ShellPlot& plot) {
  auto* chart = bare_chart((plot.title + QStringLiteral(" against resolution")).toHtmlEscaped());
  auto* line = new QLineSeries;
  auto* points = new QScatterSeries;
  points->setMarkerSize(8.0);
  double xlo = std::numeric_limits<double>::max(), xhi = std::numeric_limits<double>::lowest();
  double ylo = xlo, yhi = xhi;
  for (const auto& row : shells) {
    const double y = row.*(plot.value);
    if (!std::isfinite(y) || !std::isfinite(row.d_min)) continue;
    line->append(row.d_min, y);
    points->append(row.d_min, y);
    xlo = std::min(xlo, row.d_min);
    xhi = std::max(xhi, row.d_min);
    ylo = std::min(ylo, y);
    yhi = std::max(yhi, y);
  }
  chart->addSeries(line);
  chart->addSeries(points);
  if (line->count() == 0) {
    xlo = ylo = 0.0;
    xhi = yhi = 1.0;
  }
  auto* x = axis(QStringLiteral("d (Å), high-resolution edge of the shell"), xlo, xhi);
  x->setReverse(true);  // low resolution on the left, as in the shell table
  auto* y = axis(plot.y_label, std::min(ylo, 0.0), yhi);
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  for (auto* s : {static_cast<QAbstractSeries*>(line), static_cast<QAbstractSeries*>(points)}) {
    s->attachAxis(x);
    s->attachAxis(y);
  }
  return chart;
}

QChart* make_normal_probability_chart(const statistics::NormalProbability& np) {
  auto* chart = bare_chart(QStringLiteral("Normal probability plot (slope %1, intercept %2)")
                               .arg(np.slope, 0, 'f', 3)
                               .arg(np.intercept, 0, 'f', 3));
  // The deviations are sorted by their expected quantile: drawn as a thin line through
  // visible points (a scatter series of many points leaves most of them out when painted
  // off screen).
  auto* points = new QLineSeries;
  points->setPointsVisible(true);
  points->setMarkerSize(4.0);
  QPen thin = points->pen();
  thin.setWidthF(1.0);
  points->setPen(thin);
  double lo = -1.0, hi = 1.0;
  const auto n = std::min(np.expected.size(), np.observed.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (!std::isfinite(np.expected[i]) || !std::isfinite(np.observed[i])) continue;
    points->append(np.expected[i], np.observed[i]);
    lo = std::min({lo, np.expected[i], np.observed[i]});
    hi = std::max({hi, np.expected[i], np.observed[i]});
  }
  auto* fit = new QLineSeries;
  QPen dashed(Qt::darkRed);
  dashed.setStyle(Qt::DashLine);
  dashed.setWidthF(1.5);
  fit->setPen(dashed);
  fit->append(lo, np.intercept + np.slope * lo);
  fit->append(hi, np.intercept + np.slope * hi);
  chart->addSeries(points);
  chart->addSeries(fit);
  auto* x = axis(QStringLiteral("Expected normal quantile"), lo, hi);
  auto* y = axis(QStringLiteral("Observed deviation"), lo, hi);
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  for (auto* s : {static_cast<QAbstractSeries*>(points), static_cast<QAbstractSeries*>(fit)}) {
    s->attachAxis(x);
    s->attachAxis(y);
  }
  return chart;
}

QValueAxis* value_axis(const QString& title, double lo, double hi, bool padded) {
  auto* a = new QValueAxis;
  // Titles are rich text: "<I/σ>" must not read as a tag.
  a->setTitleText(title.toHtmlEscaped());
  if (!(lo < hi)) {
    lo -= 0.5;
    hi += 0.5;
  }
  if (padded) {
    const double pad = (hi - lo) * 0.05;
    // A range starting at zero stays there.
    a->setRange(lo == 0.0 ? 0.0 : lo - pad, hi + pad);
  } else {
    a->setRange(lo, hi);
  }
  a->applyNiceNumbers();
  a->setLabelFormat(QStringLiteral("%.3g"));
  return a;
}

}  // namespace vorlane::frontend::qt
