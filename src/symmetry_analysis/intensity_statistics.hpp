#pragma once
// Intensity statistics of the general reflections: centrosymmetry and twinning.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "symmetry_analysis/measurement.hpp"
#include "symmetry_analysis/rotation.hpp"

namespace vorlane::symmetry_analysis {

struct WilsonPoint {
  double s2 = 0.0;  // (sin theta / lambda)^2
  double ln_mean_i = 0.0;
  int n = 0;
};

struct IntensityStatistics {
  int n_general = 0;  // general reflections (unique under the Laue class)
  int n_used = 0;     // of them in shells of <I/sigma> >= 2
  bool reliable = false;
  double mean_abs_e2_minus_1 = 0.0;  // 0.968 centric, 0.736 acentric
  double second_moment = 0.0;        // <I^2>/<I>^2: 3 centric, 2 acentric, 1.5 perfect twin
  std::array<double, 10> nz{};       // N(z) at z = 0.1 ... 1.0
  int n_l_pairs = 0;
  double mean_abs_l = 0.0;           // 0.5 untwinned acentric, 0.375 perfect twin
  std::array<double, 10> nl{};       // N(|L|) at 0.1 ... 1.0
  std::vector<WilsonPoint> wilson;
  double wilson_b = 0.0;             // from the slope; the scale is relative
  // The straight line ln<I> = wilson_intercept - 2 B s2 through the shells beyond 4 Angstrom
  // (all when fewer than three); not fitted with fewer than two shells.
  bool wilson_fitted = false;
  double wilson_intercept = 0.0;
  // Where the statistics lie between acentric (0) and centric (1): the mean of the
  // positions of <|E^2-1|> between 0.736 and 0.968 and of <|L|> between 0.5 and 2/pi (the
  // L-test of a centric distribution), <|E^2-1|> alone with fewer than 100 L pairs.
  double centric_score = 0.0;
  bool twinning_suspected = false;
  std::optional<bool> centrosymmetric_likely;  // none when the statistics are not reliable
};

// Theoretical N(z): acentric 1 - exp(-z), centric erf(sqrt(z/2)).
double nz_acentric(double z);
double nz_centric(double z);
// Theoretical N(|L|): untwinned L, perfect twin L(3 - L^2)/2.
double nl_untwinned(double l);
double nl_perfect_twin(double l);

// The measurements merged under `laue`; general reflections are those that no lattice
// rotation leaves unchanged or turns into their Friedel mate (epsilon 1, acentric in every
// candidate group) and that the centring allows. E^2 = I/<I> by shell. The statistics are
// reliable with at least 100 general reflections in shells of <I/sigma> >= 2. The L-test
// (Padilla & Yeates 2003, Acta Cryst. D59, 1124) pairs each reflection with its neighbours
// two steps along each axis; twinning is suspected when <|L|> < 0.44 from at least 500 pairs.
IntensityStatistics intensity_statistics(const std::vector<Measurement>& data,
                                         const std::vector<double>& s2, const PointGroup& laue,
                                         const PointGroup& lattice, const std::string& centring);

}  // namespace vorlane::symmetry_analysis
