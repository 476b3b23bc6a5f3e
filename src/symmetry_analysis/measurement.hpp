#pragma once
// What the symmetry analysis takes: the measured reflections, the cell and the wavelength.
#include <array>
#include <vector>

namespace vorlane::symmetry_analysis {

using Hkl = std::array<int, 3>;

// One measurement of one reflection, with its indices as measured.
struct Measurement {
  Hkl hkl{};
  double intensity = 0.0;
  double sigma = 0.0;
};

struct Crystal {
  std::array<double, 6> cell{};  // a, b, c (Angstrom), alpha, beta, gamma (degrees)
  double wavelength = 0.0;       // Angstrom; 0 when not known
};

struct Options {
  double tolerance_deg = 3.0;  // obliquity allowed for a lattice 2-fold (Le Page)
};

// Measurements sorted into a canonical order (indices, then intensity, then sigma): every
// later sum and choice runs in this order, so the same records in any order give the same
// answer.
std::vector<Measurement> canonical_order(std::vector<Measurement> data);

}  // namespace vorlane::symmetry_analysis
