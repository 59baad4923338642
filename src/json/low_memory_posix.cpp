// Low address space on POSIX systems: a mapping placed below 2 GiB, reserved
// without access and opened a step at a time.
#include <sys/mman.h>

#include "object_slots.h"

namespace orv {
namespace {

constexpr std::uintptr_t kTwoGiB = std::uintptr_t{1} << 31;

bool IsLow(const void* block, std::size_t bytes) {
  const auto address = reinterpret_cast<std::uintptr_t>(block);
  return address != 0 && address < kTwoGiB && bytes <= kTwoGiB - address;
}

}  // namespace

std::uintptr_t ReserveLowMemory(std::size_t bytes) noexcept {
  constexpr int kFlags = MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE;
  if (sizeof(void*) == 4) {
    void* block = mmap(nullptr, bytes, PROT_NONE, kFlags, -1, 0);
    if (block == MAP_FAILED) return 0;
    if (IsLow(block, bytes)) return reinterpret_cast<std::uintptr_t>(block);
    munmap(block, bytes);
    return 0;
  }
  // A 64-bit system places mappings far above 2 GiB unless asked for a
  // place: try the low gigabytes in turn, never over an existing mapping.
  for (std::uintptr_t hint = std::uintptr_t{1} << 28; hint + bytes <= kTwoGiB; hint += bytes) {
#ifdef MAP_FIXED_NOREPLACE
    void* block = mmap(PointerTo(hint), bytes, PROT_NONE, kFlags | MAP_FIXED_NOREPLACE, -1, 0);
#else
    void* block = mmap(PointerTo(hint), bytes, PROT_NONE, kFlags, -1, 0);
#endif
    if (block == MAP_FAILED) continue;
    // A kernel that does not know the flag takes the address as a hint only.
    if (IsLow(block, bytes)) return reinterpret_cast<std::uintptr_t>(block);
    munmap(block, bytes);
  }
  return 0;
}

bool CommitLowMemory(std::uintptr_t address, std::size_t bytes) noexcept {
  return mprotect(PointerTo(address), bytes, PROT_READ | PROT_WRITE) == 0;
}

}  // namespace orv
