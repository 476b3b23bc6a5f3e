#pragma once
// The complete set of a crystal: every unique reflection that the space group allows out to a
// resolution limit, in one of two groupings. The Laue grouping treats Friedel mates as
// equivalent (what an averaged data set with Friedel's law holds); the point-group grouping
// keeps them apart (anomalous data). Completeness figures divide measured unique reflections
// by these counts, and resolution-shell statistics bin them by 1/d.
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "expfile/run_controls.hpp"
#include "symmetry/cell_table.hpp"
#include "symmetry/space_group.hpp"

namespace vorlane::averaging {

enum class Grouping { laue, point_group };

// The orbit of a reflection under the rotations of the group (with the inversion added in
// the Laue grouping), and its chosen member: the lexicographically largest image.
class ReflectionGrouping {
 public:
  ReflectionGrouping(const symmetry::SpaceGroup& sg, Grouping grouping);

  std::array<int, 3> canonical(const std::array<int, 3>& h) const;
  bool is_canonical(const std::array<int, 3>& h) const;
  // Centric: the Friedel mate -h is an image of h under the point group itself.
  bool centric(const std::array<int, 3>& h) const;
  // The point group holds the inversion.
  bool centrosymmetric() const { return centrosymmetric_; }

 private:
  std::vector<std::array<int, 9>> ops_;     // rotations of the grouping, row by row
  std::vector<std::array<int, 9>> pg_ops_;  // rotations of the point group
  bool centrosymmetric_ = false;
};

struct UniqueReflection {
  std::array<int, 3> hkl{};  // the orbit's chosen member
  float inv_d = 0.0f;        // 1/d in reciprocal angstroms
  bool centric = false;
};

// Bounds in 1/d, both inclusive; inv_d_min = 0 for no lower bound.
struct ResolutionRange {
  float inv_d_min = 0.0f;
  float inv_d_max = 0.0f;
};

struct CompleteSet {
  // False when the set cannot be formed: no cell, no upper bound, or a cell so long (or a
  // limit so fine) that the enumeration would exceed MAX_ENUMERATED index triples.
  bool known = false;
  std::vector<UniqueReflection> reflections;
};

// Index triples one enumeration may visit: about a second of work. Beyond it (a cell of
// hundreds of angstroms at a fine limit) the complete set is unknown rather than slow.
inline constexpr double MAX_ENUMERATED = 2.5e7;

// The resolution range of a 2theta window in degrees at wavelength `wave`: 1/d = 2 sin(theta)
// / lambda, widened by a relative 1e-5 on each side so that a measured reflection at the
// window's edge (its angle found through another single-precision path) stays inside.
ResolutionRange resolution_range(float wave, float tth_min, float tth_max);

// 1/d of h from the reciprocal cell of the cell table (the same arithmetic as VCTMOD).
float inverse_d(const symmetry::CellTable& ct, const std::array<int, 3>& h);

// inverse_d for the many reflections of one cell: the cell's values are taken once, and the
// sum is formed with the same operations in the same order.
class InverseD {
 public:
  explicit InverseD(const symmetry::CellTable& ct);
  float operator()(const std::array<int, 3>& h) const {
    double sum = 0.0;
    for (std::size_t i = 0; i < 3; ++i) {
      const std::size_t j = (i + 1) % 3;
      const std::size_t k = (j + 1) % 3;
      const double xi = h[i];
      const double xj = h[j];
      const double xk = h[k];
      sum = sum + (xi * side_[i]) * (xi * side_[i]) + 2.0 * xj * xk * side_[j] * side_[k] * cos_[i];
    }
    return static_cast<float>(std::sqrt(sum));
  }

 private:
  std::array<double, 3> side_{};
  std::array<double, 3> cos_{};
};

// Whether h is a systematic absence of the run's space group. None are with a LAUE card or
// without symmetry information (IABSENT = 3).
bool systematically_absent(const expfile::RunControls& ctl, const symmetry::SpaceGroup& sg,
                           const std::array<int, 3>& h);

// systematically_absent for the many reflections of one run. The operators' rotations are
// kept as integer matrices when they are whole numbers: which operators leave h unchanged is
// then found without floating point, with the same answer (those products are exact in single
// precision for indices below 2^20). The phase test and the centring test are the same
// arithmetic as before.
class AbsenceTest {
 public:
  AbsenceTest(const expfile::RunControls& ctl, const symmetry::SpaceGroup& sg);
  bool operator()(const std::array<int, 3>& h) const;

 private:
  const expfile::RunControls& ctl_;
  const symmetry::SpaceGroup& sg_;
  std::vector<std::array<int, 9>> rows_;  // operator n's rotation acting on h, row by row
  bool integral_ = false;
  std::vector<int> tested_;  // the operators (numbered from 1) whose phases are tested
};

// Hands every unique, allowed reflection with inv_d_min <= 1/d <= inv_d_max in the chosen
// grouping to `visit`, in enumeration order (h outermost), without keeping any. False (and
// nothing visited) when the set cannot be formed: no cell (ICELL = 0), no upper bound, or an
// index box beyond MAX_ENUMERATED triples.
bool for_each_unique(const expfile::RunControls& ctl, const symmetry::SpaceGroup& sg,
                     const symmetry::CellTable& ct, ResolutionRange range, Grouping grouping,
                     const std::function<void(const UniqueReflection&)>& visit);

// The same reflections kept in a list.
CompleteSet complete_set(const expfile::RunControls& ctl, const symmetry::SpaceGroup& sg,
                         const symmetry::CellTable& ct, ResolutionRange range,
                         Grouping grouping);

}  // namespace vorlane::averaging
