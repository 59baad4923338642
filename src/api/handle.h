// Handles: the address of a COrvExtendJson, carried in a long.
#ifndef ORVJSON_SRC_API_HANDLE_H
#define ORVJSON_SRC_API_HANDLE_H

#include <cstdint>

#include "../json/COrvExtendJson.h"

namespace orv {

static_assert(sizeof(long) >= sizeof(void*), "a handle must hold an object's address");

inline long HandleOf(COrvExtendJson* object) { return static_cast<long>(reinterpret_cast<std::intptr_t>(object)); }

inline COrvExtendJson* ObjectOf(long handle) {
  // A handle is an address by design.
  return reinterpret_cast<COrvExtendJson*>(static_cast<std::intptr_t>(handle));  // NOLINT(performance-no-int-to-ptr)
}

// The object named by a handle variable the host points at: null for a
// variable holding 0. A variable holding a negative value names no object
// either; the caller tells the two apart where they differ.
inline COrvBaseJson* ObjectAt(const void* handleVariable) {
  const long handle = *static_cast<const long*>(handleVariable);
  return handle > 0 ? ObjectOf(handle) : nullptr;
}

// Runs call on the object behind handle and returns its result; -1 without
// calling anything when the handle is 0 or negative.
template <typename Call>
long WithObject(long handle, Call call) {
  if (handle <= 0) return -1;
  return call(*ObjectOf(handle));
}

}  // namespace orv

#endif  // ORVJSON_SRC_API_HANDLE_H
