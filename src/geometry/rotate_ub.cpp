#include "geometry/rotate_ub.hpp"

#include <cstdlib>
#include <string>

#include "geometry/mat3_ops.hpp"
#include "records/edit_list.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::geometry {

void ROTATE_UB(run::RunState& rs) {
  auto& ax = rs.ctl.BLAXES;
  long long sum = 0;
  for (int n : ax) sum += std::llabs(static_cast<long long>(n));
  const int s = sum > 99 ? 99 : static_cast<int>(sum);  // shown in one digit: "*" when wide
  // Only the sum is the card's test; an entry of 0 or beyond 3 would name a row that does
  // not exist, so it is refused the same way.
  bool in_range = true;
  for (int n : ax) in_range = in_range && n != 0 && n >= -3 && n <= 3;
  if (s != 6 || !in_range) {
    ax = {1, 2, 3};
    const auto text = records::format(
        R"("ERROR IN EXP FILE: BLAXES CARD ENTRIES ADD TO ",I1,)"
        R"("     AXIAL SYSTEM ASSUMED BUSING-LEVY")",
        s);
    run::warn(rs, text.front());
    return;
  }
  Mat3 r{};
  for (int i = 1; i <= 3; ++i) at(r, std::abs(ax[i - 1]), i) = ax[i - 1] < 0 ? -1.0f : 1.0f;
  rs.cell.UB = multiply(r, rs.cell.UB);
}

}  // namespace vorlane::geometry
