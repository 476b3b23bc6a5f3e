#pragma once
// An allocator for the few arrays that grow with the number of measurements (the members of
// the reflection list, the reader's lookup tables). Arrays of a few megabytes and more are
// placed on 2 MB boundaries and marked for transparent huge pages where the system offers
// them: a run then takes one page fault per 2 MB instead of one per 4 KB as the array fills.
// Smaller arrays come from the ordinary allocator.
#include <cstddef>
#include <cstdlib>
#include <vector>
#include <limits>
#include <memory>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vorlane::run {

template <class T>
struct LargeArrayAllocator {
  using value_type = T;

  static constexpr std::size_t PAGE = std::size_t{2} << 20;
  static constexpr std::size_t THRESHOLD = std::size_t{4} << 20;

  LargeArrayAllocator() noexcept = default;
  template <class U>
  LargeArrayAllocator(const LargeArrayAllocator<U>&) noexcept {}  // NOLINT

  T* allocate(std::size_t n) {
    // No array beyond half the address space (the largest object the system allows).
    if (n > std::numeric_limits<std::size_t>::max() / 2 / sizeof(T) - PAGE) {
      throw std::bad_array_new_length();
    }
    const std::size_t bytes = n * sizeof(T);
    if (bytes < THRESHOLD) return std::allocator<T>{}.allocate(n);
    const std::size_t rounded = (bytes + PAGE - 1) / PAGE * PAGE;
    // The aligned operator new (throws bad_alloc), paired with the aligned delete below: one
    // family of allocation functions on both paths.
    void* p = ::operator new(rounded, std::align_val_t{PAGE});
#if defined(MADV_HUGEPAGE)
    // Advice only: without huge pages the array works the same.
    (void)::madvise(p, rounded, MADV_HUGEPAGE);
#endif
    return static_cast<T*>(p);
  }

  void deallocate(T* p, std::size_t n) noexcept {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < THRESHOLD) {
      std::allocator<T>{}.deallocate(p, n);
    } else {
      ::operator delete(p, std::align_val_t{PAGE});
    }
  }

  template <class U>
  bool operator==(const LargeArrayAllocator<U>&) const noexcept {
    return true;
  }
};

template <class T>
using LargeArray = std::vector<T, LargeArrayAllocator<T>>;

}  // namespace vorlane::run
