// Memory that cannot be had is reported as std::bad_alloc, never used.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

#include <gtest/gtest.h>

#include "json/json_types.h"

namespace {

// More than any address space can hold, 32-bit or 64-bit.
const std::size_t kImpossible = static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max() - 4096);

}  // namespace

TEST(Allocation, AnImpossibleAllocationThrowsInsteadOfReturningNull) {
  orv::CheckedAllocator allocator;
  // Kept in a volatile so that the compiler cannot drop the allocation.
  void* volatile kept = nullptr;
  EXPECT_THROW(kept = allocator.Malloc(kImpossible), std::bad_alloc);
  EXPECT_EQ(kept, nullptr);
  EXPECT_EQ(allocator.Malloc(0), nullptr);
}

TEST(Allocation, AFailedGrowthKeepsTheOriginalBlock) {
  orv::CheckedAllocator allocator;
  char* block = static_cast<char*>(allocator.Malloc(16));
  std::memcpy(block, "still here", 11);
  EXPECT_THROW(allocator.Realloc(block, 16, kImpossible), std::bad_alloc);
  EXPECT_STREQ(block, "still here");
  orv::CheckedAllocator::Free(block);
}

TEST(Allocation, APoolThatCannotGrowThrowsAndStaysUsable) {
  orv::Document doc;
  doc.SetObject();
  EXPECT_THROW(doc.GetAllocator().Malloc(kImpossible), std::bad_alloc);
  orv::Value name("still usable", doc.GetAllocator());
  doc.AddMember(name, orv::Value(1), doc.GetAllocator());
  EXPECT_EQ(doc.MemberCount(), 1u);
}
