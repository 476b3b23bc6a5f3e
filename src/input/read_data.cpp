#include "input/read_data.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "input/fault_ahead.hpp"
#include "input/get_2theta.hpp"
#include "input/hkl_cache.hpp"
#include "input/input_record.hpp"
#include "input/line_source.hpp"
#include "input/set_index.hpp"
#include "input/swapped_listing.hpp"
#include "records/edit_list.hpp"
#include "run/messages.hpp"
#include "run/two_halves.hpp"
#include "symmetry/representative_search.hpp"

namespace vorlane::input {

namespace {

// One accepted measurement, as read.
struct Measurement {
  std::array<int, 3> h{};
  float fsq = 0.0f;
  float sigfsq = 0.0f;
  std::array<float, 3> refang{};
  float itag = 0.0f;
  float aux = 0.0f;
  std::int32_t batch = 0;   // SHELX columns 29-32; 0 for Zezor records
  std::uint32_t line = 0;   // line in the input file, from 1
  // SHELX without direction cosines: 2theta comes from the indices and the cell, and is
  // worked out when the record is filed (it is kept per index triple).
  bool tth_from_cell = false;
  // Worked out ahead by the parsing side when it had time to spare (see Resolver).
  bool resolved = false;
  std::array<int, 3> k{};  // the representative (sign-reversed under FRIEDEL NOFLIP)
  int isym = 0;            // the operator code of ASIND
  float tth_cell = 0.0f;   // 2theta from the cell, when tth_from_cell
};

// The representative of a measurement's indices, and its 2theta from the cell: functions of
// the indices alone within a run, which the reader would otherwise work out for every index
// triple it has not met before. The parsing side works them out ahead when it is well ahead
// of the reader (most triples are new early in a file, when the reader is the slower side).
class Resolver {
 public:
  explicit Resolver(const run::RunState& rs)
      : search_(rs.sg), cell_two_theta_(rs), noflip_(rs.ctl.INOFLIP == 1) {}

  // The representative k and operator code isym of indices h.
  void search(const std::array<int, 3>& h, std::array<int, 3>& k, int& isym) const {
    search_.find(h, k, isym);
    // Kept apart from its Friedel mate: the sign-reversed representative opens sets of its
    // own.
    if (isym < 0 && noflip_) k = {-k[0], -k[1], -k[2]};
  }
  // 2theta of indices h from the cell, 0 when it has none.
  float cell_tth(const std::array<int, 3>& h) const {
    float tth = 0.0f;
    int ierr = 0;
    cell_two_theta_(h, tth, ierr);
    return ierr != 0 ? 0.0f : tth;
  }
  void resolve(Measurement& m) const {
    search(m.h, m.k, m.isym);
    if (m.tth_from_cell) m.tth_cell = cell_tth(m.h);
    m.resolved = true;
  }

