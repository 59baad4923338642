#include "object_slots.h"

#include <mutex>
#include <new>

namespace orv {
namespace {

// The list of free slots: the address of the first free object in the low
// 32 bits (0: none), and in the high 32 bits a count of changes, so that a
// pop that raced with a pop and a push of the same slot fails its exchange.
std::atomic<std::uint64_t> g_free{0};
// Serialises growth: handing out fresh slots and adding regions.
std::mutex g_growth;

constexpr std::uint64_t kAddressBits = 0xFFFFFFFFu;
// Usable memory is made ready a megabyte at a time.
constexpr std::size_t kCommitStep = std::size_t{1} << 20;

std::atomic<std::uint32_t>& LinkAt(std::uintptr_t object) noexcept {
  return *static_cast<std::atomic<std::uint32_t>*>(PointerTo(object - ObjectSlots::kHeaderBytes));
}

std::uint64_t Changed(std::uint64_t head, std::uintptr_t first) noexcept {
  return ((head & ~kAddressBits) + (kAddressBits + 1)) | static_cast<std::uint64_t>(first);
}

// The first region is taken early and kept small on a 32-bit system, where
// address space is scarce; later ones are larger. A 64-bit system reserves
// address space only, which costs nothing until slots are used, so its first
// region is large enough for four million objects: the one region every
// handle check looks at first.
std::size_t RegionBytes(unsigned index) {
  if (sizeof(void*) == 8) return index == 0 ? std::size_t{1} << 30 : std::size_t{256} << 20;
  return index == 0 ? std::size_t{16} << 20 : std::size_t{64} << 20;
}

}  // namespace

ObjectSlots::Region ObjectSlots::regions_[kMaxRegions];
std::atomic<unsigned> ObjectSlots::regionCount_{0};

bool ObjectSlots::AddRegion() {
  const unsigned count = regionCount_.load(std::memory_order_relaxed);
  if (count == kMaxRegions) return false;
  // Below 2 GiB the space may be short: settle for less rather than nothing.
  for (std::size_t bytes = RegionBytes(count); bytes >= kCommitStep; bytes /= 2) {
    const std::uintptr_t base = ReserveLowMemory(bytes);
    if (base == 0) continue;
    Region& region = regions_[count];
    region.begin = base;
    region.end.store(base, std::memory_order_relaxed);
    region.committed = base;
    region.limit = base + bytes;
    regionCount_.store(count + 1, std::memory_order_release);
    return true;
  }
  return false;
}

void ObjectSlots::ReserveEarly() noexcept {
  std::lock_guard<std::mutex> lock(g_growth);
  if (regionCount_.load(std::memory_order_relaxed) == 0) AddRegion();
}

void* ObjectSlots::Take() {
  std::uint64_t head = g_free.load(std::memory_order_acquire);
  while ((head & kAddressBits) != 0) {
    const auto object = static_cast<std::uintptr_t>(head & kAddressBits);
    const std::uint32_t next = LinkAt(object).load(std::memory_order_relaxed);
    if (g_free.compare_exchange_weak(head, Changed(head, next), std::memory_order_acquire, std::memory_order_acquire)) {
      TagAt(object).store(kLiveTag, std::memory_order_release);
      return PointerTo(object);
    }
  }

  std::lock_guard<std::mutex> lock(g_growth);
  unsigned count = regionCount_.load(std::memory_order_relaxed);
  if (count == 0 || regions_[count - 1].end.load(std::memory_order_relaxed) + kSlotBytes > regions_[count - 1].limit) {
    if (!AddRegion()) throw std::bad_alloc();
    ++count;
  }
  Region& region = regions_[count - 1];
  const std::uintptr_t slot = region.end.load(std::memory_order_relaxed);
  if (slot + kSlotBytes > region.committed) {
    const std::size_t step =
        region.limit - region.committed < kCommitStep ? region.limit - region.committed : kCommitStep;
    if (!CommitLowMemory(region.committed, step)) throw std::bad_alloc();
    region.committed += step;
  }
  const std::uintptr_t object = slot + kHeaderBytes;
  TagAt(object).store(kLiveTag, std::memory_order_relaxed);
  // Published after the tag, so that whoever sees the slot sees its tag.
  region.end.store(slot + kSlotBytes, std::memory_order_release);
  return PointerTo(object);
}

void ObjectSlots::Give(void* pointer) noexcept {
  const auto object = reinterpret_cast<std::uintptr_t>(pointer);
  TagAt(object).store(0, std::memory_order_release);
  std::uint64_t head = g_free.load(std::memory_order_relaxed);
  do {
    LinkAt(object).store(static_cast<std::uint32_t>(head & kAddressBits), std::memory_order_relaxed);
  } while (
      !g_free.compare_exchange_weak(head, Changed(head, object), std::memory_order_release, std::memory_order_relaxed));
}

}  // namespace orv
