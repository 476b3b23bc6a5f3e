#include "averaging/complete_set.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "symmetry/absences.hpp"
#include "symmetry/reflection_image.hpp"

namespace vorlane::averaging {

namespace {

using Hkl = std::array<int, 3>;
using IntMat = std::array<int, 9>;

// pi/180 in single precision (bits 3C8EFA35).
constexpr float DEGRAD = 0.017453292f;

Hkl apply(const IntMat& m, const Hkl& h) {
  return {m[0] * h[0] + m[1] * h[1] + m[2] * h[2], m[3] * h[0] + m[4] * h[1] + m[5] * h[2],
          m[6] * h[0] + m[7] * h[1] + m[8] * h[2]};
}

// The integer matrix of operator n acting on indices: its columns are the images of the unit
// vectors (the image is linear in h).
IntMat operator_matrix(const symmetry::SpaceGroup& sg, int n) {
  IntMat m{};
  for (int c = 0; c < 3; ++c) {
    Hkl e{0, 0, 0};
    e[static_cast<std::size_t>(c)] = 1;
    const Hkl col = symmetry::reflection_image(sg, n, e);
    for (int r = 0; r < 3; ++r) m[static_cast<std::size_t>(3 * r + c)] = col[static_cast<std::size_t>(r)];
  }
  return m;
}

IntMat negated(const IntMat& m) {
  IntMat n{};
  for (std::size_t i = 0; i < 9; ++i) n[i] = -m[i];
  return n;
}

}  // namespace

ReflectionGrouping::ReflectionGrouping(const symmetry::SpaceGroup& sg, Grouping grouping) {
  const IntMat inversion{-1, 0, 0, 0, -1, 0, 0, 0, -1};
  for (int n = 1; n <= sg.NSYMOP; ++n) {
    const IntMat m = operator_matrix(sg, n);
    if (std::find(pg_ops_.begin(), pg_ops_.end(), m) == pg_ops_.end()) pg_ops_.push_back(m);
  }
  centrosymmetric_ = std::find(pg_ops_.begin(), pg_ops_.end(), inversion) != pg_ops_.end();
  ops_ = pg_ops_;
  if (grouping == Grouping::laue && !centrosymmetric_) {
    for (const IntMat& m : pg_ops_) ops_.push_back(negated(m));
  }
  // The identity is of no use in the search for a larger image.
  const IntMat identity{1, 0, 0, 0, 1, 0, 0, 0, 1};
  ops_.erase(std::remove(ops_.begin(), ops_.end(), identity), ops_.end());
}

Hkl ReflectionGrouping::canonical(const Hkl& h) const {
  // The largest image in the order of index triples. An image's first component mostly
  // decides against the best so far: the others are formed only when it does not.
  Hkl best = h;
  for (const IntMat& m : ops_) {
    const int a = m[0] * h[0] + m[1] * h[1] + m[2] * h[2];
    if (a < best[0]) continue;
    const int b = m[3] * h[0] + m[4] * h[1] + m[5] * h[2];
    const int c = m[6] * h[0] + m[7] * h[1] + m[8] * h[2];
    if (a > best[0] || b > best[1] || (b == best[1] && c > best[2])) best = {a, b, c};
  }
  return best;
}

bool ReflectionGrouping::is_canonical(const Hkl& h) const {
  // Whether an image is larger (in the order of index triples), component by component: most
  // images differ from h in the first.
  for (const IntMat& m : ops_) {
    const int a = m[0] * h[0] + m[1] * h[1] + m[2] * h[2];
    if (a != h[0]) {
      if (a > h[0]) return false;
      continue;
    }
    const int b = m[3] * h[0] + m[4] * h[1] + m[5] * h[2];
    if (b != h[1]) {
      if (b > h[1]) return false;
      continue;
    }
    if (m[6] * h[0] + m[7] * h[1] + m[8] * h[2] > h[2]) return false;
  }
  return true;
}

bool ReflectionGrouping::centric(const Hkl& h) const {
  const Hkl minus{-h[0], -h[1], -h[2]};
  for (const IntMat& m : pg_ops_) {
    if (apply(m, h) == minus) return true;
  }
  return false;
}

ResolutionRange resolution_range(float wave, float tth_min, float tth_max) {
  ResolutionRange r;
  if (wave > 0.0f && tth_max >= 0.001f) {
    r.inv_d_max = 2.0f * std::sin(tth_max * DEGRAD / 2.0f) / wave * (1.0f + 1.0e-5f);
  }
  if (wave > 0.0f && tth_min > 0.0f) {
    r.inv_d_min = 2.0f * std::sin(tth_min * DEGRAD / 2.0f) / wave * (1.0f - 1.0e-5f);
  }
  return r;
}

InverseD::InverseD(const symmetry::CellTable& ct) {
  for (int i = 1; i <= 3; ++i) {
    side_[static_cast<std::size_t>(i - 1)] = ct.at(i, symmetry::CELL_SIDE, symmetry::RECIPROCAL_SPACE);
    cos_[static_cast<std::size_t>(i - 1)] = ct.at(i, symmetry::CELL_COS, symmetry::RECIPROCAL_SPACE);
  }
}

// |s|² = sum over axes of (x_i a*_i)² + 2 x_j x_k a*_j a*_k cos(alpha*_i), i, j, k cyclic.
float inverse_d(const symmetry::CellTable& ct, const Hkl& h) { return InverseD(ct)(h); }

bool systematically_absent(const expfile::RunControls& ctl, const symmetry::SpaceGroup& sg,
                           const Hkl& h) {
  if (ctl.IABSENT == 3) return false;
  const std::array<float, 3> x{static_cast<float>(h[0]), static_cast<float>(h[1]),
                               static_cast<float>(h[2])};
  return symmetry::ISPABS(sg, x) + symmetry::LATABS(sg, x) != 2;
}

AbsenceTest::AbsenceTest(const expfile::RunControls& ctl, const symmetry::SpaceGroup& sg)
    : ctl_(ctl), sg_(sg), integral_(symmetry::whole_number_rotations(sg, rows_)) {
  // The operators that can make a reflection absent: the identity without a translation
  // leaves every phase at zero.
  const std::array<int, 9> identity{1, 0, 0, 0, 1, 0, 0, 0, 1};
  for (int n = 1; integral_ && sg.NSYMOP != 1 && n <= sg.NSYMOP; ++n) {
    const symmetry::Vec3& t = sg.SYMTRN[static_cast<std::size_t>(n - 1)];
    if (rows_[static_cast<std::size_t>(n - 1)] == identity && t[0] == 0.0f && t[1] == 0.0f &&
        t[2] == 0.0f) {
      continue;
    }
    tested_.push_back(n);
  }
}

bool AbsenceTest::operator()(const Hkl& h) const {
  if (ctl_.IABSENT == 3) return false;
  constexpr int LIMIT = 1 << 20;
  if (!integral_ || std::abs(h[0]) >= LIMIT || std::abs(h[1]) >= LIMIT ||
      std::abs(h[2]) >= LIMIT) {
    return systematically_absent(ctl_, sg_, h);
  }
  const std::array<float, 3> x{static_cast<float>(h[0]), static_cast<float>(h[1]),
                               static_cast<float>(h[2])};
  int ispabs = 1;
  for (std::size_t i = 0; i < tested_.size() && ispabs == 1; ++i) {
    const int n = tested_[i];
    // Component by component: a comparison of whole arrays would read back the three
    // stores as wider words, which the processor cannot forward.
    const std::array<int, 9>& m = rows_[static_cast<std::size_t>(n - 1)];
    if (m[0] * h[0] + m[1] * h[1] + m[2] * h[2] != h[0] ||
        m[3] * h[0] + m[4] * h[1] + m[5] * h[2] != h[1] ||
        m[6] * h[0] + m[7] * h[1] + m[8] * h[2] != h[2]) {
      continue;
    }
    // Invariant: the phase 2pi h·t must be whole, as ISPABS tests it.
    const symmetry::Vec3& t = sg_.SYMTRN[static_cast<std::size_t>(n - 1)];
    const float p = t[0] * x[0] + t[1] * x[1] + t[2] * x[2];
    const float a = std::fabs(p) + 0.01f;
    const float r = a - std::trunc(a);
    if (r > 0.1f) ispabs = 0;
  }
  return ispabs + symmetry::LATABS(sg_, x) != 2;
}

CompleteSet complete_set(const expfile::RunControls& ctl, const symmetry::SpaceGroup& sg,
                         const symmetry::CellTable& ct, ResolutionRange range,
                         Grouping grouping) {
  CompleteSet result;
  result.known = for_each_unique(ctl, sg, ct, range, grouping, [&result](const UniqueReflection& u) {
    result.reflections.push_back(u);
  });
  return result;
}

bool for_each_unique(const expfile::RunControls& ctl, const symmetry::SpaceGroup& sg,
                     const symmetry::CellTable& ct, ResolutionRange range, Grouping grouping,
                     const std::function<void(const UniqueReflection&)>& visit) {
  if (ctl.ICELL == 0 || !(range.inv_d_max > 0.0f) || !std::isfinite(range.inv_d_max)) {
    return false;
  }
  // |h_i| = |a_i . s| <= a_i |s|: the real axis lengths bound the box. A cell too long for
  // the limit (or not a number) is refused before any index is formed.
  std::array<int, 3> hmax{};
  double box = 1.0;
  for (int i = 1; i <= 3; ++i) {
    const double side = ct.at(i, symmetry::CELL_SIDE, symmetry::REAL_SPACE);
    const double bound = std::floor(side * static_cast<double>(range.inv_d_max)) + 1.0;
    if (!std::isfinite(bound) || bound < 0.0 || bound > 1.0e6) return false;
    hmax[static_cast<std::size_t>(i - 1)] = static_cast<int>(bound);
    box *= 2.0 * bound + 1.0;
  }
  if (box > MAX_ENUMERATED) return false;

  const ReflectionGrouping orbits(sg, grouping);
  const AbsenceTest absent(ctl, sg);
  const InverseD inv_d(ct);
  // With the inversion in the grouping, the chosen member of every orbit is larger than its
  // own mate and lies in the positive half of the box.
  const bool half = grouping == Grouping::laue || orbits.centrosymmetric();
  for (int h = half ? 0 : -hmax[0]; h <= hmax[0]; ++h) {
    for (int k = (half && h == 0) ? 0 : -hmax[1]; k <= hmax[1]; ++k) {
      for (int l = (half && h == 0 && k == 0) ? 1 : -hmax[2]; l <= hmax[2]; ++l) {
        const Hkl hkl{h, k, l};
        if (h == 0 && k == 0 && l == 0) continue;
        // The cheaper test first: only one image in several is its orbit's chosen member.
        if (!orbits.is_canonical(hkl)) continue;
        const float s = inv_d(hkl);
        if (s > range.inv_d_max || s < range.inv_d_min) continue;
        if (absent(hkl)) continue;
        visit({hkl, s, orbits.centric(hkl)});
      }
    }
  }
  return true;
}

}  // namespace vorlane::averaging