 private:
  const symmetry::RepresentativeSearch search_;
  const CellTwoTheta cell_two_theta_;
  const bool noflip_;
};

// negative_sigma: the record reads but its sigma is below zero, which no measurement has.
enum class Parsed { measurement, unreadable, negative_sigma, end_of_data, twinned };

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

// A spinning thread's pause between two looks at what it waits for.
void spin_pause() {
#if defined(__SSE2__)
  _mm_pause();
#endif
}

// Filed members wait in the reflection list itself, in reading order, until the sets are
// complete; then they are moved to their sets in place. Until then IHKL, which is filled
// from the indices as read (and, for member 1 of a new set, the representative) once the
// member is in its place, holds the member's set in two 16-bit halves; its line number
// gives its place in reading order.
void stage(run::Member& m, std::uint32_t set) {
  m.IHKL.v = {static_cast<std::int16_t>(static_cast<std::uint16_t>(set & 0xFFFFu)),
              static_cast<std::int16_t>(static_cast<std::uint16_t>(set >> 16)), 0};
}
std::uint32_t staged_set(const run::Member& m) {
  return static_cast<std::uint32_t>(static_cast<std::uint16_t>(m.IHKL.v[0])) |
         static_cast<std::uint32_t>(static_cast<std::uint16_t>(m.IHKL.v[1])) << 16;
}

// Steps 1 to 3 of one record: read it, and turn it into F squared, its sigma and the angles.
Parsed parse_record(const run::RunState& rs, std::string_view text, Measurement& m) {
  InputRecord r;
  if (rs.files.INFMT == 1) {
    if (!parse_shelx_record(text, r)) return Parsed::unreadable;
    // The 0 0 0 record closes a SHELX file; whatever follows it is not data.
    if (r.h[0] == 0 && r.h[1] == 0 && r.h[2] == 0) return Parsed::end_of_data;
    // A negative batch number marks a twin component of an HKLF 5 file.
    if (r.batch < 0) return Parsed::twinned;
    if (r.sigma < 0.0f) return Parsed::negative_sigma;
    m.h = r.h;
    m.fsq = r.value;
    m.sigfsq = r.sigma;
    m.itag = 0.0f;
    m.aux = 0.0f;
    m.batch = r.batch;
    // Without cosine columns (most files) the cosines read as zero: 2theta then comes from
    // the cell whenever the run can work it out.
    m.tth_from_cell = r.cosine_columns ? two_theta_source(rs, r.cosines) == TwoThetaSource::cell
                                       : rs.ctl.IBMAT != 0 && rs.ctl.ICELL != 0;
    if (m.tth_from_cell) {
      m.refang = {0.0f, 0.0f, 0.0f};
    } else {
      float tth = 0.0f;
      int ierr = 0;
      GET_2THETA(rs, r.cosines, r.h, tth, ierr);
      m.refang = {ierr == 0 ? tth : 0.0f, 0.0f, 0.0f};
    }
    return Parsed::measurement;
  }
  if (!parse_zezor_record(text, r)) return Parsed::unreadable;
  if (r.sigma < 0.0f) return Parsed::negative_sigma;
  m.h = r.h;
  m.tth_from_cell = false;
  // Zezor files hold amplitudes; a vanishing or negative F carries no intensity and gets a
  // unit sigma.
  if (r.value > 0.001f) {
    m.fsq = r.value * r.value;
    m.sigfsq = 2.0f * r.sigma * r.value;
  } else {
    m.fsq = 0.0f;
    m.sigfsq = 1.0f;
  }
  // An amplitude whose square overflows single precision cannot be averaged: the record is
  // as unusable as one that does not read.
  if (!std::isfinite(m.fsq) || !std::isfinite(m.sigfsq)) return Parsed::unreadable;
  m.refang = {r.angles[0], r.angles[1], r.angles[2]};
  m.itag = r.angles[3];
  m.aux = r.aux;
  m.batch = 0;
  return Parsed::measurement;
}

// The records of the input, parsed ahead in chunks on a thread of their own while the reader
// files the ones before; a reader that would wait for its next chunk parses a later one
// itself meanwhile. The lines of a chunk are taken from the input in turn (under the lock)
// and parsed apart, and the reader takes the chunks in reading order, so every message and
// every number is the one a record-by-record reading gives. Without a thread, the reader
// parses every chunk itself.
struct ParsedRecord {
  Parsed parsed = Parsed::measurement;
  Measurement m;  // with its line number
};

class RecordFeed {
 public:
  RecordFeed(const run::RunState& rs, std::istream& in, FaultAhead& fault_ahead,
             const Resolver& resolver)
      : rs_(rs), fault_ahead_(fault_ahead), resolver_(resolver), lines_(in) {
    for (Chunk& c : chunks_) c.records.reserve(CHUNK);
    try {
      worker_ = std::thread([this] { produce(); });
    } catch (const std::system_error&) {
      // Parsed by the reader alone.
    }
  }
  ~RecordFeed() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
  }
  RecordFeed(const RecordFeed&) = delete;
  RecordFeed& operator=(const RecordFeed&) = delete;

  // Whether the record next() gave last is its chunk's last: the chunk is given back with the
  // next call.
  bool chunk_done() const { return current_ != nullptr && position_ == current_->records.size(); }

  // The next record, or nullptr after the last (the end of the stream, the end-of-data
  // record or a twinned record ends the records). It stays valid until next() passes the end
  // of its chunk.
  const ParsedRecord* next() {
    for (;;) {
      if (current_ != nullptr) {
        if (position_ < current_->records.size()) return &current_->records[position_++];
        const bool last = current_->last;
        current_ = nullptr;
        release();
        if (last) return nullptr;
      }
      if (!take()) return nullptr;
      position_ = 0;
    }
  }

