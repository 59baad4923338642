// Where a parse builds its document: the values of the open containers, in
// the order they were read, until each container ends.
#ifndef ORVJSON_SRC_JSON_VALUE_STACK_H
#define ORVJSON_SRC_JSON_VALUE_STACK_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "json_types.h"

namespace orv {
struct ValueStackTag;
}  // namespace orv

namespace rapidjson {

// RapidJSON lets only its documents make a value from parts (a block of
// items, a string's bytes), so the stack is declared as one: a document of
// our own kind in name only, with none of a document's members. It does what
// a document does as a parse's handler, with less work per value: a
// container's value takes the place of its first item instead of waiting
// below them, and a short string is made in one 16-byte step where the
// bytes after it may be read.
template <>
class GenericDocument<UTF8<>, orv::PoolAllocator, orv::ValueStackTag> {
 public:
  using ValueType = orv::Value;

  // Every container and long string is allocated from pool.
  explicit GenericDocument(orv::PoolAllocator& pool) : pool_(pool) {}
  GenericDocument(const GenericDocument&) = delete;
  GenericDocument& operator=(const GenericDocument&) = delete;
  ~GenericDocument() { orv::CheckedAllocator::Free(begin_); }

  // Each value is made where it goes: one made aside and moved in is written
  // in pieces and read back whole, which the processor cannot forward from
  // its stores (a fifth of a number-heavy load in the 32-bit DLL). Each
  // returns true, as a handler lets a parse go on.
  bool Null() { return Emplace(); }
  bool Bool(bool b) { return Emplace(b); }
  bool Int(int i) { return Emplace(i); }
  bool Uint(unsigned u) { return Emplace(u); }
  bool Int64(std::int64_t i) { return Emplace(i); }
  bool Uint64(std::uint64_t u) { return Emplace(u); }
  bool Double(double d) { return Emplace(d); }
  // A copy of length bytes at s.
  bool String(const char* s, SizeType length) { return Emplace(s, length, pool_); }

  // Whether a string of length bytes lives inside its value.
  static bool Inline(SizeType length) { return ValueType::ShortString::Usable(length); }
  // String() for an Inline() length when the 16 bytes from s may all be
  // read: they are loaded at once and those past the string cleared.
  bool InlineString(const char* s, SizeType length) {
#if defined(__SSE2__)
    // The slot first: a stack that grows in between would otherwise make
    // the compiler keep the value on the machine stack across the call.
    auto* const slot = reinterpret_cast<__m128i*>(Push());
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i kept = _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(length)),
                                        _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    _mm_storeu_si128(slot, _mm_or_si128(_mm_and_si128(bytes, kept), Tail(length)));
    return true;
#else
    return String(s, length);
#endif
  }

  // The last count values become the elements of an array, and the last
  // 2 * count (name and value by turns) the members of an object.
  bool EndArray(SizeType count) { return EndContainer<ValueType>(count, ValueType::kArrayFlag); }
  bool EndObject(SizeType count) { return EndContainer<ValueType::Member>(count, ValueType::kObjectFlag); }

  // The one value left when the parse is over.
  ValueType& Root() { return *begin_; }

 private:
  // The layout the stack writes values in, whole or in part.
  static_assert(sizeof(ValueType) == 16 && offsetof(ValueType::Flag, flags) == 14, "the flags end a 16-byte value");
  static_assert(offsetof(ValueType::ArrayData, size) == 0 && offsetof(ValueType::ArrayData, capacity) == 4 &&
                    offsetof(ValueType::ArrayData, elements) == 8 && offsetof(ValueType::ObjectData, size) == 0 &&
                    offsetof(ValueType::ObjectData, capacity) == 4 && offsetof(ValueType::ObjectData, members) == 8,
                "a container is its size, its capacity, its items and its flags");
  static_assert(sizeof(ValueType::Member) == 2 * sizeof(ValueType), "a member is a name and a value");
  static_assert(offsetof(ValueType::ShortString, str) == 0 && ValueType::ShortString::LenPos == 13,
                "a short string's bytes start the value and its length byte comes just before the flags");

  // The container's value takes the place of its first item once the items
  // are copied into the pool.
  template <typename Item>
  bool EndContainer(SizeType count, unsigned flags) {
    top_ = reinterpret_cast<ValueType*>(reinterpret_cast<Item*>(top_) - count);
    ValueType* const container = Push();  // grows only for an empty container
    internal::StorePointerValue(container, count, count,
                                internal::CopyIntoPool(reinterpret_cast<Item*>(container), count, pool_), flags);
    return true;
  }
  template <typename... Arguments>
  bool Emplace(Arguments&&... arguments) {
    new (Push()) ValueType(std::forward<Arguments>(arguments)...);
    return true;
  }
  ValueType* Push() {
    if (RAPIDJSON_UNLIKELY(top_ == end_)) Grow();
    return top_++;
  }
  // As RapidJSON's stack grows: 1 KiB first, then half as much again. Out
  // of line, as it is rare: inlined into every push, it made the parser's
  // step that stores a string too large to inline, a call with six saved
  // registers for each string.
  __attribute__((noinline)) void Grow() {
    const std::size_t size = static_cast<std::size_t>(top_ - begin_);
    const std::size_t capacity = static_cast<std::size_t>(end_ - begin_);
    const std::size_t grown = capacity == 0 ? 1024 / sizeof(ValueType) : capacity + (capacity + 1) / 2;
    if (grown > SIZE_MAX / sizeof(ValueType)) orv::ThrowBadAlloc();
    begin_ =
        static_cast<ValueType*>(allocator_.Realloc(begin_, capacity * sizeof(ValueType), grown * sizeof(ValueType)));
    top_ = begin_ + size;
    end_ = begin_ + grown;
  }

#if defined(__SSE2__)
  // What follows a short string of length bytes in its value: zeros, then
  // the byte that gives its length, then the flags.
  static __m128i Tail(SizeType length) {
    return _mm_insert_epi16(
        _mm_slli_si128(_mm_cvtsi32_si128(static_cast<int>(ValueType::ShortString::MaxSize - length)), 13),
        ValueType::kShortStringFlag, 7);
  }
#endif

  orv::PoolAllocator& pool_;
  orv::CheckedAllocator allocator_;
  ValueType* begin_ = nullptr;
  ValueType* top_ = nullptr;
  ValueType* end_ = nullptr;
};

}  // namespace rapidjson

namespace orv {

using ValueStack = rapidjson::GenericDocument<rapidjson::UTF8<>, PoolAllocator, ValueStackTag>;

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_VALUE_STACK_H
