#include "report/html_report.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "report/print_tables.hpp"
#include "report/svg_plot.hpp"
#include "report/symmetry_section.hpp"

namespace vorlane::report {

namespace {

std::string cell(double v, int decimals) {
  std::string s = figure(v, 12, decimals);
  const auto p = s.find_first_not_of(' ');
  return p == std::string::npos ? "" : s.substr(p);
}

// A ratio that could not be formed (no pairs, intensities summing to zero or less).
std::string ratio_cell(double v, int decimals) {
  return std::isfinite(v) ? cell(v, decimals) : std::string("n/a");
}

std::string count(std::int64_t n) { return std::to_string(n); }

// sin(theta)/lambda at the middle of a shell (in 1/d^3, where the shells are equal).
double shell_middle(const statistics::ShellRow& r) {
  const double a = 1.0 / (r.d_max * r.d_max * r.d_max), b = 1.0 / (r.d_min * r.d_min * r.d_min);
  return std::cbrt((a + b) / 2.0) / 2.0;
}

Plot resolution_plot(const std::string& title,
                     const std::string& y_label) {
  Plot p;
  p.title = title;
  p.x_label = "sin(θ)/λ (Å⁻¹)";
  p.y_label = y_label;
  p.top_label = "d (Å)";
  p.top_value = [](double s) { return s > 0.0 ? 1.0 / (2.0 * s) : std::nan(""); };
  return p;
}

Series by_shell(const statistics::Statistics& st, double statistics::ShellRow::*field,
                const std::string& name, const std::string& colour) {
  Series s;
  s.name = name;
  s.colour = colour;
  for (const auto& r : st.shells) {
    s.x.push_back(shell_middle(r));
    s.y.push_back(r.*field);
  }
  return s;
}

// An R value is a ratio of sums of magnitudes: a negative one (from a negative intensity sum)
// means nothing and is not drawn.
Series without_negative(Series s) {
  for (double& y : s.y)
    if (y < 0.0) y = std::nan("");
  return s;
}

// Bars beyond this many are gathered into groups of neighbours: a chart of a million set sizes
// or ten thousand batches stays a chart of a few hundred bars.
constexpr std::size_t MAX_BARS = 200;

// The bars of `s` (in order of x) gathered into at most MAX_BARS groups of equal numbers of
// neighbours, each drawn at the mean of its x: the sum of their values (counts), or their mean
// (figures such as R(int), over the finite ones only).
Series gathered(Series s, bool sum) {
  const std::size_t n = std::min(s.x.size(), s.y.size());
  if (n <= MAX_BARS) return s;
  const std::size_t per = (n + MAX_BARS - 1) / MAX_BARS;
  Series g = s;
  g.x.clear();
  g.y.clear();
  for (std::size_t a = 0; a < n; a += per) {
    const std::size_t b = std::min(n, a + per);
    double sx = 0.0, sy = 0.0;
    std::size_t finite = 0;
    for (std::size_t i = a; i < b; ++i) {
      sx += s.x[i];
      if (std::isfinite(s.y[i])) {
        sy += s.y[i];
        ++finite;
      }
    }
    g.x.push_back(sx / static_cast<double>(b - a));
    g.y.push_back(finite == 0 ? std::nan("") : sum ? sy : sy / static_cast<double>(finite));
  }
  return g;
}

std::string shell_table(const statistics::Statistics& st) {
  std::string h = "<table><tr><th>d max (Å)</th><th>d min (Å)</th><th>N obs</th><th>N uniq</th>"
                  "<th>mult.</th><th>compl.</th>";
  if (st.has_dac) h += "<th>DAC compl.</th>";
  h += "<th>⟨I/σ⟩</th><th>R(int)</th><th>R(σ)</th><th>R(meas)</th><th>R(pim)</th>"
       "<th>CC½</th><th>χ²</th></tr>\n";
  auto row = [&](const statistics::ShellRow& r, bool overall) {
    std::string t = overall ? "<tr class=\"overall\">" : "<tr>";
    t += "<td>" + cell(r.d_max, 3) + "</td><td>" + cell(r.d_min, 3) + "</td><td>" +
         count(r.n_obs) + "</td><td>" + count(r.n_unique) + "</td><td>" +
         cell(r.multiplicity, 2) + "</td><td>" + cell(r.completeness, 3) + "</td>";
    if (st.has_dac) t += "<td>" + cell(r.dac_completeness, 3) + "</td>";
    t += "<td>" + cell(r.i_over_sigma, 1) + "</td><td>" + ratio_cell(r.r_int, 4) + "</td><td>" +
         ratio_cell(r.r_sigma, 4) + "</td><td>" + ratio_cell(r.r_meas, 4) + "</td><td>" +
         ratio_cell(r.r_pim, 4) + "</td><td>" + ratio_cell(r.cc_half, 4) + "</td><td>" +
         cell(r.chi2, 3) + "</td></tr>\n";
    return t;
  };
  for (const auto& r : st.shells) h += row(r, false);
  h += row(st.overall, true);
  h += "</table>\n<p class=\"note\">The last row is this table's own overall row (written sets, "
       "accepted members); it is not the CIF's R(int).</p>\n";
  return h;
}

std::string fraction_text(double f) { return f < 0.0 ? std::string("?") : cell(f, 3); }

}  // namespace

std::string html_report(const statistics::Statistics& st, const RunFigures& run) {
  std::string h =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
      "<title>VORLANE report</title>\n<style>\n"
      "body{font-family:sans-serif;margin:1.5em;max-width:1320px;color:#222}\n"
      "table{border-collapse:collapse;margin:0.5em 0}\n"
      "td,th{border:1px solid #bbb;padding:2px 8px;text-align:right}\n"
      "th{background:#eef}\ntr.overall{font-weight:bold;background:#f6f6f6}\n"
      ".plots{display:flex;flex-wrap:wrap;gap:12px}\n.note{color:#555;font-size:90%}\n"
      ".warn{color:#8a4b00}\n</style></head><body>\n";
  h += "<h1>VORLANE data reduction report</h1>\n<p>" + xml_escape(run.title) + "</p>\n";

  h += "<h2>Summary</h2>\n<table>\n";
  auto line = [&h](const std::string& k, const std::string& v) {
    h += "<tr><th style=\"text-align:left\">" + k + "</th><td>" + xml_escape(v) + "</td></tr>\n";
  };
  line("reflections read", std::to_string(run.reflections_read));
  line("equivalent sets", std::to_string(run.sets) + " (" + std::to_string(run.singlets) +
                              " measured once)");
  line("R(int), absences left out (CIF)",
       run.r_known && std::isfinite(run.r_int_all) ? ratio_cell(run.r_int_all, 4) : "n/a");
  line("R(σ), all sets (CIF)", run.r_known ? ratio_cell(run.r_sigma_all, 4) : "n/a");
  line("completeness to θ_max (CIF)", fraction_text(run.completeness_max));
  line("completeness to θ_full (CIF)", fraction_text(run.completeness_full));
  if (st.has_shells) {
    line("this table's overall R(int)", ratio_cell(st.overall.r_int, 4));
    line("this table's overall completeness", cell(st.overall.completeness, 3));
  }
  if (st.has_dac)
    line("DAC completeness (opening " + cell(run.dac_opening, 1) + "°)",
         cell(st.overall.dac_completeness, 3));
  const auto& rj = st.rejections;
  line("not passed on", "space-group violations " + count(rj.violation) + ", outside 2θ " +
                            count(rj.outside_2theta) + ", less-thans " + count(rj.less_than) +
                            ", singlets dropped " + count(rj.singlet_dropped) + ", DAC dips " +
                            count(rj.dac_dip) + ", outliers " + count(rj.outlier) +
                            ", overflowed " + count(rj.overflow));
  line("wavelength (Å)", cell(run.wavelength, 5));
  line("print file", run.print_file);
  line("output file", run.output_file);
  line("CIF fragment", run.cif_file.empty() ? "not written" : run.cif_file);
  h += "</table>\n";

  h += "<h2>Warnings</h2>\n";
  if (run.warnings.empty()) h += "<p>None.</p>\n";
  for (const auto& w : run.warnings) h += "<p class=\"warn\">" + xml_escape(w) + "</p>\n";

  h += "<h2>Statistics by resolution shell</h2>\n";
  if (!st.has_shells) {
    h += "<p>" + xml_escape(st.no_shells_reason) + "</p>\n";
  } else {
    h += shell_table(st);
    h += "<div class=\"plots\">\n";
    Plot c = resolution_plot("Completeness", "completeness");
    c.series.push_back(by_shell(st, &statistics::ShellRow::completeness, "full sphere", "#1f5fa8"));
    if (st.has_dac)
      c.series.push_back(
          by_shell(st, &statistics::ShellRow::dac_completeness, "DAC accessible", "#c0392b"));
    h += render_svg(c);
    Plot io = resolution_plot("Mean I/σ(I)", "⟨I/σ(I)⟩");
    io.series.push_back(by_shell(st, &statistics::ShellRow::i_over_sigma, "", "#1f5fa8"));
    h += render_svg(io);
    Plot ri = resolution_plot("R(int)", "R(int)");
    ri.series.push_back(
        without_negative(by_shell(st, &statistics::ShellRow::r_int, "R(int)", "#1f5fa8")));
    ri.series.push_back(
        without_negative(by_shell(st, &statistics::ShellRow::r_sigma, "R(σ)", "#7f8c8d")));
    h += render_svg(ri);
    Plot cc = resolution_plot("CC½", "CC½");
    cc.series.push_back(by_shell(st, &statistics::ShellRow::cc_half, "", "#27ae60"));
    h += render_svg(cc);
    Plot mu = resolution_plot("Multiplicity", "N obs / N uniq");
    mu.series.push_back(by_shell(st, &statistics::ShellRow::multiplicity, "", "#8e44ad"));
    h += render_svg(mu);
    h += "</div>\n";
  }

  h += "<h2>Normal probability plot</h2>\n<p>Slope " + cell(st.normal_probability.slope, 3) +
       ", intercept " + cell(st.normal_probability.intercept, 3) +
       " (straight-line fit where |expected| &lt; 1; ideal: 1 and 0).</p>\n<div class=\"plots\">\n";
  Plot np;
  np.title = "Normal probability plot of the deviations";
  np.x_label = "expected normal quantile";
  np.y_label = "sorted deviation δ";
  np.diagonal = true;
  np.y_from_zero = false;
  Series pts;
  pts.style = Series::Style::points;
  pts.x = st.normal_probability.expected;
  pts.y = st.normal_probability.observed;
  np.series.push_back(pts);
  h += render_svg(np);

  Plot hist;
  hist.title = "Set sizes";
  hist.x_label = "accepted members of a set";
  hist.y_label = "number of sets";
  Series bars;
  bars.style = Series::Style::bars;
  bars.colour = "#2c7fb8";
  for (std::size_t n = 1; n < st.set_size_histogram.size(); ++n) {
    bars.x.push_back(static_cast<double>(n));
    bars.y.push_back(static_cast<double>(st.set_size_histogram[n]));
  }
  hist.series.push_back(gathered(std::move(bars), true));
  h += render_svg(hist);
  h += "</div>\n";

  if (!st.batches.empty()) {
    h += "<h2>By batch</h2>\n<div class=\"plots\">\n";
    Plot rb, ib;
    rb.title = "R(int) by batch";
    rb.x_label = "batch";
    rb.y_label = "R(int)";
    ib.title = "Mean I/σ(I) by batch";
    ib.x_label = "batch";
    ib.y_label = "⟨I/σ(I)⟩";
    Series r, i;
    r.style = i.style = Series::Style::bars;
    i.colour = "#e67e22";
    for (const auto& b : st.batches) {
      r.x.push_back(b.batch);
      r.y.push_back(b.r_int);
      i.x.push_back(b.batch);
      i.y.push_back(b.i_over_sigma);
    }
    rb.series.push_back(gathered(without_negative(std::move(r)), false));
    ib.series.push_back(gathered(std::move(i), false));
    h += render_svg(rb) + render_svg(ib) + "</div>\n";
  }
  h += run.symmetry ? symmetry_section(*run.symmetry) : symmetry_section_without_cell();
  h += "</body></html>\n";
  return h;
}

}  // namespace vorlane::report
