// The sizes a document can hold, and the checks that keep every size
// computation in RapidJSON from wrapping.
#ifndef ORVJSON_SRC_JSON_LIMITS_H
#define ORVJSON_SRC_JSON_LIMITS_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "json_types.h"

namespace orv {

// Deepest nesting of arrays and objects that a document may hold. Everything
// that walks a document (writing, copying) recurses once per level, so this
// bound keeps their stack use small even on a thread with a 1 MiB stack.
constexpr unsigned kMaxNestingDepth = 1000;

// RapidJSON keeps a string's length in 32 bits and allocates its bytes and
// the closing NUL with a 32-bit sum, so 2^32 - 1 bytes would allocate none.
// No single block may be larger than half the address space either (the
// pool adds its own header to a block's size).
constexpr std::size_t kMaxStringLength = std::min<std::size_t>(0xFFFFFFFEu, SIZE_MAX / 2);

// Elements of an array or members of an object, counted in 32 bits, whose
// block (16 or 32 bytes each) must fit in half the address space: on a
// 32-bit system the byte count of 2^28 elements would wrap to 0.
constexpr std::size_t kMaxElements = std::min<std::size_t>(0xFFFFFFFFu, SIZE_MAX / 2 / sizeof(Value));

// RapidJSON grows an object's members by half in 32 bits, which wraps past
// 2^32 * 2/3; appends stop well before that.
constexpr std::size_t kMaxAppendedMembers = std::min<std::size_t>(0x7FFFFFFFu, SIZE_MAX / 2 / sizeof(Value::Member));

// Each throws std::length_error, as the standard library does for a size
// beyond max_size(), before anything is allocated.
inline rapidjson::SizeType StringLength(std::size_t length) {
  if (length > kMaxStringLength) throw std::length_error("OrvJson: a key or string is longer than a document holds");
  return static_cast<rapidjson::SizeType>(length);
}

inline rapidjson::SizeType ElementCount(std::size_t count) {
  if (count > kMaxElements) throw std::length_error("OrvJson: more elements than an array holds");
  return static_cast<rapidjson::SizeType>(count);
}

inline void CheckRoomForMember(std::size_t members) {
  if (members >= kMaxAppendedMembers) throw std::length_error("OrvJson: more members than an object holds");
}

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_LIMITS_H
