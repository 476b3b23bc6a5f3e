#pragma once
// The records of the input, parsed ahead in chunks on a thread of their own while the reader
// files the ones before; a reader that would wait for its next chunk parses a later one
// itself meanwhile. The lines of a chunk are taken from the input in turn (under the lock)
// and parsed apart, and the reader takes the chunks in reading order, so every message and
// every number is the one a record-by-record reading gives. Without a thread, the reader
// parses every chunk itself.
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <istream>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "input/fault_ahead.hpp"
#include "input/line_source.hpp"
#include "input/measurement.hpp"
#include "input/parse_record.hpp"

namespace vorlane::input {

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

  // The lines after the end-of-data record on line `end_line` (the record next() gave last),
  // read through to the end of the input: how many are not blank and how many of those read
  // as reflections, and whether the end was a blank line. The records end with it.
  struct Tail {
    std::uint32_t not_blank = 0;
    std::uint32_t reflections = 0;
    bool blank_end = false;
  };
  Tail tail_after(std::uint32_t end_line);

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

}  // namespace vorlane::input
