#pragma once
// The statistics of one equivalent set while it is averaged. Every sum runs in double over the
// members taken in a canonical order (by intensity, then sigma), with a two-pass mean and
// variance, so that the same measurements read in any order give the same bits.
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "run/reflection_list.hpp"

namespace vorlane::averaging {

// 1/sigma^2 of one member. A zero sigma (the reader allows it for intensities at most
// 0.0001) is an infinite weight: the measurement is taken as exact. Written without a
// division by zero so that no floating-point trap can fire.
inline double member_weight(double sigma) {
  const double s2 = sigma * sigma;
  return s2 > 0.0 ? 1.0 / s2 : std::numeric_limits<double>::infinity();
}

// One member's values with its place in the set (from 0), in canonical order.
struct SortedMember {
  float I = 0.0f;
  float sigma = 0.0f;
  std::uint32_t j = 0;
};

// The members of a set in canonical order: by intensity, then sigma (equal pairs are
// interchangeable, so their order never shows in a result).
void sort_members(std::span<const run::Member> members, std::vector<SortedMember>& out);

// Mean, spread and sigma sums over the members still accepted (IREJ = 0).
struct SetMoments {
  int n = 0;
  double mean = 0.0;
  double V = 0.0;   // sum of squared deviations from the mean
  double SS = 0.0;  // sum of squared sigmas
  double SW = 0.0;  // sum of weights 1/sigma^2
};

SetMoments accepted_moments(std::span<const SortedMember> sorted,
                            std::span<const run::Member> members);

}  // namespace vorlane::averaging
