#include "averaging/coverage.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "averaging/complete_set.hpp"
#include "symmetry/absences.hpp"
#include "symmetry/inbox.hpp"
#include "symmetry/reflection_image.hpp"
#include "symmetry/vctmod.hpp"

namespace vorlane::averaging {

namespace {

// pi/180 in single precision (bits 3C8EFA35).
constexpr float DEGRAD = 0.017453292f;

using Hkl = std::array<int, 3>;

std::int64_t key_of(const Hkl& h) {
  // Indices stay far below 2^20 in magnitude: the box is bounded by 2a/lambda.
  constexpr std::int64_t offset = 1 << 20;
  return ((h[0] + offset) << 42) | ((h[1] + offset) << 21) | (h[2] + offset);
}

Hkl negated(const Hkl& h) { return {-h[0], -h[1], -h[2]}; }

// True when no operator takes the Friedel mate -h into the asymmetric unit or onto its
// boundary: the input reader then reaches -h only through its Friedel mate and, with Friedel
// mates kept apart, files it in a set of its own that no entry of the count stands for.
bool friedel_mate_is_extra_set(const symmetry::SpaceGroup& sg, const Hkl& h) {
  const Hkl minus = negated(h);
  for (int m = 1; m <= sg.NSYMOP; ++m) {
    if (symmetry::INBOX(sg, symmetry::reflection_image(sg, m, minus)) >= 0) return false;
  }
  return true;
}

}  // namespace

int COVERAGE(const expfile::RunControls& ctl, const symmetry::SpaceGroup& sg,
             const symmetry::CellTable& ct, float TTH) {
  if (ctl.ICELL == 0) return 0;
  if (TTH < 0.001f) return 0;

  // The limiting angle is the 2theta of a measured reflection, found through the B matrix;
  // d below comes through the reciprocal metric. The two single-precision paths differ in the
  // last bits, so the reflection that set the limit could fall just outside it and a complete
  // data set would report more than it can hold: allow a relative margin far below any real
  // spacing difference.
  const float d_min = ctl.WAVE * 0.5f / std::sin(TTH * DEGRAD / 2.0f) * (1.0f - 1.0e-5f);
  // The box: trunc(2a/lambda) + 1 holds every reflection of the whole sphere; a/d_min + 1 holds
  // those out to the limit, far fewer for the limits data reach. Worked in double precision so
  // that an absurd cell gives no integer overflow; a box beyond MAX_ENUMERATED is refused.
  std::array<int, 3> hmax{};
  double box = 1.0;
  for (std::size_t k = 0; k < 3; ++k) {
    const double a = ctl.CELLPAR[k];
    const double sphere = std::trunc(2.0 * a / static_cast<double>(ctl.WAVE)) + 1.0;
    const double limit = std::floor(a / static_cast<double>(d_min)) + 1.0;
    const double bound = std::min(sphere, limit);
    if (!std::isfinite(bound) || bound < 0.0 || bound > 1.0e6) return 0;
    hmax[k] = static_cast<int>(bound);
    box *= 2.0 * bound + 1.0;
  }
  if (box > MAX_ENUMERATED) return 0;

  // The input reader merges a reflection with its Friedel mate unless asked not to
  // (FRIEDEL NOFLIP).
  const bool friedel_merged = ctl.INOFLIP != 1;

  int count = 0;
  std::vector<Hkl> interior;  // kept only to find the sets of Friedel mates kept apart
  std::vector<Hkl> boundary;
  for (int h = -hmax[0]; h <= hmax[0]; ++h) {
    for (int k = -hmax[1]; k <= hmax[1]; ++k) {
      for (int l = -hmax[2]; l <= hmax[2]; ++l) {
        if (h == 0 && k == 0 && l == 0) continue;
        const std::array<float, 3> x{static_cast<float>(h), static_cast<float>(k),
                                     static_cast<float>(l)};
        const float d = 1.0f / symmetry::VCTMOD(ct, 1.0f, x, symmetry::RECIPROCAL_SPACE);
        if (d < d_min) continue;
        if (symmetry::ISPABS(sg, x) + symmetry::LATABS(sg, x) != 2) continue;
        const Hkl hkl{h, k, l};
        const int in = symmetry::INBOX(sg, hkl);
        if (in == 1) {
          ++count;
          if (!friedel_merged) interior.push_back(hkl);
        } else if (in == 0) {
          boundary.push_back(hkl);
        }
      }
    }
  }

  // Resolve the boundary: an entry is a repeat when one of its images is an earlier entry.
  // The images are those that put reflections into one set. With Friedel mates merged these
  // are the operators of the group and their products with the inversion: the operators
  // alone would count a boundary reflection and its Friedel mate twice in a
  // non-centrosymmetric group. (A centrosymmetric group holds those products already.)
  std::unordered_set<std::int64_t> earlier;
  std::vector<Hkl> unique_boundary;
  for (const Hkl& q : boundary) {
    bool repeat = false;
    for (int m = 1; m <= sg.NSYMOP && !repeat; ++m) {
      const Hkl image = symmetry::reflection_image(sg, m, q);
      repeat = earlier.count(key_of(image)) != 0 ||
               (friedel_merged && earlier.count(key_of(negated(image))) != 0);
    }
    earlier.insert(key_of(q));
    if (!repeat) unique_boundary.push_back(q);
  }
  count += static_cast<int>(unique_boundary.size());

  // Friedel mates kept apart: the mate of a counted reflection is a set of its own unless the
  // point group makes it an image of a counted reflection (a centric reflection, or a mate
  // that the asymmetric unit holds itself).
  if (!friedel_merged) {
    for (const Hkl& h : interior) count += friedel_mate_is_extra_set(sg, h) ? 1 : 0;
    for (const Hkl& h : unique_boundary) count += friedel_mate_is_extra_set(sg, h) ? 1 : 0;
  }
  return count;
}

}  // namespace vorlane::averaging
