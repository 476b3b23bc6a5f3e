#include "averaging/totals.hpp"

#include <string>
#include <string_view>

#include "records/edit_list.hpp"

namespace vorlane::averaging {

namespace {

constexpr std::string_view kTitle =
    R"((/,/,/,20("*"),"SUMMARY OF AVERAGING",20("*"),/,/))";

constexpr std::string_view kIndividuals =
    R"((/,/,/,10X,I5," REFLECTIONS READ FROM INPUT FILE:",/,)"
    R"(10X,I5," WERE SPACE GROUP VIOLATIONS, ",A40,/,)"
    R"(10X,I5," WERE OUTSIDE SPECIFIED 2THETA LIMITS ",F5.2,"-",F6.2,/,)"
    R"(10X,I5," INDIVIDUALS WERE EXCLUDED AS DAC DIPS FROM AVERAGING",/,)"
    R"(10X,I5," INDIVIDUALS WERE EXCLUDED AS OUTLIERS FROM AVERAGING",/,/,)"
    R"(10X,I5," INDIVIDUALS WERE PASSED BY AVERAGING, OF WHICH",/,)"
    R"(10X,I5," HAD SYMMETRY-EQUIVALENTS AND ",I5," WERE SINGLETS",/,)"
    R"(10X,I5," HAVE FSQ > ",F3.1," SIGFSQ",/,)"
    R"(10X,I5," HAVE FSQ < ",F3.1," SIGFSQ",/,/))";

constexpr std::string_view kSets =
    R"((10X,I5," SETS OF EQUIVALENT REFLECTIONS:",/,)"
    R"(10X,I5," WERE SPACE GROUP VIOLATIONS, ",A40,/,)"
    R"(10X,I5," WERE OUTSIDE SPECIFIED 2THETA LIMITS ",F5.2,"-",F6.2,/,/,)"
    R"(10X,I5," WERE PASSED BY AVERAGING, OF WHICH",/,)"
    R"(10X,I5," WERE AVERAGED SETS, AND ",I5," WERE SINGLETS",/,)"
    R"(10X,I5," HAVE FSQ > ",F3.1," SIGFSQ"))";

constexpr std::string_view kLessThans = R"((10X,I5," HAVE FSQ < ",F3.1," SIGFSQ ",A35))";

std::string padded(std::string_view text, std::size_t width) {
  std::string s(text);
  s.resize(width, ' ');
  return s;
}

// How the violations were treated, by IABSENT.
std::string treatment_text(int IABSENT) {
  switch (IABSENT) {
    case 3: return padded("(NO SYMMETRY INFO TO DETECT THEM)", 40);
    case 2: return padded("AND WERE REJECTED", 40);
    case 1: return padded("AND WERE SET TO LESS-THANS", 40);
    case 0: return padded("AND WERE INCLUDED", 40);
    default: return padded("", 40);
  }
}

}  // namespace

void TOTALS(run::RunState& rs) {
  const auto& refl = rs.refl;
  const auto& ctl = rs.ctl;

  int read = 0;
  int violation_sets = 0, violation_individuals = 0;
  int outside_sets = 0, outside_individuals = 0;
  int averaged_sets = 0, singlet_sets = 0;
  int gt_sets = 0, lt_sets = 0;
  int dac_individuals = 0, outlier_individuals = 0;
  int gt_individuals = 0, lt_individuals = 0;

  // Marks in the sets left out of the counts below.
  int dips_elsewhere = 0, outliers_elsewhere = 0;
  auto count_marks = [&](const run::EquivSet& set) {
    for (int j = 1; j <= set.NEQ; ++j) {
      const run::Member& m = refl.member(set, j);
      if (m.IREJ == 1) ++dips_elsewhere;
      if (m.IREJ == 2) ++outliers_elsewhere;
    }
  };
  for (const run::EquivSet& set : refl.sets) {
    read += set.NEQ;
    if (set.IABS != 0) count_marks(set);
    if (set.IABS == 1 || set.IABS == 3) {
      ++violation_sets;
      violation_individuals += set.NEQ;
      continue;
    }
    if (set.IABS == 2) {
      ++outside_sets;
      outside_individuals += set.NEQ;
      continue;
    }
    if (set.IABS != 0) continue;
    if (set.NAVE >= 2) ++averaged_sets; else ++singlet_sets;
    if (set.IGT == 1) ++gt_sets; else ++lt_sets;
    for (int j = 1; j <= set.NEQ; ++j) {
      const run::Member& m = refl.member(set, j);
      if (m.IREJ == 1) {
        ++dac_individuals;
      } else if (m.IREJ == 2) {
        ++outlier_individuals;
      } else if (m.IOBS == 1) {
        ++gt_individuals;
      } else {
        ++lt_individuals;
      }
    }
  }

  const int passed_individuals = gt_individuals + lt_individuals;
  const int passed_sets = averaged_sets + singlet_sets;

  auto& res = rs.res;
  res.NINDIV_PASSED = passed_individuals;
  res.NSET_PASSED = passed_sets;
  res.NSET_ALLOWED = passed_sets + outside_sets;
  res.NINDIV_GT = gt_individuals;
  res.NSET_GT = gt_sets;
  res.NINDIV_ALLOWED = read - violation_individuals;
  res.NDIPS_ALL = dac_individuals + dips_elsewhere;
  res.NOUTLIERS_ALL = outlier_individuals + outliers_elsewhere;

  const std::string treatment = treatment_text(ctl.IABSENT);
  const std::string note =
      padded(ctl.IREJLT != 0 ? "(NOT WRITTEN TO OUTPUT FILE)" : "(WRITTEN TO OUTPUT FILE)", 40);

  auto& prt = rs.files.print;
  prt.put(records::EditList(kTitle));
  prt.put(records::EditList(kIndividuals), read, violation_individuals,
          std::string_view(treatment), outside_individuals, ctl.TTHMIN, ctl.TTHMAX,
          dac_individuals, outlier_individuals, passed_individuals,
          passed_individuals - singlet_sets, singlet_sets, gt_individuals, ctl.LTHRESH,
          lt_individuals, ctl.LTHRESH);
  prt.put(records::EditList(kSets), refl.NSET(), violation_sets, std::string_view(treatment),
          outside_sets, ctl.TTHMIN, ctl.TTHMAX, passed_sets, averaged_sets, singlet_sets,
          gt_sets, ctl.LTHRESH);
  prt.put(records::EditList(kLessThans), lt_sets, ctl.LTHRESH, std::string_view(note));
}

}  // namespace vorlane::averaging
