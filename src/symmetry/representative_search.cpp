#include "symmetry/representative_search.hpp"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "symmetry/asind.hpp"
#include "symmetry/inbox.hpp"
#include "symmetry/reflection_image.hpp"

namespace vorlane::symmetry {

namespace {

// Indices below this, and their images (at most 24 times larger), times rotation elements of
// at most 8 in magnitude (whole_number_rotations) keep every product and every sum of three of them below 2^24, where
// single precision is exact.
constexpr int INDEX_LIMIT = 1 << 12;

}  // namespace

RepresentativeSearch::RepresentativeSearch(const SpaceGroup& sg) : sg_(sg) {
  for (int j = 0; j < sg.NPLANE; ++j) {
    const auto& p = sg.IPLANE[static_cast<std::size_t>(j)];
    planes_.push_back({p[0], p[1], p[2], p[3]});
  }
  integral_ = whole_number_rotations(sg, rows_);
}

std::array<int, 3> RepresentativeSearch::image(int n, const std::array<int, 3>& h, int f) const {
  const std::array<int, 9>& r = rows_[static_cast<std::size_t>(n - 1)];
  return {f * (r[0] * h[0] + r[1] * h[1] + r[2] * h[2]),
          f * (r[3] * h[0] + r[4] * h[1] + r[5] * h[2]),
          f * (r[6] * h[0] + r[7] * h[1] + r[8] * h[2])};
}

using Index = std::array<int, 3>;

int RepresentativeSearch::inbox(const Index& h) const {
  // INBOX itself, on the planes kept here.
  int in = 1;
  for (const std::array<std::int64_t, 4>& p : planes_) {
    const std::int64_t s = p[0] * h[0] + p[1] * h[1] + p[2] * h[2] - p[3];
    if (s < 0) return -1;
    if (s == 0) in = 0;
  }
  return in;
}

RepresentativeSearch::Choice RepresentativeSearch::scan(const Index& h) const {
  const int passes = 3 - sg_.ICENTRIC;
  Choice c;
  for (int pass = 0; pass < passes; ++pass) {
    const int s = pass == 0 ? 1 : -1;
    for (int n = 1; n <= sg_.NSYMOP; ++n) {
      const Index k = image(n, h, s);
      const int in = inbox(k);
      if (in < 0) continue;
      c.k = k;
      c.isym = n * s;
      if (in == 1) return c;
      c.boundary = true;
      for (int m = 1; m <= sg_.NSYMOP; ++m) {
        for (int fi = 0; fi < passes; ++fi) {
          const int f = fi == 0 ? 1 : -1;
          const Index l = image(m, h, f * s);
          if (inbox(l) != 0 || l == c.k) continue;
          if (asind_prefers(l, c.k)) {
            c.k = l;
            c.isym = m * f * s;
          }
        }
      }
      return c;
    }
  }
  c.isym = 0;
  return c;
}

void RepresentativeSearch::find(const Index& h, Index& k, int& isym) const {
  if (!integral_ || std::abs(h[0]) >= INDEX_LIMIT || std::abs(h[1]) >= INDEX_LIMIT ||
      std::abs(h[2]) >= INDEX_LIMIT) {
    ASIND(sg_, h, k, isym);
    return;
  }
  // The steps of ASIND, on whole-number images.
  Choice c = scan(h);
  k = c.k;
  isym = c.isym;
  if (!c.boundary) return;
  const int passes = 3 - sg_.ICENTRIC;
  Index start = image(1, h, 1);
  for (int m = 1; m <= sg_.NSYMOP; ++m) {
    for (int fi = 0; fi < passes; ++fi) {
      const Index l = image(m, h, fi == 0 ? 1 : -1);
      if (l > start) start = l;
    }
  }
  c = scan(start);
  k = c.k;
  isym = 0;
  for (int fi = 0; fi < passes && isym == 0; ++fi) {
    const int f = fi == 0 ? 1 : -1;
    for (int m = 1; m <= sg_.NSYMOP; ++m) {
      if (image(m, h, f) == k) {
        isym = m * f;
        break;
      }
    }
  }
}

}  // namespace vorlane::symmetry