 private:
  static constexpr std::size_t CHUNK = 2048;
  // Enough chunks in hand to ride out a stall of either side (a fresh 2 MB page of the
  // member array is zeroed while the reader waits, in about a millisecond) without the other
  // side having to wait too.
  static constexpr std::size_t SLOTS = 12;
  // Each chunk, and below the reader's own state, on cache lines of its own: a parsing side
  // changes its chunk's vector with every record, and a line shared with what the reader
  // reads for every record would pass between the cores each time.
  static constexpr std::size_t LINE = 64;
  struct alignas(LINE) Chunk {
    std::string text;              // its lines, each ended by a line feed
    std::uint32_t first_line = 0;  // line number before its first line
    bool end_of_input = false;     // the input ends with this chunk
    std::vector<ParsedRecord> records;
    bool last = false;             // no records follow this chunk's
    bool ready = false;            // parsed (under the lock)
    // Set with `ready` (under the lock), and read by a reader that waits awake for it.
    std::atomic<bool> ready_seen{false};
    bool resolve = false;          // its measurements are to be resolved ahead too
    std::exception_ptr error;
  };

  // Copies the next lines of the input into `c`.
  void take_lines(Chunk& c) {
    c.text.clear();
    c.first_line = line_;
    const std::size_t taken = lines_.append_records(c.text, CHUNK);
    line_ += static_cast<std::uint32_t>(taken);
    c.end_of_input = taken < CHUNK;
  }

  // Parses the lines of `c` into its records. The records end at the end-of-data or a
  // twinned record.
  void parse(Chunk& c) {
    c.records.clear();
    c.last = c.end_of_input;
    std::uint32_t line = c.first_line;
    const char* p = c.text.data();
    const char* const e = p + c.text.size();
    while (p != e) {
      // Every line of the text ends in a line feed.
      const char* const end = find_line_feed(p, e);
      const std::string_view text(p, static_cast<std::size_t>(end - p));
      p = end + 1;
      ParsedRecord& r = c.records.emplace_back();
      r.parsed = parse_record(rs_, text, r.m);
      r.m.line = ++line;
      if (r.parsed == Parsed::end_of_data || r.parsed == Parsed::twinned) {
        c.last = true;
        return;
      }
    }
  }

  // Takes the lines of the next chunk when a slot is free and lines are left. Under the
  // lock; nullptr otherwise.
  Chunk* claim() {
    if (input_done_ || taken_ - consumed_ >= SLOTS) return nullptr;
    Chunk& c = chunks_[taken_ % SLOTS];
    // Half the chunks in hand or more: the reader is the slower side.
    c.resolve = taken_ - consumed_ >= SLOTS / 2;
    ++taken_;
    try {
      take_lines(c);
    } catch (...) {
      c.end_of_input = true;
      c.error = std::current_exception();
    }
    if (c.end_of_input) input_done_ = true;
    return &c;
  }

  // Parses a claimed chunk outside the lock (and resolves its measurements when asked), then
  // marks it ready.
  void finish(Chunk& c, bool resolve = false) {
    if (!c.error) {
      try {
        parse(c);
        if (resolve) {
          for (ParsedRecord& r : c.records) {
            if (r.parsed == Parsed::measurement) resolver_.resolve(r.m);
          }
        }
      } catch (...) {
        c.error = std::current_exception();
      }
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      c.ready = true;
      c.ready_seen.store(true, std::memory_order_release);
    }
    changed_.notify_all();
  }

