// Where the objects behind handles live: fixed-size slots in regions of the
// address space below 2 GiB, so that every object's address is a positive
// 32-bit number. A handle is that address in a long, which is 32 bits on
// Windows (also 64-bit Windows) and in any host linked large-address-aware.
#ifndef ORVJSON_SRC_JSON_OBJECT_SLOTS_H
#define ORVJSON_SRC_JSON_OBJECT_SLOTS_H

#include <atomic>
#include <cstddef>
#include <cstdint>

#include <rapidjson/rapidjson.h>

namespace orv {

// Slots travel as numbers (a handle is one); this is where a number becomes a
// pointer again.
inline void* PointerTo(std::uintptr_t address) noexcept {
  return reinterpret_cast<void*>(address);  // NOLINT(performance-no-int-to-ptr)
}

// Each slot starts with a header of two 32-bit words: the link of the list of
// free slots, and a tag that says whether a live object follows. The tag is
// set when a slot is handed out and cleared when it is given back; slots are
// never returned to the system, so a stale handle still leads to readable
// memory whose tag says "gone". That makes a double release, or a call after
// release, detectable in the common case. It is a best effort only: a freed
// slot is handed out again to the next object, and a stale handle then names
// that new object.
class ObjectSlots {
 public:
  static constexpr std::size_t kHeaderBytes = 8;
  static constexpr std::size_t kSlotBytes = sizeof(void*) == 8 ? 256 : 128;
  static constexpr std::size_t kLargestObject = kSlotBytes - kHeaderBytes;
  static constexpr std::size_t kMaxRegions = 32;
  static_assert((kSlotBytes & (kSlotBytes - 1)) == 0, "slots are a power of two bytes");

  // A slot for an object of at most kLargestObject bytes, tagged live.
  // Throws std::bad_alloc when no slot is left below 2 GiB.
  static void* Take();
  // Clears the tag and lists the slot as free. object came from Take.
  static void Give(void* object) noexcept;
  // Whether object came from Take (live or not). Every release asks, so the
  // first region is checked inline.
  static bool Owns(const void* object) noexcept {
    const auto address = reinterpret_cast<std::uintptr_t>(object);
    const Region& first = regions_[0];
    const std::uintptr_t offset = address - first.begin;
    if (offset < first.end.load(std::memory_order_acquire) - first.begin &&
        (offset & (kSlotBytes - 1)) == kHeaderBytes) {
      return true;
    }
    return RegionOf(address) >= 0;
  }

  // Whether address is that of a live object in a slot. Never reads memory
  // outside the regions, so any number may be asked about. Every export
  // asks, so the first region is checked inline: one subtraction, one
  // comparison, one mask.
  static bool IsLive(std::uintptr_t address) noexcept {
    const Region& first = regions_[0];
    const std::uintptr_t end = first.end.load(std::memory_order_acquire);
    const std::uintptr_t offset = address - first.begin;
    if (RAPIDJSON_UNLIKELY(offset >= end - first.begin || (offset & (kSlotBytes - 1)) != kHeaderBytes) &&
        RegionOf(address) <= 0) {
      return false;
    }
    return TagAt(address).load(std::memory_order_acquire) == kLiveTag;
  }

  // Reserves the first region now, before a host can take the low address
  // space for itself (a DLL does this when it is loaded). Failure is left
  // for the first Take to report.
  static void ReserveEarly() noexcept;

 private:
  static constexpr std::uint32_t kLiveTag = 0x4A56524Fu;  // "ORVJ"

  struct Region {
    std::uintptr_t begin;             // the first slot
    std::atomic<std::uintptr_t> end;  // past the last slot handed out so far
    std::uintptr_t committed;         // past the last usable byte
    std::uintptr_t limit;             // past the last byte reserved
  };

  static std::atomic<std::uint32_t>& TagAt(std::uintptr_t object) noexcept {
    return *static_cast<std::atomic<std::uint32_t>*>(PointerTo(object - 4));
  }

  // The index of the region whose slots hold the object at address, or -1.
  static int RegionOf(std::uintptr_t address) noexcept {
    const unsigned count = regionCount_.load(std::memory_order_acquire);
    for (unsigned n = 0; n < count; ++n) {
      const Region& region = regions_[n];
      if (address >= region.begin + kHeaderBytes && address < region.end.load(std::memory_order_acquire) &&
          ((address - region.begin) & (kSlotBytes - 1)) == kHeaderBytes) {
        return static_cast<int>(n);
      }
    }
    return -1;
  }

  static bool AddRegion();

  static Region regions_[kMaxRegions];
  static std::atomic<unsigned> regionCount_;
};

// The platform's part: address space below 2 GiB, readable and writable.
// Reserve returns a block of at least bytes (a multiple of the page size),
// or 0; the block stays mapped for the life of the process.
std::uintptr_t ReserveLowMemory(std::size_t bytes) noexcept;
// Makes [address, address + bytes) of a reserved block usable; false when
// the system has no memory for it.
bool CommitLowMemory(std::uintptr_t address, std::size_t bytes) noexcept;

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_OBJECT_SLOTS_H
