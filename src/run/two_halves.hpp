#pragma once
// Work that splits without changing a result: each half of [0, n) is done by work(from, to),
// the first half on a second thread when `worth_a_thread` and a thread can be had, otherwise
// both on the calling thread. A pass over the sets of a list is worth a thread from
// TWO_HALVES_MIN sets on.
#include <cstddef>
#include <future>
#include <system_error>
#include <utility>

namespace vorlane::run {

inline constexpr std::size_t TWO_HALVES_MIN = 8192;

template <class Work>
void in_two_halves(std::size_t n, bool worth_a_thread, Work&& work) {
  const std::size_t half = n / 2;
  std::future<void> first_half;
  if (worth_a_thread) {
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

// The same over the sets of a list of n sets.
template <class Work>
void in_two_halves(std::size_t n, Work&& work) {
  in_two_halves(n, n >= TWO_HALVES_MIN, std::forward<Work>(work));
}

}  // namespace vorlane::run
