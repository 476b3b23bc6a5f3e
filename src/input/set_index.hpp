#pragma once
// Finding the equivalent set of a representative h, k, l in average constant time: an
// open-addressing hash table from the indices to the set's position in the list. It only
// speeds up the search; which set matches (the one whose member 1 carries exactly these
// indices) is the same as a scan over the sets in order would find, as each key is unique.
#include <array>
#include <cstdint>
#include <vector>

#include "run/large_array.hpp"

namespace vorlane::input {

class SetIndex {
 public:
  static constexpr std::uint32_t NOT_FOUND = 0xFFFFFFFFu;

  explicit SetIndex(std::size_t expected_sets = 0);

  // The 0-based set of indices `k`, or NOT_FOUND.
  std::uint32_t find(const std::array<int, 3>& k) const;
  // Starts loading the slot where `k` would be found, so that a later find() of a batch of
  // keys waits for memory once rather than once per key.
  void prefetch(const std::array<int, 3>& k) const;
  // Files `k` as set `set`; `k` must not be present yet.
  void insert(const std::array<int, 3>& k, std::uint32_t set);

  std::size_t size() const { return size_; }

 private:
  struct Slot {
    std::array<int, 3> key;
    std::uint32_t set;  // NOT_FOUND marks an empty slot
  };

  std::size_t home_of(const std::array<int, 3>& k) const;
  std::size_t slot_of(const std::array<int, 3>& k) const;
  void grow();

  run::LargeArray<Slot> slots_;
  int bits_ = 0;
  std::size_t size_ = 0;
};

}  // namespace vorlane::input
