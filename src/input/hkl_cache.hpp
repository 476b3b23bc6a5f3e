#pragma once
// What the reader has already worked out for an index triple as read: its equivalent set,
// whether it reached the asymmetric unit through its Friedel mate, and its 2theta from the
// cell. A data set measures each reflection as a few symmetry equivalents, each several
// times, so most records meet a triple seen before and skip the asymmetric-unit search, the
// 2theta calculation and the search for the set. Every value kept is a function of the
// indices alone within one run, so a record gets exactly what the calculation would give it.
#include <array>
#include <cstdint>
#include <vector>

#include "run/large_array.hpp"

namespace vorlane::input {

class HklCache {
 public:
  struct Entry {
    std::uint64_t key;  // packed indices | OCCUPIED | flags
    std::uint32_t set;  // 0-based equivalent set
    float tth;          // 2theta from the cell (0 when it has none), once TTH_KNOWN
  };
  static constexpr std::uint64_t OCCUPIED = std::uint64_t{1} << 63;
  static constexpr std::uint64_t FRIEDEL = std::uint64_t{1} << 62;      // reached via -h
  static constexpr std::uint64_t TTH_KNOWN = std::uint64_t{1} << 61;    // tth filled in
  static constexpr std::uint64_t INDEX_BITS = (std::uint64_t{1} << 48) - 1;

  // Indices that fit the packed key (every index a 3- or 4-column field can hold does).
  static bool packable(const std::array<int, 3>& h) {
    for (int x : h) {
      if (x < -32768 || x > 32767) return false;
    }
    return true;
  }
  static std::uint64_t pack(const std::array<int, 3>& h) {
    return static_cast<std::uint64_t>(static_cast<std::uint16_t>(h[0])) |
           static_cast<std::uint64_t>(static_cast<std::uint16_t>(h[1])) << 16 |
           static_cast<std::uint64_t>(static_cast<std::uint16_t>(h[2])) << 32;
  }

  // Room for about `expected_entries` index triples before the table first grows.
  explicit HklCache(std::size_t expected_entries = 0);

  // Starts loading the slot of `packed` from memory.
  void prefetch(std::uint64_t packed) const { __builtin_prefetch(&slots_[home(packed)]); }
  // The entry of `packed`, or nullptr. It stays where it is until the table grows.
  Entry* find(std::uint64_t packed) {
    Entry& e = slots_[slot(packed)];
    return (e.key & OCCUPIED) != 0 ? &e : nullptr;
  }
  // A new entry for `packed` (not present yet) with `flags`, where it stays until the table
  // grows.
  Entry& insert(std::uint64_t packed, std::uint32_t set, std::uint64_t flags);
  // Raised whenever the table grows: entries found before stay where they are until then
  // (an insert that does not grow the table moves no entry).
  std::size_t generation() const { return generation_; }

 private:
  std::size_t home(std::uint64_t packed) const {
    return static_cast<std::size_t>((packed * 0x9E3779B97F4A7C15ull) >> (64 - bits_));
  }
  std::size_t slot(std::uint64_t packed) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = home(packed);
    while ((slots_[i].key & OCCUPIED) != 0 && (slots_[i].key & INDEX_BITS) != packed) {
      i = (i + 1) & mask;
    }
    return i;
  }
  void grow();

  run::LargeArray<Entry> slots_;
  int bits_ = 0;
  std::size_t size_ = 0;
  std::size_t generation_ = 0;
};

}  // namespace vorlane::input
