#include "report/symmetry_section.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <system_error>
#include <utility>

#include "report/svg_plot.hpp"
#include "symmetry_analysis/tables_text.hpp"

namespace vorlane::report {
namespace {

namespace sa = symmetry_analysis;

// Wide enough for three legend entries beside the axis label; two plots still fit side by side.
constexpr int PLOT_WIDTH = 650;

// A figure with `decimals` decimals (no "-0.00"), or "n/a" when it cannot be formed.
std::string number(double v, int decimals) {
  if (!std::isfinite(v)) return "n/a";
  if (v == 0.0) v = 0.0;
  // Room for the widest double in fixed notation (309 digits, a sign, a point, the decimals).
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return "n/a";
  std::string s(buf, r.ptr);
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

std::string td(const std::string& text) { return "<td>" + text + "</td>"; }
std::string td_left(const std::string& text) {
  return "<td style=\"text-align:left\">" + xml_escape(text) + "</td>";
}

// Qt's rich text knows the border attributes, not the report's style sheet.
std::string table_head(std::initializer_list<const char*> headings) {
  std::string h = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>";
  for (const char* t : headings) h += std::string("<th>") + t + "</th>";
  return h + "</tr>\n";
}

std::string figures(const sa::ClassFigures& f) {
  // The means of an empty class cannot be formed.
  return td(std::to_string(f.n)) + td(std::to_string(f.n_strong)) +
         td(f.n > 0 ? number(f.mean_i, 2) : "n/a") +
         td(f.n > 0 ? number(f.mean_i_over_sigma, 2) : "n/a");
}

std::string axis_text(const std::array<int, 3>& a) {
  return "[" + std::to_string(a[0]) + " " + std::to_string(a[1]) + " " + std::to_string(a[2]) +
         "]";
}

std::string paragraph(const std::string& text, const char* cls = nullptr) {
  return std::string("<p") + (cls ? std::string(" class=\"") + cls + "\"" : "") + ">" +
         xml_escape(text) + "</p>\n";
}

std::string centring_table(const sa::CentringResult& c) {
  std::string h = "<h3>Lattice centring</h3>\n"
                  "<p>The reflections each centring forbids, beside all reflections.</p>\n";
  h += table_head({"centring", "N", "N(I&gt;3σ)", "⟨I⟩", "⟨I/σ⟩", "accepted"});
  h += "<tr class=\"overall\">" + td_left("all") + figures(c.all) + td("") + "</tr>\n";
  for (const sa::CentringRow& r : c.rows)
    h += "<tr>" + td_left(r.name) + figures(r.forbidden) + td(r.accepted ? "yes" : "no") +
         "</tr>\n";
  return h + "</table>\n" + paragraph("Centring: " + c.chosen);
}

std::string lattice_text(const sa::LatticeSymmetry& l) {
  std::string s = "Lattice symmetry (Le Page obliquity within the tolerance): " +
                  std::to_string(l.proper.size()) + " rotations";
  if (!l.candidates.empty())
    s += ", highest Laue class in these axes " + l.highest.symbol + " (" + l.highest.setting + ")";
  std::string h = "<h3>Lattice symmetry</h3>\n" + paragraph(s + ".");
  if (l.lattice_beyond_settings)
    h += paragraph("The lattice has more symmetry than any setting in these axes holds: higher "
                   "symmetry needs reindexing.", "warn");
  std::string c = "Candidate Laue classes:";
  for (const sa::LaueCandidate& k : l.candidates) c += " " + k.symbol + " (" + k.setting + ")";
  return h + paragraph(l.candidates.empty() ? std::string("No candidate Laue class.") : c + ".");
}

std::string elements_table(const sa::ElementScoring& e) {
  std::string h = "<h3>Symmetry elements</h3>\n";
  // A correlation of no pairs, and what is judged from it, cannot be formed.
  auto cc = [](double v, int pairs) { return pairs > 0 ? number(v, 3) : std::string("n/a"); };
  h += paragraph("Correlation (CC) of E² of the measurement pairs each rotation relates. CC of "
                 "repeated measurements " + cc(e.cc_identity, e.n_identity_pairs) + " from " +
                 std::to_string(e.n_identity_pairs) + " pairs, of Friedel mates among them " +
                 cc(e.cc_friedel, e.n_friedel_pairs) + " from " +
                 std::to_string(e.n_friedel_pairs) + "; expected for a present element " +
                 cc(e.cc_expected, e.n_identity_pairs) + ".");
  h += table_head({"order", "axis", "N pairs", "CC", "likelihood"});
  for (const sa::ElementScore& s : e.elements)
    h += "<tr>" + td(std::to_string(s.order)) + td_left(axis_text(s.axis)) +
         td(std::to_string(s.n_pairs)) + td(cc(s.cc, s.n_pairs)) +
         // Below ten pairs the likelihood is not judged (the analysis leaves it at 1/2).
         td(s.n_pairs >= 10 ? number(s.likelihood, 3) : "n/a") + "</tr>\n";
  return h + "</table>\n";
}

std::string laue_table(const std::vector<sa::LaueRow>& rows) {
  std::string h = "<h3>Laue classes</h3>\n" + table_head({"class", "setting", "probability"});
  for (const sa::LaueRow& r : rows)
    h += "<tr>" + td_left(r.candidate.symbol) + td_left(r.candidate.setting) +
         td(number(r.probability, 4)) + "</tr>\n";
  return h + "</table>\n";
}

std::string conditions_table(const sa::Analysis& a) {
  std::string h = "<h3>Reflection conditions</h3>\n" +
                  paragraph("The reflections each screw axis or glide plane of the groups of "
                            "Laue class " + a.laue.front().candidate.symbol +
                            " declares absent.");
  if (a.space_groups.conditions.empty()) return h + paragraph("No such operator.");
  h += table_head({"operator", "N zone", "N absent", "N(I&gt;3σ)", "⟨I⟩", "⟨I/σ⟩"});
  for (const sa::ConditionRow& r : a.space_groups.conditions)
    h += "<tr>" + td_left(r.op) + td(std::to_string(r.n_zone)) + figures(r.absent) + "</tr>\n";
  return h + "</table>\n";
}

std::string groups_table(const sa::SpaceGroupRanking& g) {
  std::string h = "<h3>Space groups</h3>\n" +
                  paragraph("Ranked by probability, with the reflections each declares absent "
                            "beyond the centring and the groups the intensities cannot tell "
                            "from it (ties).");
  if (g.rows.empty()) return h + paragraph("No space group fits.");
  h += table_head({"symbol", "No.", "probability", "N absent", "N(I&gt;3σ)", "⟨I⟩", "⟨I/σ⟩",
                   "ties"});
  for (std::size_t i = 0; i < g.rows.size(); ++i) {
    const sa::SpaceGroupRow& r = g.rows[i];
    std::string ties;
    for (const std::string& t : r.ties) ties += (ties.empty() ? "" : "; ") + t;
    h += (i == 0 ? "<tr class=\"overall\">" : "<tr>") + td_left(r.symbol) +
         td(std::to_string(r.number)) + td(number(r.probability, 4)) + figures(r.absent) +
         td_left(ties) + "</tr>\n";
  }
  return h + "</table>\n";
}

std::string statistics_table(const sa::IntensityStatistics& st) {
  std::string h = "<h3>Intensity statistics</h3>\n";
  h += paragraph(std::to_string(st.n_used) + " general reflections in shells of ⟨I/σ⟩ ≥ 2 (of " +
                     std::to_string(st.n_general) + "): " +
                     (st.reliable ? "reliable." : "too few, not reliable."),
                 st.reliable ? nullptr : "warn");
  const bool any = st.n_general > 0;
  h += table_head({"statistic", "value", "centric", "acentric", "perfect twin"});
  h += "<tr>" + td_left("⟨|E²−1|⟩") + td(any ? number(st.mean_abs_e2_minus_1, 3) : "n/a") +
       td("0.968") + td("0.736") + td("") + "</tr>\n";
  h += "<tr>" + td_left("⟨I²⟩/⟨I⟩²") + td(any ? number(st.second_moment, 3) : "n/a") +
       td("3.0") + td("2.0") + td("1.5") + "</tr>\n";
  h += "<tr>" + td_left("⟨|L|⟩ (" + std::to_string(st.n_l_pairs) + " pairs)") +
       td(st.n_l_pairs > 0 ? number(st.mean_abs_l, 3) : "n/a") + td("0.637") + td("0.500") +
       td("0.375") + "</tr>\n";
  h += "<tr>" + td_left("Wilson B (Å², relative scale)") +
       td(wilson_line(st).formed ? number(st.wilson_b, 2) : "n/a") + td("") + td("") + td("") +
       "</tr>\n</table>\n";
  const std::string centric = !st.centrosymmetric_likely ? "not judged (the statistics are not reliable)"
                              : *st.centrosymmetric_likely ? "likely"
                                                           : "unlikely";
  h += paragraph("Centrosymmetric: " + centric + ". Twinning: " +
                     (st.twinning_suspected ? "suspected (⟨|L|⟩ below 0.44); the Laue class is "
                                              "less certain."
                                            : "not suspected."),
                 st.twinning_suspected ? "warn" : nullptr);
  return h;
}

Series theory(const std::string& name, const std::string& colour, double (*f)(double)) {
  Series s;
  s.name = name;
  s.colour = colour;
  s.markers = false;
  for (int k = 0; k <= 50; ++k) {
    const double x = 0.02 * k;
    s.x.push_back(x);
    s.y.push_back(f(x));
  }
  return s;
}

Series observed(const std::array<double, 10>& cumulative) {
  Series s;
  s.name = "observed";
  s.colour = "#1f5fa8";
  for (std::size_t k = 0; k < cumulative.size(); ++k) {
    s.x.push_back(0.1 * static_cast<double>(k + 1));
    s.y.push_back(cumulative[k]);
  }
  return s;
}

// A cumulative distribution as observed against its two theoretical curves.
std::string cumulative_plot(const std::string& title, const std::string& x_label,
                            const std::string& y_label, const std::array<double, 10>& cumulative,
                            Series first, Series second) {
  Plot p;
  p.width = PLOT_WIDTH;
  p.title = title;
  p.x_label = x_label;
  p.y_label = y_label;
  p.series = {observed(cumulative), std::move(first), std::move(second)};
  return render_svg(p);
}

}  // namespace

WilsonLine wilson_line(const sa::IntensityStatistics& st) {
  WilsonLine w;
  if (!st.wilson_fitted || st.wilson.empty()) return w;
  w.formed = true;
  w.slope = -2.0 * st.wilson_b;
  w.intercept = st.wilson_intercept;
  w.s2_lo = w.s2_hi = st.wilson.front().s2;
  for (const sa::WilsonPoint& p : st.wilson) {
    if (!std::isfinite(p.s2)) continue;
    w.s2_lo = std::min(w.s2_lo, p.s2);
    w.s2_hi = std::max(w.s2_hi, p.s2);
  }
  return w;
}

std::string symmetry_tables_html(const sa::Analysis& a) {
  std::string h = paragraph(std::to_string(a.n_measurements) + " measurements, " +
                            std::to_string(a.n_unique) +
                            " unique reflections (Friedel mates as one).");
  h += table_head({"a (Å)", "b (Å)", "c (Å)", "α (°)", "β (°)", "γ (°)"}) + "<tr>";
  for (std::size_t i = 0; i < 6; ++i) h += td(number(a.crystal.cell[i], i < 3 ? 4 : 3));
  h += "</tr>\n</table>\n";
  if (!a.reindexing.empty())
    h += paragraph("After reindexing " + a.reindexing +
                       ": the cell above and every group below are after reindexing.",
                   "warn");
  std::string line = sa::suggestion_line(a);
  if (!line.empty() && line.back() == '\n') line.pop_back();
  const std::string closing = std::string(a.determinable ? "<p>" : "<p class=\"warn\">") +
                              "<b>" + xml_escape(line) + "</b></p>\n";
  if (a.centring.rows.empty()) return h + closing;
  h += centring_table(a.centring);
  h += lattice_text(a.lattice);
  if (a.elements.n_identity_pairs == 0 && a.elements.elements.empty()) return h + closing;
  h += elements_table(a.elements);
  if (a.laue.empty()) return h + closing;
  h += laue_table(a.laue);
  h += conditions_table(a);
  h += groups_table(a.space_groups);
  h += statistics_table(a.statistics);
  return h + closing;
}

std::string symmetry_plots_html(const sa::Analysis& a) {
  if (a.laue.empty())
    return "<p>No intensity statistics: the Laue class was not determined.</p>\n";
  const sa::IntensityStatistics& st = a.statistics;
  std::string h, missing;
  h += "<div class=\"plots\">\n";
  if (st.n_general > 0) {
    h += cumulative_plot("Cumulative intensity distribution N(z)", "z = I/⟨I⟩", "N(z)", st.nz,
                         theory("acentric", "#27ae60", sa::nz_acentric),
                         theory("centric", "#c0392b", sa::nz_centric));
  } else {
    missing += "<p>N(z) is not drawn: no general reflections.</p>\n";
  }
  if (st.n_l_pairs > 0) {
    h += cumulative_plot("Cumulative |L| distribution (L-test)", "|L|", "N(|L|)", st.nl,
                         theory("untwinned", "#27ae60", sa::nl_untwinned),
                         theory("perfect twin", "#c0392b", sa::nl_perfect_twin));
  } else {
    missing += "<p>N(|L|) is not drawn: no reflection pairs for the L-test.</p>\n";
  }
  const WilsonLine w = wilson_line(st);
  if (w.formed) {
    Plot p;
    p.width = PLOT_WIDTH;
    p.title = "Wilson plot, B = " + number(st.wilson_b, 2) + " Å² (relative scale)";
    p.x_label = "sin²θ/λ² (Å⁻²)";
    p.y_label = "ln⟨I⟩";
    p.y_from_zero = false;
    Series pts;
    pts.name = "shells";
    pts.style = Series::Style::points;
    pts.colour = "#1f5fa8";
    pts.point_radius = 3.0;
    for (const sa::WilsonPoint& q : st.wilson) {
      pts.x.push_back(q.s2);
      pts.y.push_back(q.ln_mean_i);
    }
    Series line;
    line.name = "fit";
    line.colour = "#c0392b";
    line.markers = false;
    line.x = {w.s2_lo, w.s2_hi};
    line.y = {w.intercept + w.slope * w.s2_lo, w.intercept + w.slope * w.s2_hi};
    p.series = {pts, line};
    h += render_svg(p);
  } else {
    missing += "<p>The Wilson plot is not drawn: fewer than two shells with a positive mean "
               "intensity.</p>\n";
  }
  return h + "</div>\n" + missing;
}

std::string symmetry_section(const sa::Analysis& a) {
  std::string h = "<h2>Symmetry from the data</h2>\n";
  h += symmetry_tables_html(a);
  if (!a.laue.empty()) h += symmetry_plots_html(a);
  return h;
}

std::string symmetry_section_without_cell() {
  return "<h2>Symmetry from the data</h2>\n<p>Not analysed: it needs the cell (a CELL card in "
         "the experiment file).</p>\n";
}

}  // namespace vorlane::report
