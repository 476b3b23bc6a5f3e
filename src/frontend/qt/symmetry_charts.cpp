#include "frontend/qt/symmetry_charts.hpp"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

#include "frontend/qt/result_charts.hpp"
#include "report/symmetry_section.hpp"

namespace vorlane::frontend::qt {
namespace {

namespace sa = symmetry_analysis;

QChart* chart_with_legend(const QString& title) {
  auto* chart = new QChart;
  // Titles are rich text: "<I>" must not read as a tag.
  chart->setTitle(title.toHtmlEscaped());
  chart->legend()->setAlignment(Qt::AlignBottom);
  chart->setMargins(QMargins(4, 4, 4, 4));
  chart->setBackgroundRoundness(0);
  return chart;
}

QValueAxis* axis(const QString& title, double lo, double hi) {
  return value_axis(title, lo, hi, false);
}

void attach(QChart* chart, QValueAxis* x, QValueAxis* y,
            std::initializer_list<QAbstractSeries*> series) {
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  for (QAbstractSeries* s : series) {
    chart->addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
  }
}

QLineSeries* observed(const std::array<double, 10>& cumulative) {
  auto* s = new QLineSeries;
  s->setName(QStringLiteral("observed"));
  s->setPointsVisible(true);
  for (std::size_t k = 0; k < cumulative.size(); ++k)
    if (std::isfinite(cumulative[k])) s->append(0.1 * static_cast<double>(k + 1), cumulative[k]);
  return s;
}

QLineSeries* theory(const QString& name, const QColor& colour, double (*f)(double)) {
  auto* s = new QLineSeries;
  s->setName(name);
  QPen pen(colour);
  pen.setStyle(Qt::DashLine);
  pen.setWidthF(1.5);
  s->setPen(pen);
  for (int k = 0; k <= 50; ++k) s->append(0.02 * k, f(0.02 * k));
  return s;
}

QChart* cumulative_chart(const QString& title, const QString& x_label, const QString& y_label,
                         QLineSeries* data, QLineSeries* first, QLineSeries* second) {
  auto* chart = chart_with_legend(title);
  auto* x = axis(x_label, 0.0, 1.0);
  auto* y = axis(y_label, 0.0, 1.0);
  attach(chart, x, y, {data, first, second});
  return chart;
}

}  // namespace

QChart* make_nz_chart(const sa::IntensityStatistics& st) {
  return cumulative_chart(QStringLiteral("Cumulative intensity distribution N(z)"),
                          QStringLiteral("z = I/<I>"), QStringLiteral("N(z)"), observed(st.nz),
                          theory(QStringLiteral("acentric"), Qt::darkGreen, sa::nz_acentric),
                          theory(QStringLiteral("centric"), Qt::darkRed, sa::nz_centric));
}

QChart* make_l_chart(const sa::IntensityStatistics& st) {
  return cumulative_chart(QStringLiteral("Cumulative |L| distribution (L-test)"),
                          QStringLiteral("|L|"), QStringLiteral("N(|L|)"), observed(st.nl),
                          theory(QStringLiteral("untwinned"), Qt::darkGreen, sa::nl_untwinned),
                          theory(QStringLiteral("perfect twin"), Qt::darkRed,
                                 sa::nl_perfect_twin));
}

QChart* make_wilson_chart(const sa::IntensityStatistics& st) {
  const report::WilsonLine w = report::wilson_line(st);
  if (!w.formed) return nullptr;
  auto* chart = chart_with_legend(
      QStringLiteral("Wilson plot, B = %1 Å² (relative scale)").arg(st.wilson_b, 0, 'f', 2));
  auto* points = new QScatterSeries;
  points->setName(QStringLiteral("shells"));
  points->setMarkerSize(8.0);
  double ylo = w.intercept + w.slope * w.s2_hi, yhi = w.intercept + w.slope * w.s2_lo;
  if (yhi < ylo) std::swap(ylo, yhi);
  for (const sa::WilsonPoint& p : st.wilson) {
    if (!std::isfinite(p.s2) || !std::isfinite(p.ln_mean_i)) continue;
    points->append(p.s2, p.ln_mean_i);
    ylo = std::min(ylo, p.ln_mean_i);
    yhi = std::max(yhi, p.ln_mean_i);
  }
  auto* line = new QLineSeries;
  line->setName(QStringLiteral("fit"));
  QPen pen(Qt::darkRed);
  pen.setWidthF(1.5);
  line->setPen(pen);
  line->append(w.s2_lo, w.intercept + w.slope * w.s2_lo);
  line->append(w.s2_hi, w.intercept + w.slope * w.s2_hi);
  const double pad = (yhi - ylo) * 0.05;
  auto* x = axis(QStringLiteral("sin²θ/λ² (Å⁻²)"), 0.0, w.s2_hi);
  auto* y = axis(QStringLiteral("ln<I>"), ylo - pad, yhi + pad);
  attach(chart, x, y, {points, line});
  return chart;
}

}  // namespace vorlane::frontend::qt