  void produce() {
    for (;;) {
      Chunk* c = nullptr;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] {
          return stop_ || input_done_ || taken_ - consumed_ < SLOTS;
        });
        if (stop_ || input_done_) return;
        c = claim();
      }
      finish(*c, c->resolve);
      fault_ahead_.step();
    }
  }

  // Makes the next chunk current. False when there is none.
  bool take() {
    Chunk& next = chunks_[consumed_ % SLOTS];
    for (;;) {
      Chunk* own = nullptr;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        if (next.ready) break;
        if (input_done_ && taken_ == consumed_) return false;
        own = claim();
        if (own == nullptr) {
          // Its lines are taken: it is being parsed, and is mostly ready within a fraction of
          // a chunk's time. The reader waits for it awake for a while first: a thread put to
          // sleep is woken well after the chunk is ready.
          lock.unlock();
          wait_awake(next);
          lock.lock();
          changed_.wait(lock, [&next] { return next.ready; });
          break;
        }
      }
      finish(*own);
    }
    if (next.error) std::rethrow_exception(next.error);
    current_ = &next;
    return true;
  }

  // Returns once `c` is ready, or after about the time a chunk takes to parse.
  static void wait_awake(const Chunk& c) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(300);
    for (int i = 1; !c.ready_seen.load(std::memory_order_acquire); ++i) {
      spin_pause();
      if (i % 64 == 0 && std::chrono::steady_clock::now() > until) return;
    }
  }

  void release() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      chunks_[consumed_ % SLOTS].ready = false;
      chunks_[consumed_ % SLOTS].ready_seen.store(false, std::memory_order_relaxed);
      chunks_[consumed_ % SLOTS].error = nullptr;
      ++consumed_;
    }
    changed_.notify_all();
  }

  // The parsing side.
  const run::RunState& rs_;
  FaultAhead& fault_ahead_;
  const Resolver& resolver_;
  LineSource lines_;          // under the lock
  std::uint32_t line_ = 0;    // under the lock
  std::array<Chunk, SLOTS> chunks_;
  // The reading side.
  alignas(LINE) Chunk* current_ = nullptr;
  std::size_t position_ = 0;
  // Shared, under the mutex.
  alignas(LINE) std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t taken_ = 0;     // chunks whose lines were taken
  std::size_t consumed_ = 0;  // chunks the reader is done with
  bool input_done_ = false;   // the input's last lines were taken
  bool stop_ = false;
  std::thread worker_;        // last: started once everything above is in place
};

// Overlapping twin components cannot be merged into one intensity per reflection.
constexpr std::string_view TWINNED_DATA_MESSAGE =
    "Data are twinned (HKLF 5, negative batch number) and cannot be averaged: record";

std::string i5(int n) { return records::format_I(n, 5); }

// Room for the members of a file of `bytes` bytes: the shortest usual record (a SHELX record
// without batch number, 28 columns and a line end) bounds the count. Only the part that is
// filled is ever touched.
std::size_t expected_records(std::size_t bytes, int infmt) {
  return bytes / (infmt == 1 ? 29 : 60) + 16;
}

run::Indices narrow(const std::array<int, 3>& h) {
  if (!HklCache::packable(h)) throw std::logic_error("indices beyond the input fields");
  return run::Indices(h);
}

// Reflections, sets and members of a set are counted in int throughout the run.
constexpr std::size_t MAX_COUNT = 2147483647;

class Reader {
 public:
  Reader(run::RunState& rs, const ReadLimits& limits)
      : rs_(rs), limits_(limits), list_(rs.refl), zezor_(rs.files.INFMT != 1), resolver_(rs) {}

  void run();

 private:
  // Steps 4 to 8 for one measurement. False after a fatal error.
  bool file(Pending& p);
  // Files the pending batch in order. False after a fatal error.
  bool flush();
  // The representative of p's indices (and its 2theta from the cell, when the record takes
  // it from there), from the parsing side when it worked them out.
  void search(Pending& p) const;
  // Sets already in the list: their members set aside before the reading, their
  // representatives in the set index once it is made.
  void set_aside_existing_sets();
  void index_existing_sets();
  // Members into the reflection list, each set's members together in reading order.
  void place_members();

  run::RunState& rs_;
  const ReadLimits& limits_;
  run::ReflectionList& list_;
  const bool zezor_;
  const Resolver resolver_;
  SetIndex index_;
  HklCache cache_;
  // Members this reading adds to every set, counted once the reading is done (a count raised
  // per record would wait for memory at random places); sets already in the list have theirs
  // in `existing_members_`. One entry per set from the start.
  std::vector<int> neq_;
  // AUXVAL of the sets opened by this reading: the sets themselves are made once their number
  // is known, in one allocation.
  std::vector<float> new_set_aux_;
  std::vector<run::Indices> new_set_rep_;  // their representatives
  std::size_t existing_sets_ = 0;          // sets in the list before this reading
  run::LargeArray<run::Member> existing_members_;  // their members, set aside while reading
  SwappedReflections swapped_;
  std::array<Pending, BATCH> batch_;
  std::size_t pending_ = 0;
  int n_ = 0;  // records accepted so far
};

