#include "averaging/average_data_sums.hpp"

#include <algorithm>

namespace vorlane::averaging {

namespace {

bool before(const SortedMember& a, const SortedMember& b) {
  return a.I < b.I || (a.I == b.I && a.sigma < b.sigma);
}

}  // namespace

void sort_members(std::span<const run::Member> members, std::vector<SortedMember>& out) {
  out.clear();
  for (std::uint32_t j = 0; j < members.size(); ++j)
    out.push_back({members[j].FSQ, members[j].SIGFSQ, j});
  // Most sets are small: insertion sort beats the general sort there.
  if (out.size() <= 16) {
    for (std::size_t k = 1; k < out.size(); ++k) {
      const SortedMember x = out[k];
      std::size_t p = k;
      for (; p > 0 && before(x, out[p - 1]); --p) out[p] = out[p - 1];
      out[p] = x;
    }
  } else {
    std::sort(out.begin(), out.end(), before);
  }
}

SetMoments accepted_moments(std::span<const SortedMember> sorted,
                            std::span<const run::Member> members) {
  SetMoments m;
  double s1 = 0.0;
  for (const SortedMember& x : sorted) {
    if (members[x.j].IREJ != 0) continue;
    ++m.n;
    s1 += x.I;
    const double sig = x.sigma;
    m.SS += sig * sig;
    m.SW += member_weight(sig);
  }
  if (m.n == 0) return m;
  m.mean = s1 / m.n;
  for (const SortedMember& x : sorted) {
    if (members[x.j].IREJ != 0) continue;
    const double d = x.I - m.mean;
    m.V += d * d;
  }
  return m;
}

}  // namespace vorlane::averaging
