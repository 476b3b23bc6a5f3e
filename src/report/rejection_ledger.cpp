#include "report/rejection_ledger.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "report/csv_number.hpp"
#include "statistics/written_sets.hpp"

namespace vorlane::report {

namespace {

using statistics::Reason;

void put_int(std::string& out, long long v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

// A measurement not passed on: where it is and why. A record the reader left out has no set
// and stands in ImpossibleRecord `member`.
struct Entry {
  std::uint32_t line;
  std::uint32_t member;  // index in the list, for members without a line number
  std::uint32_t set;
  Reason why;
};
constexpr std::uint32_t NO_SET = 0xFFFFFFFFu;

}  // namespace

std::string rejection_ledger(const run::ReflectionList& list, const expfile::RunControls& ctl,
                             const statistics::LeftOut* left_out) {
  std::vector<Entry> entries;
  // No record left out by the writer (the usual case): nothing to look up for each member.
  const statistics::LeftOut* overflowed =
      left_out != nullptr && !left_out->empty() ? left_out : nullptr;
  for (std::size_t s = 0; s < list.sets.size(); ++s) {
    const run::EquivSet& set = list.sets[s];
    const Reason set_why = statistics::set_reason(set, ctl);
    const bool whole = set_why != Reason::passed;
    for (int j = 1; j <= set.NEQ; ++j) {
      const run::Member& m = list.member(set, j);
      // Sets that are written pass most members: look closer only at the others.
      if (!whole && m.IREJ == 0 && ctl.IREJLT == 0 &&
          (overflowed == nullptr || !statistics::value_overflowed(list, set, j, overflowed)))
        continue;
      const Reason why =
          whole ? set_why : statistics::member_reason_in_passed_set(list, set, j, ctl, overflowed);
      if (why == Reason::passed) continue;
      entries.push_back({m.line, static_cast<std::uint32_t>(set.first + static_cast<unsigned>(j) - 1),
                         static_cast<std::uint32_t>(s), why});
    }
  }
  for (std::size_t i = 0; i < list.impossible.size(); ++i) {
    entries.push_back({list.impossible[i].line, static_cast<std::uint32_t>(i), NO_SET,
                       Reason::impossible});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.line != b.line ? a.line < b.line : a.member < b.member;
  });

  std::string out = std::string(LEDGER_HEADER) + "\n";
  out.reserve(out.size() + entries.size() * 96);
  for (const Entry& e : entries) {
    if (e.set == NO_SET) {
      // Indices, batch, intensity and sigma as read; no 2theta, no set.
      const run::ImpossibleRecord& r = list.impossible[e.member];
      put_int(out, r.line);
      for (int a = 0; a < 3; ++a) {
        out += ',';
        put_int(out, r.hkl[static_cast<std::size_t>(a)]);
      }
      out += ',';
      put_int(out, r.batch);
      out += ",,";
      append_csv_float(out, r.FSQ);
      out += ',';
      append_csv_float(out, r.SIGFSQ);
      out += ",,,,,,";
      out += statistics::reason_text(e.why);
      out += '\n';
      continue;
    }
    const run::EquivSet& set = list.sets[e.set];
    const run::Member& m = list.members[e.member];
    const run::Member& first = list.member(set, 1);
    put_int(out, m.line);
    for (int a = 0; a < 3; ++a) {
      out += ',';
      put_int(out, m.hkl_read[static_cast<std::size_t>(a)]);
    }
    out += ',';
    put_int(out, m.batch);
    out += ',';
    append_csv_float(out, m.REFANG[0]);
    out += ',';
    append_csv_float(out, m.FSQ);
    out += ',';
    append_csv_float(out, m.SIGFSQ);
    for (int a = 0; a < 3; ++a) {
      out += ',';
      put_int(out, first.IHKL[static_cast<std::size_t>(a)]);
    }
    out += ',';
    append_csv_float(out, set.FAVE);
    out += ',';
    if ((e.why == Reason::dac_dip || e.why == Reason::outlier) && m.SIGFSQ > 0.0f)
      append_csv_real(out, (static_cast<double>(m.FSQ) - set.FAVE) / m.SIGFSQ);
    out += ',';
    out += statistics::reason_text(e.why);
    out += '\n';
  }
  return out;
}

}  // namespace vorlane::report
