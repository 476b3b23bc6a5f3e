#pragma once
// Work over the sets of a list that splits without changing a result: each half of [0, n) is
// done by work(from, to), the first half on a second thread when the list is long enough to
// repay starting one and a thread can be had, otherwise both on the calling thread.
#include <cstddef>
#include <future>
#include <system_error>

namespace vorlane::run {

inline constexpr std::size_t TWO_HALVES_MIN = 8192;

template <class Work>
void in_two_halves(std::size_t n, Work&& work) {
  const std::size_t half = n / 2;
  std::future<void> first_half;
  if (n >= TWO_HALVES_MIN) {
    try {
      first_half = std::async(std::launch::async, [&work, half] { work(std::size_t{0}, half); });
    } catch (const std::system_error&) {
      // Done below, on this thread.
    }
  }
  if (!first_half.valid()) work(std::size_t{0}, half);
  work(half, n);
  if (first_half.valid()) first_half.get();
}

}  // namespace vorlane::run
