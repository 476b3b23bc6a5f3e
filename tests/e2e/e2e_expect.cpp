#include "e2e/e2e_expect.hpp"

#include "e2e/e2e_run.hpp"

namespace vorlane::testing {
namespace {

// 10X after the carriage control: nine blanks, then the count in five columns.
std::string counted(int n, const std::string& text) {
  return blanks(9) + rj(std::to_string(n), 5) + text;
}

std::string padded(std::string s, std::size_t w) {
  s.resize(w, ' ');
  return s;
}

}  // namespace

std::vector<std::string> summary_lines(const SummaryCounts& c) {
  const std::string treat = padded(c.treatment, 40);
  const std::string limits = c.tthmin + "-" + c.tthmax;
  const std::string note =
      padded(c.lessthans_written ? "(WRITTEN TO OUTPUT FILE)" : "(NOT WRITTEN TO OUTPUT FILE)", 35);
  return {
      counted(c.read, " REFLECTIONS READ FROM INPUT FILE:"),
      counted(c.viol_ind, " WERE SPACE GROUP VIOLATIONS, " + treat),
      counted(c.out_ind, " WERE OUTSIDE SPECIFIED 2THETA LIMITS " + limits),
      counted(c.dac, " INDIVIDUALS WERE EXCLUDED AS DAC DIPS FROM AVERAGING"),
      counted(c.outliers, " INDIVIDUALS WERE EXCLUDED AS OUTLIERS FROM AVERAGING"),
      "",
      counted(c.passed, " INDIVIDUALS WERE PASSED BY AVERAGING, OF WHICH"),
      counted(c.passed - c.singlets, " HAD SYMMETRY-EQUIVALENTS AND " +
                                         rj(std::to_string(c.singlets), 5) + " WERE SINGLETS"),
      counted(c.gt_ind, " HAVE FSQ > " + c.lthresh + " SIGFSQ"),
      counted(c.lt_ind, " HAVE FSQ < " + c.lthresh + " SIGFSQ"),
      "",
      "",
      counted(c.sets, " SETS OF EQUIVALENT REFLECTIONS:"),
      counted(c.viol_sets, " WERE SPACE GROUP VIOLATIONS, " + treat),
      counted(c.out_sets, " WERE OUTSIDE SPECIFIED 2THETA LIMITS " + limits),
      "",
      counted(c.sets_passed, " WERE PASSED BY AVERAGING, OF WHICH"),
      counted(c.averaged, " WERE AVERAGED SETS, AND " +
                              rj(std::to_string(c.sets_passed - c.averaged), 5) + " WERE SINGLETS"),
      counted(c.gt_sets, " HAVE FSQ > " + c.lthresh + " SIGFSQ"),
      counted(c.lt_sets, " HAVE FSQ < " + c.lthresh + " SIGFSQ " + note),
  };
}

std::string rgroup(const std::string& nref, const std::string& rint, const std::string& rint2,
                   const std::string& rsig, const std::string& rsig2) {
  return rj(nref, 7) + rj(rint, 6) + rj(rint2, 6) + rj(rsig, 6) + rj(rsig2, 6);
}

std::string rzero() { return rgroup("0.", "0.000", "0.000", "0.000", "0.000"); }

std::string rrow(const std::string& label, const std::string& all, const std::string& gt,
                 const std::string& lt) {
  return padded(label, 15) + all + blanks(3) + gt + blanks(3) + lt;
}

std::string set_line(const std::string& hkl, char flag, const std::vector<std::string>& six,
                     int neq, int nave, const std::vector<MemberText>& members, bool with_marks) {
  std::string s = hkl + " " + std::string(1, flag) + " ";
  for (const auto& v : six) s += rj(v, 7);
  s += rj(std::to_string(neq), 3) + rj(std::to_string(nave), 3);
  for (const auto& m : members) {
    s += ' ';
    s += rj(m.fsq, 7);
    if (with_marks) s += std::string(1, m.mark);
  }
  return s;
}

}  // namespace vorlane::testing
