// The RapidJSON types every part of the library uses, over an allocator that
// reports failure by throwing.
#ifndef ORVJSON_SRC_JSON_JSON_TYPES_H
#define ORVJSON_SRC_JSON_JSON_TYPES_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

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
  static void Free(void* pointer) { std::free(pointer); }

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
