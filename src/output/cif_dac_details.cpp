#include "output/cif_dac_details.hpp"

#include <cmath>

#include "records/edit_list.hpp"

namespace vorlane::output {

std::vector<std::string> dac_special_details(const statistics::Statistics& st,
                                             const expfile::RunControls& ctl) {
  if (!st.has_dac || !st.has_shells || !std::isfinite(st.overall.dac_completeness)) return {};
  std::vector<std::string> lines{"", "_reflns_special_details", ";"};
  const auto text = records::format(
      R"((" Diamond-anvil cell, opening half-angle ",F4.1," deg: ",I7," unique reflections",)"
      R"(" measured of ",I7," accessible",/," (Tchon & Makal, IUCrJ 8 (2021) 1006) to d = ",)"
      R"(F6.3," A, DAC completeness ",F5.3,"."))",
      ctl.dac.opening, static_cast<int>(st.overall.n_unique_accessible),
      static_cast<int>(st.overall.n_accessible), st.overall.d_min, st.overall.dac_completeness);
  lines.insert(lines.end(), text.begin(), text.end());
  lines.push_back(";");
  return lines;
}

}  // namespace vorlane::output
