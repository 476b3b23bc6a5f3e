#include "symmetry_analysis/tables_text.hpp"

#include <charconv>
#include <cmath>
#include <system_error>

#include "symmetry_analysis/intensity_statistics.hpp"

namespace vorlane::symmetry_analysis {
namespace {

std::string pad(const std::string& s, int width) {
  if (static_cast<int>(s.size()) >= width) return s;
  return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

std::string left(const std::string& s, int width) {
  if (static_cast<int>(s.size()) >= width) return s + " ";
  return s + std::string(static_cast<std::size_t>(width) - s.size(), ' ');
}

std::string integer(long long v, int width) { return pad(std::to_string(v), width); }

std::string figures(const ClassFigures& f) {
  return integer(f.n, 8) + integer(f.n_strong, 9) + fixed(f.mean_i, 2, 12) +
         fixed(f.mean_i_over_sigma, 2, 8);
}

std::string axis_text(const std::array<int, 3>& a) {
  return "[" + std::to_string(a[0]) + " " + std::to_string(a[1]) + " " + std::to_string(a[2]) +
         "]";
}

std::string cell_text(const Crystal& c) {
  std::string s;
  for (int i = 0; i < 6; ++i) s += fixed(c.cell[static_cast<std::size_t>(i)], i < 3 ? 4 : 3, 10);
  return s;
}

}  // namespace

std::string fixed(double v, int decimals, int width) {
  // Room for any finite double in fixed notation (up to 309 digits before the point).
  char buf[400];
  if (!std::isfinite(v)) return pad("-", width);
  if (v == 0.0) v = 0.0;  // no "-0.00"
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return pad("-", width);
  std::string s(buf, r.ptr);
  if (s.find_first_not_of("-0.") == std::string::npos && s[0] == '-') s.erase(0, 1);
  return pad(s, width);
}

std::string suggestion_line(const Analysis& a) {
  if (!a.determinable) return "Space group not determinable: " + a.reason + "\n";
  const SpaceGroupRow& best = a.space_groups.rows.front();
  std::string s = "Suggested space group: " + best.symbol + " (No. " +
                  std::to_string(best.number) + "), probability " + fixed(best.probability, 3);
  if (!best.ties.empty()) {
    s += ", tied with";
    for (const std::string& t : best.ties) s += " " + t + ";";
    s.pop_back();
  }
  if (!a.reindexing.empty())
    return s + " after reindexing " + a.reindexing +
           " (reindex the data first; no card applies to the cell as given)\n";
  return s + "; experiment-file card: VORLAN SPACEGROUP " + best.symbol + "\n";
}

std::string tables_text(const Analysis& a) {
  std::string s;
  s += "Symmetry from the data: " + std::to_string(a.n_measurements) + " measurements, " +
       std::to_string(a.n_unique) + " unique reflections (Friedel mates as one)\n";
  s += "Cell" + cell_text(a.crystal) + "\n";
  if (!a.reindexing.empty()) {
    s += "Reindexed " + a.reindexing + ": the cell above and every group below are after "
         "reindexing\n";
    s += "Cell as given" + cell_text(a.crystal_as_given) + "\n";
  }
  if (a.centring.rows.empty()) return s + "\n" + suggestion_line(a);

  s += "\nLattice centring: the reflections each centring forbids\n";
  s += "Centring      N  N(I>3s)         <I>   <I/s>  accepted\n";
  s += left("all", 6) + figures(a.centring.all) + "\n";
  for (const CentringRow& r : a.centring.rows)
    s += left(r.name, 6) + figures(r.forbidden) + (r.accepted ? "  yes" : "  no") + "\n";
  s += "Centring: " + a.centring.chosen + "\n";

  s += "\nLattice symmetry (Le Page obliquity within the tolerance): " +
       std::to_string(a.lattice.proper.size()) + " rotations";
  if (!a.lattice.candidates.empty())
    s += ", highest Laue class in these axes " + a.lattice.highest.symbol + " (" +
         a.lattice.highest.setting + ")";
  s += "\n";
  if (a.lattice.lattice_beyond_settings)
    s += "The lattice has more symmetry than any setting in these axes holds: higher "
         "symmetry needs reindexing\n";
  s += "Candidate Laue classes:";
  for (const LaueCandidate& c : a.lattice.candidates) s += " " + c.symbol + " (" + c.setting + ")";
  s += "\n";
  if (a.elements.n_identity_pairs == 0 && a.elements.elements.empty())
    return s + "\n" + suggestion_line(a);

  s += "\nSymmetry elements: CC of E^2 of the measurement pairs each relates; CC of repeated "
       "measurements " +
       fixed(a.elements.cc_identity, 3) + " from " + std::to_string(a.elements.n_identity_pairs) +
       " pairs, of Friedel mates among them " + fixed(a.elements.cc_friedel, 3) + " from " +
       std::to_string(a.elements.n_friedel_pairs) + "; expected for a present element " +
       fixed(a.elements.cc_expected, 3) + "\n";
  s += "Order  Axis          N pairs      CC  Likelihood\n";
  for (const ElementScore& e : a.elements.elements)
    s += pad(std::to_string(e.order), 5) + "  " + left(axis_text(e.axis), 12) +
         integer(e.n_pairs, 9) + fixed(e.cc, 3, 8) + fixed(e.likelihood, 3, 12) + "\n";
  if (a.laue.empty()) return s + "\n" + suggestion_line(a);

  s += "\nLaue classes\nClass   Setting          Probability\n";
  for (const LaueRow& r : a.laue)
    s += left(r.candidate.symbol, 8) + left(r.candidate.setting, 16) +
         fixed(r.probability, 4, 12) + "\n";

  s += "\nReflection conditions of the groups of Laue class " + a.laue.front().candidate.symbol +
       ": reflections each operator declares absent\n";
  s += "Operator                N zone  N absent  N(I>3s)         <I>   <I/s>\n";
  for (const ConditionRow& r : a.space_groups.conditions)
    s += left(r.op, 22) + integer(r.n_zone, 8) + figures(r.absent) + "\n";

  s += "\nSpace groups: probability, the reflections each declares absent beyond the centring, "
       "and the groups tied with it\n";
  s += "Symbol            No.  Probability  N absent  N(I>3s)         <I>   <I/s>  Ties\n";
  for (const SpaceGroupRow& r : a.space_groups.rows) {
    s += left(r.symbol, 16) + integer(r.number, 5) + fixed(r.probability, 4, 13) + " " +
         figures(r.absent);
    for (std::size_t i = 0; i < r.ties.size(); ++i) s += (i == 0 ? "  " : "; ") + r.ties[i];
    s += "\n";
  }

  const IntensityStatistics& st = a.statistics;
  s += "\nIntensity statistics of " + std::to_string(st.n_used) + " general reflections in shells "
       "of <I/s> >= 2 (of " + std::to_string(st.n_general) + ")" +
       (st.reliable ? "" : ": too few, not reliable") + "\n";
  s += "<|E^2-1|>  " + fixed(st.mean_abs_e2_minus_1, 3) + "   (centric 0.968, acentric 0.736)\n";
  s += "<I^2>/<I>^2 " + fixed(st.second_moment, 3) +
       "   (centric 3.0, acentric 2.0, perfect twin 1.5)\n";
  s += "<|L|>      " + fixed(st.mean_abs_l, 3) + "   from " + std::to_string(st.n_l_pairs) +
       " pairs (untwinned 0.500, perfect twin 0.375)\n";
  s += "Centrosymmetric: " +
       std::string(!st.centrosymmetric_likely ? "not judged"
                                              : *st.centrosymmetric_likely ? "likely"
                                                                           : "unlikely") +
       "; twinning: " + (st.twinning_suspected ? "SUSPECTED" : "not suspected") + "\n";
  s += "    z   N(z)  acentric  centric      |L|  N(|L|)  untwinned  perfect twin\n";
  for (std::size_t k = 0; k < 10; ++k) {
    const double z = 0.1 * static_cast<double>(k + 1);
    s += fixed(z, 1, 5) + fixed(st.nz[k], 3, 7) + fixed(nz_acentric(z), 3, 10) +
         fixed(nz_centric(z), 3, 9) + fixed(z, 1, 9) + fixed(st.nl[k], 3, 8) +
         fixed(nl_untwinned(z), 3, 11) + fixed(nl_perfect_twin(z), 3, 14) + "\n";
  }
  s += "Wilson plot (relative scale): B = " + fixed(st.wilson_b, 2) + " A^2\n";
  s += "(sin th/lambda)^2  ln<I>      N\n";
  for (const WilsonPoint& p : st.wilson)
    s += fixed(p.s2, 5, 17) + fixed(p.ln_mean_i, 3, 8) + integer(p.n, 7) + "\n";
  return s + "\n" + suggestion_line(a);
}

}  // namespace vorlane::symmetry_analysis
