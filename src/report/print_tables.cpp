#include "report/print_tables.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "records/edit_list.hpp"

namespace vorlane::report {

namespace {

using records::format;
using std::string_view;

constexpr string_view kShellHeading =
    R"e(("0",20("*"),"STATISTICS BY RESOLUTION SHELL",20("*"),/,)e"
    R"e(" ",/,)e"
    R"e(" Written sets and their accepted members (outliers and DAC dips left out). Shells of",/,)e"
    R"e(" equal volume (steps in 1/d**3).",/,)e"
    R"e(" N OBS accepted members, N UNIQ sets, MULT N OBS/N UNIQ, COMPL N UNIQ / possible unique",/,)e"
    R"e(" (absences out), DAC COMPL N UNIQ / unique reflections the cell's opening lets through,",/,)e"
    R"e(" I/SIG mean of average/sigma, R(INT) SUM|I-<I>|/SUM I and R(SIG) SUM sigma/SUM I over sets",/,)e"
    R"e(" of two or more, R(MEAS) and R(PIM) the same weighted sqrt(n/(n-1)) and sqrt(1/(n-1)),",/,)e"
    R"e(" CC1/2 by the sigma-tau method, CHI2 mean square of the normalised deviations.",/,)e"
    R"e(" "))e";

constexpr string_view kShellColumns =
    R"e((" ","  D MAX  D MIN   N OBS  N UNIQ   MULT  COMPL DAC COMPL  I/SIG",)e"
    R"e("  R(INT)  R(SIG) R(MEAS)  R(PIM)  CC1/2    CHI2"))e";

constexpr string_view kShellRow = R"e((1X,2F7.3,2I8,A7,A7,A10,A7,4A8,2A8))e";

constexpr string_view kOverall = R"e((1X,"OVERALL (THIS TABLE'S OWN; NOT THE CIF R(INT))"))e";

constexpr string_view kNoShells = R"e(("0",A))e";

constexpr string_view kNormal =
    R"e(("0","NORMAL PROBABILITY PLOT OF THE DEVIATIONS: SLOPE ",A8,"  INTERCEPT ",A8,)e"
    R"e(" (CENTRAL PART, |QUANTILE| < 1)"))e";

constexpr string_view kBatchHeading =
    R"e(("0",20("*"),"STATISTICS BY BATCH",20("*"),/,)e"
    R"e(" ",/,)e"
    R"e(" ","  BATCH   N OBS  I/SIG  R(INT) OUTLIERS DAC DIPS"))e";

constexpr string_view kBatchRow = R"e((1X,I7,I8,A7,A8,I9,I9))e";

std::vector<std::string> shell_row(const statistics::ShellRow& r) {
  const std::string mult = figure(r.multiplicity, 7, 2), compl_ = figure(r.completeness, 7, 3),
                    dac = figure(r.dac_completeness, 10, 3), ios = figure(r.i_over_sigma, 7, 1),
                    ri = ratio_figure(r.r_int, 8, 4), rs = ratio_figure(r.r_sigma, 8, 4),
                    rm = ratio_figure(r.r_meas, 8, 4), rp = ratio_figure(r.r_pim, 8, 4),
                    cc = ratio_figure(r.cc_half, 8, 4), chi = figure(r.chi2, 8, 3);
  return format(kShellRow, r.d_max, r.d_min, static_cast<int>(r.n_obs),
                static_cast<int>(r.n_unique), string_view(mult), string_view(compl_),
                string_view(dac), string_view(ios), string_view(ri), string_view(rs),
                string_view(rm), string_view(rp), string_view(cc), string_view(chi));
}

void append(std::vector<std::string>& out, std::vector<std::string> more) {
  out.insert(out.end(), more.begin(), more.end());
}

}  // namespace

std::string figure(double value, int width, int decimals) {
  if (!std::isfinite(value)) {
    std::string s(static_cast<std::size_t>(width), ' ');
    s.back() = '-';
    return s;
  }
  return records::format_F(value, width, decimals);
}

std::string ratio_figure(double value, int width, int decimals) {
  if (!std::isfinite(value)) {
    std::string s(static_cast<std::size_t>(std::max(width, 3)) - 3, ' ');
    return s + "n/a";
  }
  return records::format_F(value, width, decimals);
}

std::vector<std::string> statistics_records(const statistics::Statistics& st) {
  std::vector<std::string> out;
  append(out, format(kShellHeading));
  if (!st.has_shells) {
    append(out, format(kNoShells, string_view(st.no_shells_reason)));
  } else {
    append(out, format(kShellColumns));
    for (const auto& r : st.shells) append(out, shell_row(r));
    append(out, format(kOverall));
    append(out, shell_row(st.overall));
  }
  const std::string slope = figure(st.normal_probability.slope, 8, 3);
  const std::string icpt = figure(st.normal_probability.intercept, 8, 3);
  append(out, format(kNormal, string_view(slope), string_view(icpt)));
  if (!st.batches.empty()) {
    append(out, format(kBatchHeading));
    for (const auto& b : st.batches) {
      const std::string ios = figure(b.i_over_sigma, 7, 1), ri = ratio_figure(b.r_int, 8, 4);
      append(out, format(kBatchRow, static_cast<int>(b.batch), static_cast<int>(b.n_obs),
                         string_view(ios), string_view(ri), static_cast<int>(b.n_outliers),
                         static_cast<int>(b.n_dac_dips)));
    }
  }
  return out;
}

std::vector<std::string> compact_shell_lines(const statistics::Statistics& st) {
  std::vector<std::string> out;
  if (!st.has_shells) {
    out.push_back("  shells             " + st.no_shells_reason);
    return out;
  }
  const bool dac = st.has_dac;
  out.push_back(std::string("  shells   d min   N uniq  mult  compl") + (dac ? "    DAC" : "") +
                "  I/sig  R(int)  CC1/2");
  auto row = [&](std::string_view label, const statistics::ShellRow& r) {
    std::string s = std::string(label) + records::format_F(r.d_min, 8, 3) +
                    records::format_I(static_cast<int>(r.n_unique), 9) +
                    figure(r.multiplicity, 6, 1) + figure(r.completeness, 7, 3);
    if (dac) s += figure(r.dac_completeness, 7, 3);
    s += figure(r.i_over_sigma, 7, 1) + ratio_figure(r.r_int, 8, 4) + ratio_figure(r.cc_half, 7, 3);
    out.push_back(s);
  };
  for (const auto& r : st.shells) row("         ", r);
  row("  overall", st.overall);
  return out;
}

}  // namespace vorlane::report
