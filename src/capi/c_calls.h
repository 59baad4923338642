// What every function of the C interface shares: the handle check, argument
// checks, and the rule that no C++ exception leaves a C function.
#ifndef ORVJSON_SRC_CAPI_C_CALLS_H
#define ORVJSON_SRC_CAPI_C_CALLS_H

#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "../api/handle.h"
#include "../json/value_reads.h"
#include "orvjson_c.h"

namespace orv {

// Runs body, turning the exceptions the library can raise into results.
template <typename Body>
std::int32_t Guarded(Body body) noexcept {
  try {
    return body();
  } catch (const std::length_error&) {
    return ORVJSON_TOO_LARGE;
  } catch (...) {
    // std::bad_alloc, and the system errors of a lock that cannot be had.
    return ORVJSON_NO_MEMORY;
  }
}

// Runs body on the live object behind handle.
template <typename Body>
std::int32_t OnObject(orvjson_handle handle, Body body) noexcept {
  COrvExtendJson* object = LiveObject(handle);
  if (object == nullptr) return ORVJSON_BAD_HANDLE;
  return Guarded([&] { return body(*object); });
}

// length bytes at data can be read: not null, and not running past the end
// of memory. (A length of 0 still needs a pointer.)
inline bool IsReadable(const void* data, std::size_t length) {
  return data != nullptr && length <= UINTPTR_MAX - reinterpret_cast<std::uintptr_t>(data);
}

// A buffer of capacity bytes can be written; null only with a capacity of
// 0, to ask for the size needed.
inline bool IsWritable(const void* buffer, std::size_t capacity) {
  return capacity == 0 || IsReadable(buffer, capacity);
}

inline std::int32_t ResultOf(Read read) {
  switch (read) {
    case Read::kAccepted:
      return ORVJSON_OK;
    case Read::kOutOfRange:
      return ORVJSON_OUT_OF_RANGE;
    default:
      return ORVJSON_WRONG_KIND;
  }
}

// memcpy of a large block, without glibc's `rep movsb`: on some AMD
// processors that runs at a tenth of its speed when the destination lies
// above the source at the same offset within a 4 KiB page, which is how a
// caller's buffer and a text just written usually lie.
inline void CopyLarge(char* to, const char* from, std::size_t length) {
#if defined(__SSE2__)
  constexpr std::size_t kBlock = 64;
  std::size_t at = 0;
  for (; at + kBlock <= length; at += kBlock) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + at));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + at + 16));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + at + 32));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + at + 48));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + at), a);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + at + 16), b);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + at + 32), c);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + at + 48), d);
  }
  std::memcpy(to + at, from + at, length - at);
#else
  std::memcpy(to, from, length);
#endif
}

// Copies length bytes into the caller's buffer as the interface promises:
// all of them, or (with too small a buffer) none; a NUL after them when
// there is room. *written is always the length.
inline std::int32_t CopyOut(const char* data, std::size_t length, char* buffer, std::size_t capacity,
                            std::size_t* written) {
  *written = length;
  if (capacity < length) return ORVJSON_BUFFER_TOO_SMALL;
  if (length >= 4096) {
    CopyLarge(buffer, data, length);
  } else if (length > 0) {
    std::memcpy(buffer, data, length);
  }
  if (capacity > length) buffer[length] = '\0';
  return ORVJSON_OK;
}

}  // namespace orv

#endif  // ORVJSON_SRC_CAPI_C_CALLS_H
