#pragma once
// Each rotation of the lattice symmetry scored by the agreement of the measurements it
// relates (Evans 2006, Acta Cryst. D62, 72-82; Evans 2011, D67, 282-292).
#include <array>
#include <vector>

#include "symmetry_analysis/lattice_symmetry.hpp"
#include "symmetry_analysis/measurement.hpp"
#include "symmetry_analysis/reflection_sets.hpp"

namespace vorlane::symmetry_analysis {

struct ElementScore {
  Rot rotation{};  // one of the rotation and its inverse, which relate the same pairs
  int order = 0;
  std::array<int, 3> axis{};
  int n_pairs = 0;
  double cc = 0.0;
  double likelihood = 0.0;   // that the element is present
  double log_present = 0.0;  // ln p(cc | present)
  double log_absent = 0.0;   // ln p(cc | absent)
};

struct ElementScoring {
  int n_identity_pairs = 0;
  double cc_identity = 0.0;  // of repeated measurements of one reflection
  double cc_expected = 0.0;  // for a symmetry that is present
  std::vector<ElementScore> elements;
};

// E^2 of every measurement: I / (epsilon <I/epsilon>) in shells of 1/d^2, epsilon from the
// lattice symmetry, limited to [-5, 25] so that a few wild measurements do not rule a
// correlation coefficient.
std::vector<double> normalised_intensities(const std::vector<Measurement>& data,
                                           const std::vector<double>& s2,
                                           const PointGroup& lattice);

// Pairs: for every reflection (orbit under the inversion alone, in canonical order) whose
// image under the rotation was measured too, its measurements taken in turn against the
// image's (the i-th with the (i mod n)-th); for the identity, consecutive measurements of one
// reflection. The expected correlation for a present element is that of the identity pairs.
ElementScoring score_elements(const std::vector<Measurement>& data,
                              const std::vector<double>& s2, const LatticeSymmetry& lattice);

// ln of the probability density of a correlation coefficient `cc` from `n` pairs when the
// true value is `mu`: normal with sigma^2 = (1 - mu^2)^2 / n + (0.05 mu)^2 (the second term
// for the systematic differences between measurements of different reflections).
double log_cc_density(double cc, double mu, int n);

}  // namespace vorlane::symmetry_analysis