void Reader::set_aside_existing_sets() {
  // The list is empty at the start of a run; sets already present keep their places and
  // their members, and are found like new ones.
  existing_sets_ = list_.sets.size();
  neq_.assign(existing_sets_, 0);
  if (existing_sets_ > 0) existing_members_.swap(list_.members);
}

void Reader::index_existing_sets() {
  for (std::uint32_t s = 0; s < existing_sets_; ++s) {
    index_.insert(existing_members_[list_.sets[s].first].IHKL, s);
  }
}

bool Reader::file(Pending& p) {
  const Measurement& m = *p.m;
  n_ = n_ + 1;
  if (m.sigfsq < 0.00001f && m.fsq > 0.0001f) {
    run::fatal(rs_, "Reflection on line" + i5(n_) + " has sig = 0");
    return false;
  }
  // Storage grows with the data; only the counts themselves (int, like every count of the
  // run) bound it.
  if (list_.members.size() >= MAX_COUNT) {
    run::fatal(rs_, "PROGRAM HALTED - MORE THAN 2147483647 REFLECTIONS");
    return false;
  }
  run::Member member;
  member.hkl_read = narrow(m.h);
  member.batch = static_cast<std::int16_t>(m.batch);  // a four-column field
  member.line = m.line;
  member.FSQ = m.fsq;
  member.SIGFSQ = m.sigfsq;
  HklCache::Entry* entry = nullptr;
  if (p.cacheable) {
    entry = p.entry != nullptr && p.generation == cache_.generation() ? p.entry
                                                                      : cache_.find(p.packed);
  }
  std::uint32_t s = 0;
  if (entry != nullptr) {
    // Seen before: its set exists, and this is a later member of it.
    s = entry->set;
    if ((entry->key & HklCache::FRIEDEL) != 0 && rs_.ctl.INOFLIP != 1) {
      swapped_.add(m.h, limits_.max_swapped);
    }
  } else {
    if (!p.searched) search(p);
    const std::array<int, 3>& k = p.k;
    const int isym = p.isym;
    if (isym == 0) {
      run::fatal(rs_, "Error transforming reflection #" + i5(n_) + " Check SYMOP cards");
      return false;
    }
    // Reached through the Friedel mate and merged with it (without FRIEDEL NOFLIP): listed.
    if (isym < 0 && rs_.ctl.INOFLIP != 1) swapped_.add(m.h, limits_.max_swapped);
    s = index_.find(k);
    if (s == SetIndex::NOT_FOUND) {
      s = static_cast<std::uint32_t>(neq_.size());
      new_set_aux_.push_back(m.aux);
      new_set_rep_.push_back(narrow(k));  // member 1 carries the representative
      neq_.push_back(0);
      index_.insert(k, s);
    }
    if (p.cacheable) entry = &cache_.insert(p.packed, s, isym < 0 ? HklCache::FRIEDEL : 0);
  }
  float tth = m.refang[0];
  if (m.tth_from_cell) {
    if (entry != nullptr && (entry->key & HklCache::TTH_KNOWN) != 0) {
      tth = entry->tth;
    } else {
      if (p.tth_known) {
        tth = p.tth;
      } else {
        tth = resolver_.cell_tth(m.h);
      }
      if (entry != nullptr) {
        entry->key |= HklCache::TTH_KNOWN;
        entry->tth = tth;
      }
    }
  }
  member.REFANG = {std::fabs(tth)};
  if (zezor_) list_.record_angles.push_back({m.line, {m.refang[1], m.refang[2]}, m.itag});
  stage(member, s);
  list_.members.push_back(member);
  return true;
}

void Reader::search(Pending& p) const {
  const Measurement& m = *p.m;
  if (m.resolved) {
    p.k = m.k;
    p.isym = m.isym;
  } else {
    resolver_.search(m.h, p.k, p.isym);
  }
  p.searched = true;
  p.tth_known = m.tth_from_cell;
  if (p.tth_known) p.tth = m.resolved ? m.tth_cell : resolver_.cell_tth(m.h);
}

