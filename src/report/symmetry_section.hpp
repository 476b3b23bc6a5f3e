#pragma once
// The symmetry found from the data, as a section of the HTML report: the tables of the
// analysis, the suggestion, and the plots of the intensity statistics against theory.
#include <string>

#include "symmetry_analysis/analysis.hpp"

namespace vorlane::report {

// The whole section: its heading, the tables and the plots.
std::string symmetry_section(const symmetry_analysis::Analysis& a);
// The section of a run without a cell, whose symmetry was not analysed.
std::string symmetry_section_without_cell();

// The tables alone (plain HTML tables with border attributes, readable in Qt's rich text as
// well), ending with the suggestion or the reason none can be made.
std::string symmetry_tables_html(const symmetry_analysis::Analysis& a);
// The plots: cumulative N(z) against the acentric and centric curves, cumulative |L| against
// the untwinned and perfect-twin curves, the Wilson plot with its fitted line; a plot without
// points is left out with a line saying why.
std::string symmetry_plots_html(const symmetry_analysis::Analysis& a);

// The Wilson plot's straight line, ln<I> = intercept + slope s2 with slope -2B, as the
// analysis fitted it (to the shells beyond 4 Å, all when fewer than three); `formed` false
// when it was not fitted.
struct WilsonLine {
  bool formed = false;
  double slope = 0.0, intercept = 0.0;
  double s2_lo = 0.0, s2_hi = 0.0;  // the range of the shells drawn
};
WilsonLine wilson_line(const symmetry_analysis::IntensityStatistics& st);

}  // namespace vorlane::report
