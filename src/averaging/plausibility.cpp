#include "averaging/plausibility.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "records/edit_list.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::averaging {
namespace {

constexpr float RINT_LIMIT = 0.25f;
constexpr float VIOLATION_SIGMAS = 5.0f;
constexpr float VIOLATION_SHARE = 0.01f;
constexpr std::size_t WORST_LISTED = 10;

void check_rint(run::RunState& rs) {
  // An R(int) that could not be formed says nothing about the symmetry.
  if (rs.res.rint_known && rs.res.RINT_ALL > RINT_LIMIT) {
    run::warn(rs, "R(INT) =" + records::format_F(rs.res.RINT_ALL, 7, 4) +
                      " IS ABOVE 0.25: CHECK THE SYMMETRY AND THE CELL");
  }
}

void check_violations(run::RunState& rs) {
  const auto& sets = rs.refl.sets;
  int violations = 0;
  std::vector<std::size_t> strong;
  for (std::size_t i = 0; i < sets.size(); ++i) {
    if (sets[i].IABS != 1 && sets[i].IABS != 3) continue;
    ++violations;
    if (sets[i].FAVE > VIOLATION_SIGMAS * sets[i].SIGAVE) strong.push_back(i);
  }
  if (strong.empty() ||
      !(static_cast<float>(strong.size()) > VIOLATION_SHARE * static_cast<float>(violations)))
    return;
  run::warn(rs, std::to_string(strong.size()) + " OF " + std::to_string(violations) +
                    " SPACE-GROUP VIOLATIONS HAVE FAVE > 5 SIGAVE: CHECK THE SPACE GROUP");
  const auto ratio = [&](std::size_t i) {
    return sets[i].SIGAVE > 0.0f ? sets[i].FAVE / sets[i].SIGAVE : sets[i].FAVE;
  };
  std::stable_sort(strong.begin(), strong.end(),
                   [&](std::size_t a, std::size_t b) { return ratio(a) > ratio(b); });
  static const records::EditList head(R"(/,1X,"Strongest space-group violations:",/,1X,"    H   K   L        FAVE     SIGAVE")");
  static const records::EditList row("1X,3I4,2F11.2");
  rs.files.print.put(head);
  for (std::size_t n = 0; n < std::min(WORST_LISTED, strong.size()); ++n) {
    const auto& s = sets[strong[n]];
    const auto& h = rs.refl.member(s, 1).IHKL;
    rs.files.print.put(row, h[0], h[1], h[2], s.FAVE, s.SIGAVE);
  }
}

void check_cell(run::RunState& rs) {
  if (rs.ctl.IBMAT == 0 && rs.files.INFMT == 1) {
    run::warn(rs, "NO CELL AND NO UB MATRIX: EVERY 2THETA IS UNKNOWN, A 2THETA WINDOW CANNOT APPLY");
  }
}

}  // namespace

void check_plausibility(run::RunState& rs) {
  check_rint(rs);
  check_violations(rs);
  check_cell(rs);
}

}  // namespace vorlane::averaging
