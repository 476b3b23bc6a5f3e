#include "input/hkl_cache.hpp"

namespace vorlane::input {

namespace {

constexpr int MIN_BITS = 12;

}  // namespace

HklCache::HklCache(std::size_t expected_entries) {
  bits_ = MIN_BITS;
  while (3 * (std::size_t{1} << bits_) < 4 * expected_entries) ++bits_;
  slots_.assign(std::size_t{1} << bits_, Entry{0, 0, 0.0f});
}

HklCache::Entry& HklCache::insert(std::uint64_t packed, std::uint32_t set, std::uint64_t flags) {
  // At most three quarters full: probes stay short, and the table stays small (it lives
  // beside all the measurements).
  if (4 * (size_ + 1) > 3 * slots_.size()) grow();
  Entry& e = slots_[slot(packed)];
  e.key = packed | OCCUPIED | flags;
  e.set = set;
  e.tth = 0.0f;
  ++size_;
  return e;
}

void HklCache::grow() {
  ++generation_;
  run::LargeArray<Entry> old;
  old.swap(slots_);
  ++bits_;
  slots_.assign(std::size_t{1} << bits_, Entry{0, 0, 0.0f});
  for (const Entry& e : old) {
    if ((e.key & OCCUPIED) != 0) slots_[slot(e.key & INDEX_BITS)] = e;
  }
}

}  // namespace vorlane::input
