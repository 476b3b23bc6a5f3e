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
  int n_friedel_pairs = 0;   // of them, a reflection against its Friedel mate
  double cc_friedel = 0.0;
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
// image under the rotation was measured too, each of its measurements with each of the
// image's; for the identity, every two measurements of one reflection. (All pairs: any
// choice among them by the canonical order, which sorts by intensity, would favour close
// values.) The expected correlation for a present element is that of the Friedel pairs
// among the identity pairs when there are at least 200 (a reflection and its Friedel mate
// are measured in other orientations, as symmetry mates are; two measurements of the same
// indices often share the orientation and its errors), else that of all identity pairs.
ElementScoring score_elements(const std::vector<Measurement>& data,
                              const std::vector<double>& s2, const LatticeSymmetry& lattice);

// ln of the probability density of a correlation coefficient `cc` from `n` pairs when the
// true value is `mu`: normal with sigma^2 = (1 - mu^2)^2 / n + s^2 with
// s = mu (0.1 + 0.2 (1 - mu)) for the systematic differences between measurements of
// different reflections, which grow as the data get weaker (outliers and background errors
// weigh more where the correlation is low).
double log_cc_density(double cc, double mu, int n);

}  // namespace vorlane::symmetry_analysis
