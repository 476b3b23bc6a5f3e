#include "output/print_completeness.hpp"

#include <string>
#include <string_view>

#include "records/edit_list.hpp"

namespace vorlane::output {

namespace {

using averaging::Coverage;
using records::format_F;
using records::format_I;

// A fraction in F7.3, or "?" in its seven columns.
std::string fraction_text(float v) {
  return v >= 0.0f && v < 1.005f ? format_F(v, 7, 3) : std::string(6, ' ') + "?";
}

// "measured OF possible fraction" to theta max and to theta full.
std::string coverage_row(std::string_view label, const Coverage& max, const Coverage& full) {
  return std::string(label) + format_I(max.measured, 7) + " OF" + format_I(max.possible, 7) +
         fraction_text(max.fraction()) + "   " + format_I(full.measured, 7) + " OF" +
         format_I(full.possible, 7) + fraction_text(full.fraction());
}

}  // namespace

void PRINT_COMPLETENESS(run::RunState& rs) {
  const averaging::DataFigures& f = rs.res.figures;
  auto& prt = rs.files.print;
  const records::EditList line("(10X,A)");
  auto put = [&](const std::string& text) { prt.put(line, std::string_view(text)); };

  prt.put(records::EditList(R"((/,/,/,20("*"),"COMPLETENESS OF THE DATA WRITTEN",20("*"),/))"));
  put(format_I(f.reflections, 7) + " REFLECTIONS MEASURED IN THE SETS WRITTEN");
  put(format_I(f.lines_total, 7) + " LINES WRITTEN TO OUTPUT FILE, " + format_I(f.lines_gt, 7) +
      " ABOVE THE LESS-THAN THRESHOLD");
  if (f.lines_overflowed > 0) {
    put(format_I(f.lines_overflowed, 7) + " RECORDS LEFT OUT: A VALUE OVERFLOWED ITS FIELD");
  }
  if (!f.theta_known) {
    put("THETA RANGE UNKNOWN (NO CELL AND NO UB MATRIX)");
    return;
  }
  put("THETA MIN " + format_F(f.theta_min, 6, 2) + "   THETA MAX " + format_F(f.theta_max, 6, 2) +
      "   THETA FULL " + format_F(f.theta_full, 6, 2));
  if (!f.completeness_known) {
    put("COMPLETENESS UNKNOWN (NO CELL CARD)");
    return;
  }
  put(std::string(17, ' ') + "UNIQUE TO THETA MAX      FRACTION" +
      "    UNIQUE TO THETA FULL     FRACTION");
  put(coverage_row("LAUE GROUP   ", f.laue_max, f.laue_full));
  put(coverage_row("POINT GROUP  ", f.point_group_max, f.point_group_full));
  if (f.centrosymmetric) {
    put("FRIEDEL COVERAGE   0.000 (CENTROSYMMETRIC GROUP)");
  } else {
    put("FRIEDEL COVERAGE " + fraction_text(f.friedel_coverage()));
    put(coverage_row("FRIEDEL PAIRS", f.friedel_max, f.friedel_full));
  }
}

}  // namespace vorlane::output
