#pragma once
// Storage the reader fills from the front (the members' reserved array): the parsing thread,
// which has time to spare, faults its next page in ahead of the reader, so that the reader
// does not wait while the kernel clears fresh pages. Only advice to the kernel, which does not
// change what the storage holds; a page faulted beyond what the reader filled in the end is
// given back.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vorlane::input {

class FaultAhead {
 public:
  // One page of 2 MB (a huge page, where the system gives them) at a time, at most one ahead
  // of the reader. Storage that does not start on such a page is left alone.
  static constexpr std::size_t STEP = std::size_t{2} << 20;

  FaultAhead(void* begin, std::size_t bytes)
      : begin_(static_cast<char*>(begin)),
        bytes_(reinterpret_cast<std::uintptr_t>(begin) % STEP == 0 ? bytes : 0) {}

  // The reader has filled the first `bytes`.
  void reader_at(std::size_t bytes) { reader_.store(bytes, std::memory_order_relaxed); }

  // Faults in the next page when the reader has reached the page before it. One thread only.
  void step() {
#if defined(MADV_POPULATE_WRITE)
    const std::size_t reader = reader_.load(std::memory_order_relaxed);
    const std::size_t from = std::max(done_.load(std::memory_order_relaxed), reader / STEP * STEP);
    if (from >= bytes_ || from > reader + STEP) return;
    const std::size_t length = std::min(STEP, bytes_ - from);
    (void)::madvise(begin_ + from, length, MADV_POPULATE_WRITE);
    done_.store(from + length, std::memory_order_relaxed);
#endif
  }

  // Gives back the pages faulted in beyond the first `used` bytes, once the stepping thread
  // has stopped.
  void give_back_beyond(std::size_t used) {
#if defined(MADV_DONTNEED)
    const std::size_t page = 4096;
    const std::size_t from = (used + page - 1) / page * page;
    const std::size_t done = done_.load(std::memory_order_relaxed);
    if (done > from) (void)::madvise(begin_ + from, done - from, MADV_DONTNEED);
#else
    (void)used;
#endif
  }

 private:
  char* begin_ = nullptr;
  std::size_t bytes_ = 0;
  std::atomic<std::size_t> done_{0};
  std::atomic<std::size_t> reader_{0};
};

}  // namespace vorlane::input
