// A 32-bit host linked large-address-aware, which takes every free byte of
// address space below 2 GiB for itself before it creates a document: its
// handles still work (the library reserved its low region when it was
// loaded), stay positive, and when that region is full Create reports
// running out of memory, as both interfaces do, never with a handle that
// nothing takes back.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <new>
#include <vector>

#include "OrvJson.h"
#include "orvjson_c.h"

namespace {

int failures = 0;

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "failed: %s\n", what);
    ++failures;
  }
}

// Reserves every free range below 2 GiB; returns how many bytes.
std::uintptr_t TakeLowAddressSpace() {
  std::uintptr_t taken = 0, address = 0x10000;
  MEMORY_BASIC_INFORMATION info;
  while (address < 0x80000000u && VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info) == sizeof info) {
    const auto start = reinterpret_cast<std::uintptr_t>(info.BaseAddress);
    const std::uintptr_t end = start + info.RegionSize;
    if (info.State == MEM_FREE) {
      const std::uintptr_t aligned = (start + 0xFFFF) & ~std::uintptr_t{0xFFFF};
      const std::uintptr_t limit = end < 0x80000000u ? end : 0x80000000u;
      if (aligned < limit &&
          VirtualAlloc(reinterpret_cast<void*>(aligned), limit - aligned, MEM_RESERVE, PAGE_NOACCESS)) {
        taken += limit - aligned;
      }
    }
    address = end;
  }
  return taken;
}

}  // namespace

int main() {
  const std::uintptr_t taken = TakeLowAddressSpace();
  void* high = VirtualAlloc(nullptr, 1 << 20, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  Check(reinterpret_cast<std::uintptr_t>(high) >= 0x80000000u, "memory now comes from above 2 GiB");

  std::vector<long> handles;
  for (int n = 0; n < 1000; ++n) handles.push_back(Create());
  for (int n = 0; n < 1000; ++n) {
    const long h = handles[static_cast<std::size_t>(n)];
    Check(h > 0, "a handle is positive");
    Check(SetValue(h, "n", n) == 0 && SetValue(h, "text", std::string(500, 'x')) == 0, "a setter takes the handle");
    int value = -1;
    GetValue(h, "n", value);
    Check(value == n, "a getter reads through the handle");
  }
  // Until the region the library reserved at load time is full.
  bool refused = false;
  try {
    for (;;) handles.push_back(Create());
  } catch (const std::bad_alloc&) {
    refused = true;
  }
  Check(refused, "Create throws std::bad_alloc when no low slot is left");
  orvjson_handle none = 0;
  Check(orvjson_create(&none) == ORVJSON_NO_MEMORY && none == 0, "orvjson_create reports ORVJSON_NO_MEMORY");
  for (const long h : handles) Check(h > 0 && Release(h) == 0, "every handle is released");
  Check(Create() > 0, "a released slot is used again");
  std::printf("%u MiB of low address space taken; %u handles made and released\n", static_cast<unsigned>(taken >> 20),
              static_cast<unsigned>(handles.size()));
  return failures == 0 ? 0 : 1;
}
