// Handles: the address of a COrvExtendJson, carried in a long.
#ifndef ORVJSON_SRC_API_HANDLE_H
#define ORVJSON_SRC_API_HANDLE_H

#include <cstdint>

#include "../json/COrvExtendJson.h"
#include "../json/object_slots.h"

namespace orv {

inline long HandleOf(COrvExtendJson* object) {
  // Objects live below 2 GiB, so the address is a positive long everywhere.
  return static_cast<long>(reinterpret_cast<std::intptr_t>(object));
}

// The live object behind handle, or null: for 0 and negative handles, for
// numbers that never came from Create, and (in the common case) for a
// handle already released. Reads no memory but the library's own. The
// handle is checked whole (a long, or the C interface's intptr_t, wider on
// 64-bit Windows): one too large for a long lies outside every slot region,
// so the slot check refuses it with no compare of its own.
template <typename Handle>
inline COrvExtendJson* LiveObject(Handle handle) {
  if (handle <= 0) return nullptr;
  const auto address = static_cast<std::uintptr_t>(handle);
  if (!ObjectSlots::IsLive(address)) return nullptr;
  return reinterpret_cast<COrvExtendJson*>(address);  // NOLINT(performance-no-int-to-ptr)
}

// The object named by a handle variable the host points at: null for a
// variable holding 0 or anything but a live handle. Negative values name no
// object either; the caller tells them apart where they differ.
inline COrvBaseJson* ObjectAt(const void* handleVariable) {
  return LiveObject(*static_cast<const long*>(handleVariable));
}

// Runs call on the object behind handle and returns its result; -1 without
// calling anything when the handle names no live object.
template <typename Call>
long WithObject(long handle, Call call) {
  COrvExtendJson* object = LiveObject(handle);
  if (object == nullptr) return -1;
  return call(*object);
}

}  // namespace orv

#endif  // ORVJSON_SRC_API_HANDLE_H
