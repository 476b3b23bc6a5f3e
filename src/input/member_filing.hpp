#pragma once
// Steps 4 to 8 of the reading: every measurement the parsing side hands over is checked and
// filed into its equivalent set. The members wait in the reflection list in reading order,
// marked with their sets, for the placement (member_placement.hpp).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "input/hkl_cache.hpp"
#include "input/limiting_sphere.hpp"
#include "input/measurement.hpp"
#include "input/member_placement.hpp"
#include "input/read_data.hpp"
#include "input/set_index.hpp"
#include "input/swapped_listing.hpp"

namespace vorlane::input {

// A measurement waiting to be filed. Records are filed in small batches: the table slots of a
// whole batch are requested from memory together, so the lookups of random indices overlap
// instead of waiting one after another. Filing stays in reading order, and every message
// comes where the record-by-record reading gives it.
struct Pending {
  const Measurement* m = nullptr;  // in the feed's current chunk
  std::uint64_t packed = 0;        // key of m->h in the index-triple cache
  bool cacheable = false;
  // The cache's entry found ahead (valid while the cache has not grown since).
  HklCache::Entry* entry = nullptr;
  std::size_t generation = 0;
  // Found ahead for indices the cache did not know: the representative (sign-reversed under
  // FRIEDEL NOFLIP) and the operator code of ASIND.
  bool searched = false;
  std::array<int, 3> k{};
  int isym = 0;
  // 2theta from the cell, worked out ahead with the search (when the record takes it from
  // there): the calculations of a batch then overlap.
  bool tth_known = false;
  float tth = 0.0f;
};

constexpr std::size_t BATCH = 32;

// A line or record number in five columns, or in full (after a blank) when it needs more.
std::string line_number(long long n);

class MemberFiling {
 public:
  MemberFiling(run::RunState& rs, const ReadLimits& limits, const Resolver& resolver);

  // Sets already in the list: their members set aside before the reading.
  void set_aside();
  // The lookup tables, sized for about `expected` records, with the representatives of the
  // sets already in the list.
  void make_tables(std::size_t expected);
  // Queues `m` (valid until the batch is filed) and files the batch when it is full or
  // `chunk_end` (the record is its chunk's last). False after a fatal error.
  bool add(const Measurement& m, bool chunk_end);
  // Files the queued measurements in order. False after a fatal error.
  bool flush();
  // The lookup tables go; what the placement needs stays.
  FiledMembers& finish();

  int accepted() const { return n_; }
  // Fields of F squared or sigma without a decimal point, among the filed records.
  long long fields_without_point() const { return without_point_; }
  // Zezor records whose 2theta is 0 ("not known").
  long long unknown_two_theta() const { return unknown_tth_; }
  const SwappedReflections& swapped() const { return swapped_; }

 private:
  // Steps 4 to 8 for one measurement. False after a fatal error.
  bool file(Pending& p);
  // The representative of p's indices (and its 2theta from the cell, when the record takes
  // it from there), from the parsing side when it worked them out.
  void search(Pending& p) const;

  run::RunState& rs_;
  const ReadLimits& limits_;
  run::ReflectionList& list_;
  const bool zezor_;
  const Resolver& resolver_;
  const LimitingSphere sphere_;
  SetIndex index_;
  HklCache cache_;
  FiledMembers filed_;
  SwappedReflections swapped_;
  std::array<Pending, BATCH> batch_;
  std::size_t pending_ = 0;
  int n_ = 0;  // records accepted so far
  long long without_point_ = 0;
  long long unknown_tth_ = 0;
};

}  // namespace vorlane::input
