#include "output/cif_special_details.hpp"

#include <cmath>

#include "records/edit_list.hpp"

namespace vorlane::output {

std::vector<std::string> reflns_special_details(const statistics::Statistics& st,
                                                const expfile::RunControls& ctl,
                                                const averaging::RunResults& res) {
  std::vector<std::string> lines{"", "_reflns_special_details", ";"};
  if (ctl.sigma_of_mean()) {
    lines.push_back(" The s.u. of an averaged intensity is that of the 1/sigma^2-weighted mean:");
    lines.push_back(" the larger of sqrt(1/sum w) and the scatter of the members about the mean.");
  } else {
    lines.push_back(" The s.u. of an averaged intensity is the larger of the members' scatter");
    lines.push_back(" and their rms s.u.: the s.u. of one observation, not divided by sqrt(n).");
  }
  if (!res.output_scale_note.empty()) lines.push_back(" " + res.output_scale_note + ".");
  // A group found from the intensities is no known fact: the reader is told so.
  if (!res.space_group_choice.empty())
    lines.push_back(" Space group " + res.space_group_choice + " (SPACEGROUP AUTO).");
  if (st.has_dac && st.has_shells && std::isfinite(st.overall.dac_completeness)) {
    const auto text = records::format(
        R"((" Diamond-anvil cell, opening half-angle ",F4.1," deg: ",I7," unique reflections",)"
        R"(" measured of ",I7," accessible",/," (Tchon & Makal, IUCrJ 8 (2021) 1006) to d = ",)"
        R"(F6.3," A, DAC completeness ",F5.3,"."))",
        ctl.dac.opening, static_cast<int>(st.overall.n_unique_accessible),
        static_cast<int>(st.overall.n_accessible), st.overall.d_min,
        st.overall.dac_completeness);
    lines.insert(lines.end(), text.begin(), text.end());
  }
  lines.push_back(";");
  return lines;
}

std::vector<std::string> reduction_process_lines(const expfile::RunControls& ctl,
                                                 const statistics::RejectionCounts& counts) {
  const bool outliers = ctl.IREJMODE == 1 || ctl.IREJMODE == 3;
  const bool dips = ctl.IREJMODE == 2 || ctl.IREJMODE == 3;
  std::vector<std::string> lines;
  if (!outliers && !dips) {
    lines.push_back("; data averaged with no rejection ");
  } else {
    lines.push_back("; data averaged; rejected: ");
    if (outliers) {
      lines.push_back(" " + std::to_string(counts.outlier) +
                      " outliers by the Blessing (1987) outlier criteria ");
    }
    if (dips) {
      lines.push_back(" " + std::to_string(counts.dac_dip) +
                      " DAC dips (measurements shadowed by a diamond-anvil cell) ");
    }
  }
  lines.push_back(";");
  return lines;
}

}  // namespace vorlane::output
