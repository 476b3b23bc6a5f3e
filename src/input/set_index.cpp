#include "input/set_index.hpp"

namespace vorlane::input {

namespace {

constexpr int MIN_BITS = 10;

std::uint64_t hash_of(const std::array<int, 3>& k) {
  std::uint64_t x = static_cast<std::uint32_t>(k[0]) |
                    (static_cast<std::uint64_t>(static_cast<std::uint32_t>(k[1])) << 32);
  x ^= static_cast<std::uint64_t>(static_cast<std::uint32_t>(k[2])) * 0xC2B2AE3D27D4EB4Full;
  x *= 0x9E3779B97F4A7C15ull;
  x ^= x >> 29;
  return x * 0xBF58476D1CE4E5B9ull;
}

}  // namespace

SetIndex::SetIndex(std::size_t expected_sets) {
  bits_ = MIN_BITS;
  // Keep the table at most three quarters full: it lives beside all the measurements.
  while (3 * (std::size_t{1} << bits_) < 4 * expected_sets) ++bits_;
  slots_.assign(std::size_t{1} << bits_, Slot{{0, 0, 0}, NOT_FOUND});
}

std::size_t SetIndex::home_of(const std::array<int, 3>& k) const {
  return static_cast<std::size_t>(hash_of(k) >> (64 - bits_));
}

void SetIndex::prefetch(const std::array<int, 3>& k) const {
  __builtin_prefetch(&slots_[home_of(k)]);
}

std::size_t SetIndex::slot_of(const std::array<int, 3>& k) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = home_of(k);
  while (slots_[i].set != NOT_FOUND &&
         (slots_[i].key[0] != k[0] || slots_[i].key[1] != k[1] || slots_[i].key[2] != k[2])) {
    i = (i + 1) & mask;
  }
  return i;
}

std::uint32_t SetIndex::find(const std::array<int, 3>& k) const { return slots_[slot_of(k)].set; }

void SetIndex::insert(const std::array<int, 3>& k, std::uint32_t set) {
  if (4 * (size_ + 1) > 3 * slots_.size()) grow();
  Slot& slot = slots_[slot_of(k)];
  slot.key = k;
  slot.set = set;
  ++size_;
}

void SetIndex::grow() {
  run::LargeArray<Slot> old;
  old.swap(slots_);
  ++bits_;
  slots_.assign(std::size_t{1} << bits_, Slot{{0, 0, 0}, NOT_FOUND});
  for (const Slot& s : old) {
    if (s.set != NOT_FOUND) slots_[slot_of(s.key)] = s;
  }
}

}  // namespace vorlane::input
