// The RapidJSON types every part of the library uses, over an allocator that
// reports failure by throwing.
#ifndef ORVJSON_SRC_JSON_JSON_TYPES_H
#define ORVJSON_SRC_JSON_JSON_TYPES_H

#include <cstddef>
#include <cstdlib>
#include <new>

#include <rapidjson/document.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace orv {

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
    if (pointer == nullptr) throw std::bad_alloc();
    return pointer;
  }
};

using PoolAllocator = rapidjson::MemoryPoolAllocator<CheckedAllocator>;
using Document = rapidjson::GenericDocument<rapidjson::UTF8<>, PoolAllocator, CheckedAllocator>;
using Value = rapidjson::GenericValue<rapidjson::UTF8<>, PoolAllocator>;
using Reader = rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>, CheckedAllocator>;
using StringBuffer = rapidjson::GenericStringBuffer<rapidjson::UTF8<>, CheckedAllocator>;
using StringWriter = rapidjson::Writer<StringBuffer, rapidjson::UTF8<>, rapidjson::UTF8<>, CheckedAllocator>;

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_JSON_TYPES_H
