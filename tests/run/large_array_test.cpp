// The allocator of the arrays that grow with the data: an array that grows from the ordinary
// allocator's sizes into the huge-page placement keeps every element, each block goes back
// the way it came (a mismatch shows under the address sanitizer), and large blocks sit on
// 2 MB boundaries.
#include <gtest/gtest.h>

#include <cstdint>

#include "run/large_array.hpp"
#include "run/reflection_list.hpp"

namespace vorlane::run {
namespace {

TEST(LargeArray, GrowsAcrossTheThresholdKeepingEveryElement) {
  using Alloc = LargeArrayAllocator<Member>;
  LargeArray<Member> a;
  const std::size_t n = 3 * Alloc::THRESHOLD / sizeof(Member);  // several reallocations
  bool saw_small = false;
  for (std::size_t i = 0; i < n; ++i) {
    Member m;
    m.line = static_cast<std::uint32_t>(i);
    m.FSQ = static_cast<float>(i % 1000);
    a.push_back(m);
    const std::size_t bytes = a.capacity() * sizeof(Member);
    if (bytes < Alloc::THRESHOLD) saw_small = true;
    if (bytes >= Alloc::THRESHOLD) {
      ASSERT_EQ(reinterpret_cast<std::uintptr_t>(a.data()) % Alloc::PAGE, 0u) << i;
    }
  }
  EXPECT_TRUE(saw_small);
  for (std::size_t i = 0; i < n; ++i) {
    ASSERT_EQ(a[i].line, i);
    ASSERT_EQ(a[i].FSQ, static_cast<float>(i % 1000));
  }
  LargeArray<Member>().swap(a);  // the large block is given back
  EXPECT_EQ(a.capacity(), 0u);
}

}  // namespace
}  // namespace vorlane::run
