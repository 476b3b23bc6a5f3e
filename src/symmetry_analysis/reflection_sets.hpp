#pragma once
// Measurements grouped into the orbits of a point group, resolution shells and normalised
// intensities.
#include <vector>

#include "symmetry_analysis/measurement.hpp"
#include "symmetry_analysis/rotation.hpp"

namespace vorlane::symmetry_analysis {

// Resolution shells of equal counts in 1/d^2.
struct Shells {
  std::vector<double> upper;  // the largest 1/d^2 of each shell, ascending
  int of(double s2) const;
  int size() const { return static_cast<int>(upper.size()); }
};
// About `per_shell` values a shell, between 1 and `max_shells` shells.
Shells equal_count_shells(std::vector<double> s2, int per_shell, int max_shells);

struct Orbit {
  Hkl hkl{};        // the representative
  double s2 = 0.0;  // 1/d^2
  int first = 0;    // into Orbits::members
  int count = 0;
  double intensity = 0.0;  // weighted mean (1/sigma^2)
  double sigma = 0.0;
};

struct Orbits {
  std::vector<Orbit> sets;   // by representative
  std::vector<int> members;  // measurement indices, orbit by orbit, in canonical order
  const Orbit* find(const Hkl& representative) const;
};

// Groups the (canonically ordered) measurements by their representative under `group`.
// `s2` holds each measurement's 1/d^2.
Orbits group_orbits(const std::vector<Measurement>& data, const std::vector<double>& s2,
                    const PointGroup& group);

// 1/d^2 of every measurement.
std::vector<double> inverse_d_squared(const std::vector<Measurement>& data,
                                      const std::array<double, 6>& cell);

}  // namespace vorlane::symmetry_analysis
