// The RapidJSON types every part of the library uses, over an allocator that
// reports failure by throwing.
#ifndef ORVJSON_SRC_JSON_JSON_TYPES_H
#define ORVJSON_SRC_JSON_JSON_TYPES_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <rapidjson/document.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "pool_allocator.h"

namespace orv {

// Out of line and cold, so that the allocation paths inlined into RapidJSON's
// hot loops stay as small as CrtAllocator's.
[[noreturn]] void ThrowBadAlloc();

// RapidJSON's CrtAllocator returns null when memory runs out, and RapidJSON
// then writes through that null pointer. This one throws std::bad_alloc
// instead, which unwinds cleanly: every RapidJSON buffer is owned by an
// object whose destructor frees it.
class CheckedAllocator {
 public:
  static const bool kNeedFree = true;
  void* Malloc(std::size_t size) {
    if (size == 0) return nullptr;
    return Checked(std::malloc(size));
  }
  void* Realloc(void* original, std::size_t, std::size_t newSize) {
    if (newSize == 0) {
      std::free(original);
      return nullptr;
    }
    return Checked(std::realloc(original, newSize));  // on failure original stays valid
  }
  // Most documents never parse, so their stack has nothing to free.
  static void Free(void* pointer) {
    if (pointer != nullptr) std::free(pointer);
  }

 private:
  static void* Checked(void* pointer) {
    if (RAPIDJSON_UNLIKELY(pointer == nullptr)) ThrowBadAlloc();
    return pointer;
  }
};

using Document = rapidjson::GenericDocument<rapidjson::UTF8<>, PoolAllocator, CheckedAllocator>;
using Value = rapidjson::GenericValue<rapidjson::UTF8<>, PoolAllocator>;
using Reader = rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>, CheckedAllocator>;
using StringBuffer = rapidjson::GenericStringBuffer<rapidjson::UTF8<>, CheckedAllocator>;

// A document with a pool of its own: a new root is built aside in one, and
// replaces an object's root only when it is complete, so that a failed load
// or copy leaves the object as it was.
struct StagedDocument {
  StagedDocument() = default;
  StagedDocument(const StagedDocument&) = delete;
  StagedDocument& operator=(const StagedDocument&) = delete;
  PoolAllocator pool;
  Document doc{&pool};
};

}  // namespace orv

namespace rapidjson {

// A parse builds every array, object and string through these three, which
// in RapidJSON copy through a call to memcpy even for a few bytes. Here the
// copies are inline: pieces of a fixed size, overlapping at the end.
namespace internal {

// Copies bytes (at least 16) from source to target, which do not overlap:
// containers' items and strings.
inline RAPIDJSON_FORCEINLINE void CopyValues(void* target, const void* source, std::size_t bytes) {
  auto* to = static_cast<char*>(target);
  const auto* from = static_cast<const char*>(source);
  if (bytes <= 32) {
    std::memcpy(to, from, 16);
    std::memcpy(to + bytes - 16, from + bytes - 16, 16);
  } else if (bytes <= 64) {
    std::memcpy(to, from, 32);
    std::memcpy(to + bytes - 32, from + bytes - 32, 32);
  } else if (bytes <= 128) {
    std::memcpy(to, from, 64);
    std::memcpy(to + bytes - 64, from + bytes - 64, 64);
  } else if (bytes <= 256) {
    std::memcpy(to, from, 128);
    std::memcpy(to + bytes - 128, from + bytes - 128, 128);
  } else {
    std::memcpy(to, from, bytes);
  }
}

// Copies length (at most 15) bytes from source to target. Where a caller
// passes a literal shorter than a word, GCC warns about the word copies on
// the path that such a length never takes.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#endif
inline RAPIDJSON_FORCEINLINE void CopyShort(char* target, const char* source, std::size_t length) {
  if (length >= 8) {
    std::memcpy(target, source, 8);
    std::memcpy(target + length - 8, source + length - 8, 8);
  } else if (length >= 4) {
    std::memcpy(target, source, 4);
    std::memcpy(target + length - 4, source + length - 4, 4);
  } else {
    for (std::size_t i = 0; i < length; ++i) target[i] = source[i];
  }
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

// The count elements or members of a finished container, moved into the
// pool by their bytes (null for none).
template <typename Item>
inline Item* CopyIntoPool(const Item* items, rapidjson::SizeType count, orv::PoolAllocator& allocator) {
  if (count == 0) return nullptr;
  auto* copies = static_cast<Item*>(allocator.Malloc(count * sizeof(Item)));
  CopyValues(copies, items, count * sizeof(Item));
  return copies;
}

// Writes a value that holds a pointer whole: its first two 32-bit fields
// (a container's size and capacity, a string's length and 0), the pointer
// and its flags in the last two bytes. A 64-bit build keeps the pointer in
// the six bytes beside the flags, and RapidJSON's way, storing the flags and
// then merging the pointer under them, reads the word back: a read the
// processor cannot forward from the smaller store of the flags, so it waits
// for that store to complete. Here nothing is read back.
inline void StorePointerValue(void* value, std::uint32_t first, std::uint32_t second, const void* pointer,
                              unsigned flags) {
#if UINTPTR_MAX <= 0xFFFFFFFFU
  // Four plain stores: building the 16 bytes in a vector register costs more here.
  const std::uint32_t words[] = {first, second, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer)),
                                 flags << 16};
  for (std::size_t i = 0; i < 4; ++i) std::memcpy(static_cast<char*>(value) + 4 * i, &words[i], 4);
#else
  const std::uint64_t low = first | std::uint64_t{second} << 32;
  const std::uint64_t high =
      static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer)) | std::uint64_t{flags} << 48;
