#include "report/rejection_ledger.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "statistics/written_sets.hpp"

namespace vorlane::report {

namespace {

std::string real(double v) {
  if (!std::isfinite(v)) return "";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 7);
  return std::string(buf, r.ptr);
}

struct Row {
  std::uint32_t line;
  std::size_t order;  // position in the list, for members without a line number
  std::string text;
};

}  // namespace

std::string rejection_ledger(const run::ReflectionList& list, const expfile::RunControls& ctl,
                             const statistics::LeftOut* left_out) {
  using statistics::Reason;
  std::vector<Row> rows;
  for (const run::EquivSet& set : list.sets) {
    const run::Member& first = list.member(set, 1);
    const bool whole = statistics::set_reason(set, ctl) != Reason::passed;
    for (int j = 1; j <= set.NEQ; ++j) {
      // Sets that are written pass most members: look closer only at rejected ones.
      if (!whole && list.member(set, j).IREJ == 0 && ctl.IREJLT == 0 &&
          !statistics::value_overflowed(list, set, j, left_out))
        continue;
      const Reason why = statistics::member_reason(list, set, j, ctl, left_out);
      if (why == Reason::passed) continue;
      const run::Member& m = list.member(set, j);
      const bool tested = why == Reason::dac_dip || why == Reason::outlier;
      const double test = tested && m.SIGFSQ > 0.0f
                              ? (static_cast<double>(m.FSQ) - set.FAVE) / m.SIGFSQ
                              : std::nan("");
      std::string t = std::to_string(m.line) + "," + std::to_string(m.hkl_read[0]) + "," +
                      std::to_string(m.hkl_read[1]) + "," + std::to_string(m.hkl_read[2]) +
                      "," + std::to_string(m.batch) + "," + real(m.REFANG[0]) + "," +
                      real(m.FSQ) + "," + real(m.SIGFSQ) + "," + std::to_string(first.IHKL[0]) +
                      "," + std::to_string(first.IHKL[1]) + "," + std::to_string(first.IHKL[2]) +
                      "," + real(set.FAVE) + "," + real(test) + "," +
                      std::string(statistics::reason_text(why)) + "\n";
      rows.push_back({m.line, static_cast<std::size_t>(&m - list.members.data()), std::move(t)});
    }
  }
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
    return a.line != b.line ? a.line < b.line : a.order < b.order;
  });
  std::string out = std::string(LEDGER_HEADER) + "\n";
  for (const Row& r : rows) out += r.text;
  return out;
}

}  // namespace vorlane::report
