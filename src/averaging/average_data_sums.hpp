#pragma once
// The running sums of one equivalent set while it is averaged: formed once over all members,
// then corrected by subtraction as members are rejected (never recomputed in the ordinary case).
#include <limits>
#include <span>

#include "run/reflection_list.hpp"

namespace vorlane::averaging {

// 1/sigma^2 of one member. A zero sigma (the reader allows it for intensities at most
// 0.0001), or one whose square underflows, is an infinite weight: the measurement is taken as
// exact. Written without a division by zero so that no floating-point trap can fire.
inline float member_weight(float sigma) {
  const float s2 = sigma * sigma;
  return s2 > 0.0f ? 1.0f / s2 : std::numeric_limits<float>::infinity();
}

struct SetSums {
  float S1 = 0.0f;  // sum of intensities
  float S2 = 0.0f;  // sum of squared intensities
  float SS = 0.0f;  // sum of squared sigmas
  float SW = 0.0f;  // sum of weights 1/sigma^2
};

// Stage-1 sums over all members, one term at a time in member order.
SetSums set_sums(std::span<const run::Member> members);

// A sum of squared sigmas (SS) or of weights (SW) that was corrected by subtraction is only
// trusted while it stands above the rounding noise of the sum it came from: n additions and
// as many subtractions of terms no larger than `stage1` leave an error of at most about
// n * epsilon * stage1. At or below that (zero, negative, or NaN after inf - inf), the
// corrected value says nothing and must be summed afresh over the accepted members. Sets of
// ordinary sigmas never come near this bound.
inline bool corrected_sum_lost(float corrected, float stage1, int neq) {
  const float noise = stage1 * (static_cast<float>(neq) * std::numeric_limits<float>::epsilon());
  return !(corrected > noise);
}

// Fresh sums of squared sigmas and of weights over the members with IREJ = 0, in member order.
float accepted_sigma_squares(std::span<const run::Member> members);
float accepted_weights(std::span<const run::Member> members);

}  // namespace vorlane::averaging