bool Reader::flush() {
  // Ahead of filing: the representatives (and 2theta from the cell) of indices the cache
  // does not know yet, with the slots of their sets requested from memory. (Indices met twice
  // in one batch are worked out twice; neither calculation has effects.)
  for (std::size_t i = 0; i < pending_; ++i) {
    Pending& p = batch_[i];
    p.searched = false;
    p.tth_known = false;
    p.entry = nullptr;
    if (p.cacheable) {
      p.entry = cache_.find(p.packed);
      p.generation = cache_.generation();
      if (p.entry != nullptr) continue;
    }
    search(p);
    index_.prefetch(p.k);
  }
  for (std::size_t i = 0; i < pending_; ++i) {
    if (!file(batch_[i])) {
      pending_ = 0;
      return false;
    }
  }
  pending_ = 0;
  return true;
}

void Reader::place_members() {
  // The lookup tables are done with: their memory goes before the sets are made.
  index_ = SetIndex();
  cache_ = HklCache();
  run::LargeArray<run::Member>& members = list_.members;
  list_.sets.reserve(neq_.size());
  for (float aux : new_set_aux_) {
    run::EquivSet set;
    set.AUXVAL = aux;
    list_.sets.push_back(set);
  }
  std::vector<float>().swap(new_set_aux_);
  const std::size_t nsets = list_.sets.size();
  // The members of each set, counted over the two halves of the list at once for a long
  // list (the second half's counts are added to the first's).
  std::vector<int> later_half;
  run::in_two_halves(members.size(), nsets >= run::TWO_HALVES_MIN,
                     [&](std::size_t from, std::size_t to) {
                       std::vector<int>& count = from == 0 ? neq_ : later_half;
                       if (from != 0) count.assign(nsets, 0);
                       for (std::size_t i = from; i < to; ++i) ++count[staged_set(members[i])];
                     });
  for (std::size_t s = 0; s < later_half.size(); ++s) neq_[s] += later_half[s];
  // Each set's new members take a stretch of the list, after the stretches of the sets before
  // it.
  std::vector<std::uint32_t> start(nsets + 1);
  std::uint32_t next = 0;
  for (std::size_t s = 0; s < nsets; ++s) {
    start[s] = next;
    next += static_cast<std::uint32_t>(neq_[s]);
  }
  start[nsets] = next;
  // Every member into its set's stretch, in place, by the bits of its set number from the
  // highest: the sets [lo, hi) form at most 64 groups of neighbouring sets, and a member found
  // outside its group's stretch is swapped with the one at that group's cursor. Few groups
  // keep every cursor's stream in the cache. Once a group's stretch holds exactly its members
  // it is placed set by set through a buffer when it is small (below), else divided the same
  // way; single sets then go back to reading order (line numbers rise with it) and get their
  // indices.
  auto order = [](const run::Member& a, const run::Member& b) { return a.line < b.line; };
  auto finish_set = [&](std::size_t s) {
    const auto first = members.begin() + static_cast<std::ptrdiff_t>(start[s]);
    const auto last = members.begin() + static_cast<std::ptrdiff_t>(start[s + 1]);
    if (last - first <= 16) {
      // Insertion sort: a set holds a handful of members. A member out of order is lifted
      // out once and the ones before it that follow it move up a place each.
      for (auto i = first + (first != last ? 1 : 0); i < last; ++i) {
        if (!order(*i, *(i - 1))) continue;
        const run::Member lifted = *i;
        auto j = i;
        do {
          *j = *(j - 1);
          --j;
        } while (j != first && order(lifted, *(j - 1)));
        *j = lifted;
      }
    } else {
      std::sort(first, last, order);
    }
    for (auto i = first; i != last; ++i) i->IHKL = i->hkl_read;
    // Member 1 of a set this reading opened holds the representative.
    if (s >= existing_sets_ && first != last) first->IHKL = new_set_rep_[s - existing_sets_];
  };
  // The shift of set numbers and the number of groups (at most 64) of a stretch of n sets.
  auto groups_of = [](std::size_t n) {
    const int shift = std::max(static_cast<int>(std::bit_width(n - 1)) - 6, 0);
    return std::pair<int, std::size_t>(shift, ((n - 1) >> shift) + 1);
  };
  // Divides the stretch of sets [lo, hi) into at most 64 groups; `then` is called with each
  // group's sets [a, b) once the group's stretch holds exactly its members.
  auto divide = [&](std::size_t lo, std::size_t hi, auto&& then) {
    const auto [shift, ngroups] = groups_of(hi - lo);
    std::array<std::uint32_t, 64> cursor{};
    std::array<std::uint32_t, 64> end{};
    for (std::size_t g = 0; g < ngroups; ++g) {
      cursor[g] = start[lo + (g << shift)];
      end[g] = start[std::min(lo + ((g + 1) << shift), hi)];
    }
    for (std::size_t g = 0; g < ngroups; ++g) {
      while (cursor[g] < end[g]) {
        const std::size_t t = (staged_set(members[cursor[g]]) - lo) >> shift;
        if (t == g) {
          ++cursor[g];
        } else {
          std::swap(members[cursor[g]], members[cursor[t]]);
          ++cursor[t];
          // The member that the next swap into this group will meet, requested ahead.
          if (cursor[t] + 16 < end[t]) __builtin_prefetch(&members[cursor[t] + 16], 1);
        }
      }
      then(lo + (g << shift), std::min(lo + ((g + 1) << shift), hi));
    }
  };
  // A group of sets whose members take up to a couple of megabytes is placed at once: its
  // members are copied to their sets' stretches of a buffer of the thread's own, in one pass,
  // and back. A larger one is divided further.
  constexpr std::size_t SCATTER_MAX = std::size_t{1} << 16;  // members
  struct Scatter {
    std::vector<run::Member> buffer;
    std::vector<std::uint32_t> cursor;
  };
  auto place = [&](auto& self, Scatter& own, std::size_t lo, std::size_t hi) -> void {
    const std::size_t first = start[lo];
    const std::size_t count = start[hi] - first;
    if (hi - lo == 1) {
      finish_set(lo);
    } else if (count > SCATTER_MAX) {
      divide(lo, hi, [&](std::size_t a, std::size_t b) { self(self, own, a, b); });
    } else {
      if (own.buffer.size() < count) own.buffer.resize(count);
      own.cursor.resize(hi - lo);
      for (std::size_t s = lo; s < hi; ++s) own.cursor[s - lo] = start[s] - start[lo];
      for (std::size_t i = first; i < first + count; ++i) {
        own.buffer[own.cursor[staged_set(members[i]) - lo]++] = members[i];
      }
      std::copy(own.buffer.begin(), own.buffer.begin() + static_cast<std::ptrdiff_t>(count),
                members.begin() + static_cast<std::ptrdiff_t>(first));
      for (std::size_t s = lo; s < hi; ++s) finish_set(s);
    }
  };
  if (nsets == 1) {
    finish_set(0);
  } else if (nsets > 1) {
    // The first division runs over the whole list, one group after another. A group's
    // stretch, once it holds exactly its members, is touched by no later step of the division
    // (the members left in the later stretches all belong to later groups), and the groups
    // touch disjoint stretches of the list. So for a long list a second thread places each
    // group as soon as it is complete, while the division goes on; this thread joins in
    // once the division is done. Each group is taken by one thread.
    const std::size_t ngroups = groups_of(nsets).second;
    std::array<std::pair<std::size_t, std::size_t>, 64> groups{};
    std::atomic<std::size_t> complete{0};  // groups complete, in order
    std::atomic<std::size_t> taken{0};     // groups taken by a placing thread
    auto place_complete_groups = [&] {
      Scatter own;
      for (std::size_t g = taken.fetch_add(1); g < ngroups; g = taken.fetch_add(1)) {
        // The division completes a group every few hundred microseconds.
        for (int i = 1; complete.load(std::memory_order_acquire) <= g; ++i) {
          spin_pause();
          if (i % 256 == 0) std::this_thread::yield();
        }
        place(place, own, groups[g].first, groups[g].second);
      }
    };
    std::future<void> helper;
    if (nsets >= run::TWO_HALVES_MIN) {
      try {
        helper = std::async(std::launch::async, place_complete_groups);
      } catch (const std::system_error&) {
        // All placed below, on this thread.
      }
    }
    std::size_t made = 0;
    divide(0, nsets, [&](std::size_t a, std::size_t b) {
      groups[made] = {a, b};
      complete.store(++made, std::memory_order_release);
    });
    place_complete_groups();
    if (helper.valid()) helper.get();
  }
  std::vector<run::Indices>().swap(new_set_rep_);
  if (existing_sets_ == 0) {
    for (std::size_t s = 0; s < nsets; ++s) {
      list_.sets[s].first = start[s];
      list_.sets[s].NEQ = neq_[s];
    }
    return;
  }
  // Sets that were in the list before keep their own members first, then the new ones.
  run::LargeArray<run::Member> merged;
  merged.reserve(existing_members_.size() + members.size());
  for (std::size_t s = 0; s < nsets; ++s) {
    run::EquivSet& set = list_.sets[s];
    const auto at = static_cast<std::uint32_t>(merged.size());
    if (s < existing_sets_) {
      const auto old_first = existing_members_.begin() + static_cast<std::ptrdiff_t>(set.first);
      merged.insert(merged.end(), old_first, old_first + set.NEQ);
    }
    merged.insert(merged.end(), members.begin() + static_cast<std::ptrdiff_t>(start[s]),
                  members.begin() + static_cast<std::ptrdiff_t>(start[s + 1]));
    set.first = at;
    set.NEQ = static_cast<int>(merged.size() - at);
  }
  members.swap(merged);
  run::LargeArray<run::Member>().swap(existing_members_);
  // Angle values of earlier readings come first; keep the side table in line order.
  std::stable_sort(list_.record_angles.begin(), list_.record_angles.end(),
                   [](const run::RecordAngles& x, const run::RecordAngles& y) {
                     return x.line < y.line;
                   });
}

