#pragma once
// The reflection list: every measured reflection, grouped into equivalent sets.
//
// Storage grows with the data: there is no fixed number of sets or of members of a set.
// Containers count from 0: set i of the text (1..NSET) is sets[i-1], member j of a set
// (1..NEQ) is members[first + j - 1]. Members of one set are contiguous, in the order they
// were read; member 1 holds the set's representative indices.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "run/large_array.hpp"

namespace vorlane::run {

// Miller indices in 16 bits each: index fields are at most four columns wide, and the
// representative of a readable triple (a signed sum of at most two of its indices) stays
// within 16 bits too. Read as ints; assigned from ints.
struct Indices {
  std::array<std::int16_t, 3> v{};

  constexpr Indices() = default;
  constexpr Indices(int h, int k, int l)
      : v{static_cast<std::int16_t>(h), static_cast<std::int16_t>(k),
          static_cast<std::int16_t>(l)} {}
  constexpr Indices(const std::array<int, 3>& h) : Indices(h[0], h[1], h[2]) {}  // NOLINT
  constexpr int operator[](std::size_t i) const { return v[i]; }
  constexpr operator std::array<int, 3>() const { return {v[0], v[1], v[2]}; }  // NOLINT
  friend constexpr bool operator==(const Indices&, const Indices&) = default;
  friend constexpr bool operator==(const Indices& a, const std::array<int, 3>& b) {
    return a.v[0] == b[0] && a.v[1] == b[1] && a.v[2] == b[2];
  }
};

// One measurement: 32 bytes, as a run holds millions of them.
struct Member {
  Indices IHKL{};
  // The record as read, for reports that must describe the measurement itself: its indices
  // (member 1 too, whose IHKL holds the representative) and its batch number (a four-column
  // field; 0 when the format has none).
  Indices hkl_read{};
  std::int16_t batch = 0;
  std::int8_t IREJ = 0;  // 0 accepted, 1 DAC dip, 2 outlier
  std::int8_t IOBS = 0;  // 1 observed (greater-than)
  float FSQ = 0.0f;
  float SIGFSQ = 0.0f;
  // 2theta. The other angle values of a record that carries them (Zezor) are kept beside
  // the list, in ReflectionList::record_angles: no stage after the reading uses them.
  std::array<float, 1> REFANG{};
  std::uint32_t line = 0;  // the record's line in the input file, from 1
};

// The second and third angle values and the fourth (ITAG) of a Zezor record, with its line.
struct RecordAngles {
  std::uint32_t line = 0;
  std::array<float, 2> REFANG23{};
  float ITAG = 0.0f;
};

// A record left out by the reader because its indices lie beyond the limiting sphere of the
// run's cell and wavelength (lambda/2d > 1): no reflection of a crystal with that cell can
// be measured there.
struct ImpossibleRecord {
  std::uint32_t line = 0;
  Indices hkl{};
  std::int16_t batch = 0;
  float FSQ = 0.0f;
  float SIGFSQ = 0.0f;
  float ratio = 0.0f;  // lambda/2d
};

struct EquivSet {
  std::uint32_t first = 0;  // index of member 1 in ReflectionList::members
  int NEQ = 0;
  int NAVE = 0;
  float AUXVAL = 0.0f;
  float FAVE = 0.0f;
  float SIGAVE = 0.0f;
  // SIGINT is a macro of <csignal> (the interrupt signal): the underscore keeps the name
  // findable without colliding with it.
  float SIGINT_ = 0.0f;
  float SIGEXT = 0.0f;
  float SIGINT2 = 0.0f;
  float SIGEXT2 = 0.0f;
  int IABS = 0;  // 0 allowed, 1 space-group violation, 2 outside 2theta limits, 3 both
  int IGT = 0;   // 1 greater-than
};

static_assert(sizeof(Member) == 32);

struct ReflectionList {
  LargeArray<EquivSet> sets;
  LargeArray<Member> members;
  // The angle values beyond 2theta of the records that carry them, in reading order.
  std::vector<RecordAngles> record_angles;
  // Records left out as beyond the limiting sphere, in reading order.
  std::vector<ImpossibleRecord> impossible;

  int NSET() const { return static_cast<int>(sets.size()); }
  Member& member(const EquivSet& s, int j) { return members[s.first + j - 1]; }  // j from 1
  const Member& member(const EquivSet& s, int j) const { return members[s.first + j - 1]; }
  // Asks for member 1 of set i (0-based, when there is such a set) to be loaded. A pass over
  // the sets that reads only member 1 of each meets it at an irregular distance from the one
  // before, which the processor cannot foresee: such passes ask a few sets ahead.
  void prefetch_first(std::size_t i) const {
    if (i < sets.size()) __builtin_prefetch(members.data() + sets[i].first);
  }
  static constexpr std::size_t PREFETCH_SETS = 8;
  // The other angle values of `m`'s record, or nullptr when its record has none.
  const RecordAngles* angles_of(const Member& m) const {
    auto it = std::lower_bound(record_angles.begin(), record_angles.end(), m.line,
                               [](const RecordAngles& a, std::uint32_t l) { return a.line < l; });
    return it != record_angles.end() && it->line == m.line ? &*it : nullptr;
  }
};

}  // namespace vorlane::run
