// The report's Symmetry section from analyses of the committed synthetic sets (gemmi
// intensities of random structures) and of cases that cannot be analysed: every table, the
// suggestion, the plots or the line saying why one is missing, and nothing that is not a number.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "report/html_report.hpp"
#include "report/symmetry_section.hpp"
#include "symmetry_analysis/analysis.hpp"
#include "symmetry_analysis/synthetic_data.hpp"
#include "symmetry_analysis/tables_text.hpp"
#include "support/test_support.hpp"

namespace vorlane::report {
namespace {

namespace sa = symmetry_analysis;

sa::test::SyntheticSet synthetic(const char* name) {
  return sa::test::read_synthetic(std::filesystem::path(VORLANE_TEST_DATA) /
                                  "symmetry_analysis/synthetic" / name);
}

using testing::lower;

// No figure that is not a number reached the page ("nan", "inf", "-nan" in any case).
void expect_only_numbers(const std::string& html) {
  const std::string l = lower(html);
  EXPECT_EQ(l.find("nan"), std::string::npos) << html;
  EXPECT_EQ(l.find("inf"), std::string::npos) << html;
}

TEST(SymmetrySection, EveryTableAndPlotOfDeterminedSets) {
  struct Row {
    const char* file;
    const char* group;      // the group the set was made in
    bool centrosymmetric;   // of that group
  };
  const Row rows[] = {
      {"P121_c1.txt", "P 1 21/c 1", true},
      {"P212121.txt", "P 21 21 21", false},
      {"C12_c1.txt", "C 1 2/c 1", true},
      {"Pnma.txt", "P n m a", true},
  };
  for (const Row& r : rows) {
    const sa::test::SyntheticSet s = synthetic(r.file);
    const sa::Analysis a = sa::analyse(s.data, s.crystal, {});
    ASSERT_TRUE(a.determinable) << r.file << ": " << a.reason;
    const std::string h = symmetry_section(a);
    SCOPED_TRACE(r.file);
    for (const char* heading :
         {"<h2>Symmetry from the data</h2>", "<h3>Lattice centring</h3>",
          "<h3>Lattice symmetry</h3>", "<h3>Symmetry elements</h3>", "<h3>Laue classes</h3>",
          "<h3>Reflection conditions</h3>", "<h3>Space groups</h3>",
          "<h3>Intensity statistics</h3>"})
      EXPECT_EQ(testing::occurrences(h, heading), 1u) << heading;
    // Every centring, symmetry element, Laue class and space group has its row.
    const std::size_t rows_expected = 2 /* cell */ + 1 + 1 + a.centring.rows.size() /* centring */ +
                                      1 + a.elements.elements.size() + 1 + a.laue.size() +
                                      (a.space_groups.conditions.empty()
                                           ? 0
                                           : 1 + a.space_groups.conditions.size()) +
                                      1 + a.space_groups.rows.size() + 5 /* statistics */;
    EXPECT_EQ(testing::occurrences(h, "<tr"), rows_expected);
    // The suggestion is the first row's group, the one the set was made in or tied with it.
    const sa::SpaceGroupRow& best = a.space_groups.rows.front();
    const bool made = best.symbol == r.group ||
                      std::find(best.ties.begin(), best.ties.end(), r.group) != best.ties.end();
    EXPECT_TRUE(made) << sa::tables_text(a);
    EXPECT_NE(h.find("<b>Suggested space group: " + best.symbol + " (No. " +
                     std::to_string(best.number) + ")"),
              std::string::npos);
    EXPECT_NE(h.find("VORLAN SPACEGROUP " + best.symbol + "</b>"), std::string::npos);
    EXPECT_NE(h.find("<td>" + sa::fixed(best.probability, 4) + "</td>"), std::string::npos);
    EXPECT_EQ(h.find("after reindexing"), std::string::npos);
    ASSERT_TRUE(a.statistics.reliable);
    EXPECT_NE(h.find(r.centrosymmetric ? "Centrosymmetric: likely" : "Centrosymmetric: unlikely"),
              std::string::npos);
    EXPECT_NE(h.find("Twinning: not suspected"), std::string::npos);
    // The three plots, each with its theory curves.
    EXPECT_EQ(testing::occurrences(h, "<svg"), 3u);
    EXPECT_NE(h.find(">acentric</text>"), std::string::npos);
    EXPECT_NE(h.find(">centric</text>"), std::string::npos);
    EXPECT_NE(h.find(">untwinned</text>"), std::string::npos);
    EXPECT_NE(h.find(">perfect twin</text>"), std::string::npos);
    EXPECT_NE(h.find("Wilson plot, B = " + sa::fixed(a.statistics.wilson_b, 2)), std::string::npos);
    EXPECT_EQ(h.find("not drawn"), std::string::npos);
    expect_only_numbers(h);
  }
}

// The Wilson line against a least-squares fit of its own over the shells beyond 4 Å: the
// slope is -2B and the line goes through the fitted shells' mean.
TEST(SymmetrySection, WilsonLineIsTheLeastSquaresFit) {
  const sa::test::SyntheticSet s = synthetic("P121_c1.txt");
  const sa::Analysis a = sa::analyse(s.data, s.crystal, {});
  ASSERT_TRUE(a.determinable);
  const auto& pts = a.statistics.wilson;
  double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (const auto& p : pts) {
    if (!(p.s2 > 1.0 / 64.0)) continue;
    n += 1;
    sx += p.s2;
    sy += p.ln_mean_i;
    sxx += p.s2 * p.s2;
    sxy += p.s2 * p.ln_mean_i;
  }
  ASSERT_GE(n, 3.0);
  const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
  const double intercept = (sy - slope * sx) / n;
  const WilsonLine w = wilson_line(a.statistics);
  ASSERT_TRUE(w.formed);
  EXPECT_NEAR(w.slope, slope, 1e-9 * std::fabs(slope));
  EXPECT_NEAR(w.intercept, intercept, 1e-9 * std::fabs(intercept) + 1e-12);
  EXPECT_LT(w.s2_lo, w.s2_hi);
  EXPECT_DOUBLE_EQ(w.s2_lo, pts.front().s2);
  EXPECT_DOUBLE_EQ(w.s2_hi, pts.back().s2);
}

TEST(SymmetrySection, ReindexingNamedAndNoCardOffered) {
  sa::test::SyntheticSet s = synthetic("P41212.txt");
  // The crystal with its axes turned: the 4-fold lies along a.
  for (sa::Measurement& m : s.data) m.hkl = {m.hkl[2], m.hkl[0], m.hkl[1]};
  const auto c = s.crystal.cell;
  const sa::Analysis a = sa::analyse(s.data, {{c[2], c[0], c[1], c[5], c[3], c[4]}, 0.71073}, {});
  ASSERT_TRUE(a.determinable) << a.reason;
  const std::string h = symmetry_section(a);
  EXPECT_NE(h.find("After reindexing k,l,h: the cell above and every group below are after "
                   "reindexing."),
            std::string::npos);
  EXPECT_NE(h.find(" after reindexing k,l,h (reindex the data first"), std::string::npos);
  EXPECT_EQ(h.find("VORLAN SPACEGROUP"), std::string::npos);
  expect_only_numbers(h);
}

TEST(SymmetrySection, TwinningSuspectedIsSaid) {
  const sa::test::SyntheticSet s = synthetic("twin_P4.txt");
  const sa::Analysis a = sa::analyse(s.data, s.crystal, {});
  ASSERT_TRUE(a.statistics.twinning_suspected);
  const std::string h = symmetry_section(a);
  EXPECT_NE(h.find("<p class=\"warn\">Centrosymmetric: "), std::string::npos);
  EXPECT_NE(h.find("Twinning: suspected"), std::string::npos);
  expect_only_numbers(h);
}

TEST(SymmetrySection, MergedAndTooLittleDataGiveTheReasonAndNoPlot) {
  // Merged: one measurement of each reflection and its Friedel mate (the first in the file).
  const sa::test::SyntheticSet s = synthetic("P121_c1.txt");
  std::map<sa::Hkl, sa::Measurement> first;
  for (const sa::Measurement& m : s.data)
    first.emplace(std::max(m.hkl, sa::negated(m.hkl)), m);
  std::vector<sa::Measurement> merged;
  for (const auto& [hkl, m] : first) merged.push_back(m);
  const sa::Analysis a = sa::analyse(merged, s.crystal, {});
  ASSERT_FALSE(a.determinable);
  std::string h = symmetry_section(a);
  EXPECT_NE(h.find("<p class=\"warn\"><b>Space group not determinable: merged data"),
            std::string::npos);
  EXPECT_NE(h.find("<h3>Lattice centring</h3>"), std::string::npos);
  EXPECT_EQ(h.find("<h3>Space groups</h3>"), std::string::npos);
  EXPECT_EQ(h.find("<svg"), std::string::npos);
  EXPECT_EQ(h.find("Suggested"), std::string::npos);
  expect_only_numbers(h);

  const std::vector<sa::Measurement> few(s.data.begin(), s.data.begin() + 40);
  const sa::Analysis b = sa::analyse(few, s.crystal, {});
  h = symmetry_section(b);
  EXPECT_NE(h.find("Space group not determinable: too little data: 40 measurements"),
            std::string::npos);
  EXPECT_EQ(h.find("<h3>"), std::string::npos);
  EXPECT_EQ(h.find("<svg"), std::string::npos);
  expect_only_numbers(h);
}

// An analysis with figures that cannot be formed, empty statistics and markup in its texts.
TEST(SymmetrySection, FiguresThatCannotBeFormedAndPlotsWithoutPoints) {
  sa::Analysis a;
  a.determinable = true;
  a.n_measurements = 120;
  a.crystal.cell = {5, 6, std::nan(""), 90, 90, 90};
  a.centring.rows.push_back({"P", {}, true});
  a.centring.all = {120, 60, 1e300, std::nan("")};  // a mean far wider than any column
  a.centring.chosen = "P";
  a.elements.n_identity_pairs = 60;
  a.elements.cc_identity = std::nan("");
  a.elements.elements.push_back({sa::IDENTITY, 2, {0, 1, 0}, 0, std::nan(""), 0.5, 0, 0});
  sa::LaueRow laue;
  laue.candidate.symbol = "2/m";
  laue.candidate.setting = "P 1 2/m 1";
  laue.probability = 1.0;
  a.laue.push_back(laue);
  sa::SpaceGroupRow g;
  g.symbol = "P <1> & 2";
  g.number = 3;
  g.probability = std::numeric_limits<double>::infinity();
  a.space_groups.rows.push_back(g);
  a.statistics.wilson_b = std::nan("");
  a.statistics.wilson.push_back({0.1, 2.0, 10});
  const std::string h = symmetry_section(a);
  EXPECT_NE(h.find("P &lt;1&gt; &amp; 2"), std::string::npos);
  EXPECT_EQ(h.find("P <1>"), std::string::npos);
  EXPECT_NE(h.find("<td>n/a</td>"), std::string::npos);
  // 1e300 in full, as the nearest double's 301 digits.
  const auto wide = h.find("<td>1000000000000000052504760255204420248704468581108159154915854");
  ASSERT_NE(wide, std::string::npos);
  EXPECT_EQ(h.substr(wide + 4 + 301, 8), ".00</td>");
  EXPECT_NE(h.find("repeated measurements n/a from 60 pairs"), std::string::npos);
  EXPECT_NE(h.find("<p>N(z) is not drawn: no general reflections.</p>"), std::string::npos);
  EXPECT_NE(h.find("<p>N(|L|) is not drawn: no reflection pairs for the L-test.</p>"),
            std::string::npos);
  EXPECT_NE(h.find("<p>The Wilson plot is not drawn: fewer than two shells"), std::string::npos);
  EXPECT_EQ(h.find("<svg"), std::string::npos);
  // The statistics that cannot be formed without general reflections.
  EXPECT_NE(h.find("⟨|E²−1|⟩</td><td>n/a</td>"), std::string::npos);
  EXPECT_NE(h.find("Wilson B (Å², relative scale)</td><td>n/a</td>"), std::string::npos);
  EXPECT_NE(h.find("Centrosymmetric: not judged"), std::string::npos);
  expect_only_numbers(h);

  sa::Analysis r;
  r.reason = "too little <data> & \x01";
  const std::string t = symmetry_section(r);
  EXPECT_NE(t.find("too little &lt;data&gt; &amp; \\x01"), std::string::npos);
}

TEST(SymmetrySection, InTheReportAfterEverythingElse) {
  statistics::Statistics st;
  st.no_shells_reason = "no shells";
  RunFigures run;
  run.title = "t";
  const std::string without = html_report(st, run);
  EXPECT_NE(without.find("<h2>Symmetry from the data</h2>\n<p>Not analysed: it needs the cell "
                         "(a CELL card in the experiment file).</p>\n</body></html>\n"),
            std::string::npos);

  const sa::test::SyntheticSet s = synthetic("P121_c1.txt");
  run.symmetry = std::make_shared<const sa::Analysis>(sa::analyse(s.data, s.crystal, {}));
  const std::string with = html_report(st, run);
  const std::string before = without.substr(0, without.find("<h2>Symmetry from the data</h2>"));
  EXPECT_EQ(with.substr(0, before.size()), before);
  EXPECT_EQ(with.substr(before.size()), symmetry_section(*run.symmetry) + "</body></html>\n");
}

}  // namespace
}  // namespace vorlane::report
