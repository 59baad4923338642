// Low address space on Windows: a free range below 2 GiB, found by walking
// the address space, reserved, and committed a step at a time. A 64-bit
// process, and a 32-bit one linked large-address-aware, would otherwise get
// addresses above 2 GiB.
#include <windows.h>

#include "object_slots.h"

namespace orv {
namespace {

constexpr std::uintptr_t kTwoGiB = std::uintptr_t{1} << 31;
constexpr std::uintptr_t kGranularity = 0x10000;  // where reservations may start

}  // namespace

std::uintptr_t ReserveLowMemory(std::size_t bytes) noexcept {
  std::uintptr_t address = kGranularity;
  MEMORY_BASIC_INFORMATION info;
  while (address < kTwoGiB && VirtualQuery(PointerTo(address), &info, sizeof info) == sizeof info) {
    const auto start = reinterpret_cast<std::uintptr_t>(info.BaseAddress);
    const std::uintptr_t end = start + info.RegionSize;
    if (info.State == MEM_FREE) {
      const std::uintptr_t aligned = (start + kGranularity - 1) & ~(kGranularity - 1);
      if (aligned < end && end - aligned >= bytes && aligned + bytes <= kTwoGiB) {
        void* block = VirtualAlloc(PointerTo(aligned), bytes, MEM_RESERVE, PAGE_READWRITE);
        if (block != nullptr) return reinterpret_cast<std::uintptr_t>(block);
      }
    }
    if (end <= address) break;
    address = end;
  }
  return 0;
}

bool CommitLowMemory(std::uintptr_t address, std::size_t bytes) noexcept {
  return VirtualAlloc(PointerTo(address), bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

}  // namespace orv
