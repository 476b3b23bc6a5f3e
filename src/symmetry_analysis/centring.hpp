#pragma once
// Lattice centring from the reflections each centring forbids.
#include <string>
#include <vector>

#include "symmetry_analysis/measurement.hpp"

namespace vorlane::symmetry_analysis {

struct ClassFigures {
  int n = 0;
  int n_strong = 0;  // I > 3 sigma
  double mean_i = 0.0;
  double mean_i_over_sigma = 0.0;
};

struct CentringRow {
  std::string name;  // P A B C I F R(obv) R(rev)
  ClassFigures forbidden;
  bool accepted = false;
};

struct CentringResult {
  ClassFigures all;
  std::vector<CentringRow> rows;
  std::string chosen;  // the name of the most restrictive accepted centring
};

// Whether centring `name` forbids reflection `h` (rhombohedral on hexagonal axes: obverse
// -h+k+l = 3n, reverse h-k+l = 3n).
bool centring_forbids(const std::string& name, const Hkl& h);

// The gemmi centring letter of a centring name (R for both rhombohedral settings).
char centring_letter(const std::string& name);

// A centring is accepted when its forbidden class is empty, or weak: its mean I/sigma at
// most a tenth of all reflections' (and below 1.5), and its strong members at most a tenth
// of the fraction strong among all reflections, plus one in two hundred for lambda/2 and
// multiple diffraction. Among the accepted the one forbidding the largest part of the lattice
// wins (F, then R, then I A B C, then P).
CentringResult find_centring(const std::vector<Measurement>& data);

}  // namespace vorlane::symmetry_analysis
