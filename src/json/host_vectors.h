// Appending to a vector the host owns.
#ifndef ORVJSON_SRC_JSON_HOST_VECTORS_H
#define ORVJSON_SRC_JSON_HOST_VECTORS_H

#include <algorithm>
#include <cstddef>
#include <vector>

namespace orv {

// Makes room for extra more elements before they are appended one by one,
// so that a large array or root costs one allocation, not one per doubling
// with a copy of everything so far. A host may append to one vector call
// after call, so the room still at least doubles: reserving exactly what one
// call needs would copy the whole vector on every call. More than the vector
// can ever hold is left for the appends to refuse, as they always have.
template <typename T>
void MakeRoomToAppend(std::vector<T>& out, std::size_t extra) {
  const std::size_t size = out.size();
  if (extra <= out.capacity() - size) return;
  const std::size_t room = out.max_size() - size;
  if (extra > room) return;
  out.reserve(size + std::min(std::max(extra, size), room));
}

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_HOST_VECTORS_H