#if defined(__SSE2__)
  _mm_storeu_si128(static_cast<__m128i*>(value),
                   _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low)));
#else
  std::memcpy(value, &low, sizeof low);
  std::memcpy(static_cast<char*>(value) + sizeof low, &high, sizeof high);
#endif
#endif
}

}  // namespace internal

template <>
inline void orv::Value::SetArrayRaw(GenericValue* values, SizeType count, orv::PoolAllocator& allocator) {
  internal::StorePointerValue(this, count, count, internal::CopyIntoPool(values, count, allocator), kArrayFlag);
}

template <>
inline void orv::Value::SetObjectRaw(Member* members, SizeType count, orv::PoolAllocator& allocator) {
  internal::StorePointerValue(this, count, count, internal::CopyIntoPool(members, count, allocator), kObjectFlag);
}

// A literal short enough for the value itself never takes the pool path, but
// GCC, having inlined both, warns about that path's copy all the same.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#pragma GCC diagnostic ignored "-Wstringop-overread"
#endif
// The parameter is by value because RapidJSON declares it so.
template <>
inline void orv::Value::SetStringRaw(StringRefType s,  // NOLINT(performance-unnecessary-value-param)
                                     orv::PoolAllocator& allocator) {
  if (ShortString::Usable(s.length)) {
    // The bytes go where a short string keeps them, at the start of the
    // value (named through the value itself, which GCC's bounds checks
    // follow better than the union member).
    static_assert(offsetof(ShortString, str) == 0, "a short string's bytes start the value");
    internal::CopyShort(reinterpret_cast<char*>(this), s.s, s.length);
    data_.ss.str[s.length] = '\0';
    data_.ss.SetLength(s.length);
    data_.f.flags = kShortStringFlag;
    return;
  }
  auto* str = static_cast<Ch*>(allocator.Malloc(s.length + 1));
  if (s.length >= 16) {
    internal::CopyValues(str, s.s, s.length);
  } else {
    internal::CopyShort(str, s.s, s.length);
  }
  str[s.length] = '\0';
  internal::StorePointerValue(this, s.length, 0, str, kCopyStringFlag);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

// RapidJSON gives an object room for 16 members (512 bytes) on its first
// AddMember. Parsed objects get their exact size, but most objects built by
// appending hold a few members: room for 2 first, then half as much again
// each time, as RapidJSON grows.
template <>
inline orv::Value& orv::Value::AddMember(orv::Value& name, orv::Value& value, orv::PoolAllocator& allocator) {
  RAPIDJSON_ASSERT(IsObject());
  RAPIDJSON_ASSERT(name.IsString());
  ObjectData& o = data_.o;
  if (o.size >= o.capacity) {
    const SizeType oldCapacity = o.capacity;
    o.capacity = oldCapacity == 0 ? 2 : oldCapacity + (oldCapacity + 1) / 2;
    SetMembersPointer(static_cast<Member*>(
        allocator.Realloc(GetMembersPointer(), oldCapacity * sizeof(Member), o.capacity * sizeof(Member))));
  }
  Member* members = GetMembersPointer();
  members[o.size].name.RawAssign(name);
  members[o.size].value.RawAssign(value);
  o.size++;
  return *this;
}

}  // namespace rapidjson

#endif  // ORVJSON_SRC_JSON_JSON_TYPES_H