void Reader::run() {
  std::istream* in = rs_.files.in.get();
  if (in == nullptr) {
    run::fatal(rs_, "Error on reading input datafile at line" + i5(1));
    return;
  }
  const std::size_t expected =
      expected_records(LineSource::remaining_size(*in), rs_.files.INFMT);
  set_aside_existing_sets();
  list_.members.reserve(list_.members.size() + expected);
  // The members' storage beyond what the list holds, faulted in ahead by the parsing thread.
  const std::size_t members_before = list_.members.size();
  FaultAhead fault_ahead(list_.members.data() + members_before,
                         (list_.members.capacity() - members_before) * sizeof(run::Member));
  auto filled = [&] { return (list_.members.size() - members_before) * sizeof(run::Member); };
  bool fatal = false;
  {
    RecordFeed feed(rs_, *in, fault_ahead, resolver_);
    // The tables start near the size a data set of this length usually needs (each
    // reflection measured as a few equivalents, each several times), so that they seldom
    // grow. They are made once the parsing has started.
    index_ = SetIndex(expected / 16);
    index_existing_sets();
    cache_ = HklCache(expected / 4);
    while (const ParsedRecord* record = feed.next()) {
      Pending& p = batch_[pending_];
      const Parsed parsed = record->parsed;
      p.m = &record->m;
      if (parsed == Parsed::end_of_data) break;
      if (parsed == Parsed::twinned) {
        fatal = true;
        if (flush()) run::fatal(rs_, std::string(TWINNED_DATA_MESSAGE) + i5(n_ + 1));
        break;
      }
      if (parsed == Parsed::unreadable || parsed == Parsed::negative_sigma) {
        // The records before it are filed first: a fatal error among them ends the reading
        // before this record is reached, and the warning counts them.
        if (!flush()) {
          fatal = true;
          break;
        }
        run::warn(rs_, "Error on reading input datafile at line" + i5(n_ + 1) +
                           (parsed == Parsed::negative_sigma ? ": negative sigma" : ""));
        continue;
      }
      p.cacheable = HklCache::packable(p.m->h);
      if (p.cacheable) {
        p.packed = HklCache::pack(p.m->h);
        cache_.prefetch(p.packed);
      }
      // The batch points into the feed's chunk: it is filed before the chunk is given back.
      const bool chunk_end = feed.chunk_done();
      if ((++pending_ == BATCH || chunk_end) && !flush()) {
        fatal = true;
        break;
      }
      if (chunk_end) fault_ahead.reader_at(filled());
    }
    if (!fatal && !flush()) fatal = true;
  }  // the parsing thread has stopped
  fault_ahead.give_back_beyond(filled());
  // What was filed, up to a fatal error, goes to its sets.
  place_members();
  if (!fatal) swapped_.report(rs_);
}

}  // namespace

void read_data(run::RunState& rs, const ReadLimits& limits) {
  Reader reader(rs, limits);
  reader.run();
}

void READ_DATA(run::RunState& rs) { read_data(rs, ReadLimits{}); }

}  // namespace vorlane::input
