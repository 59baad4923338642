// Keyed lookup among a root object's members in expected constant time.
#ifndef ORVJSON_SRC_JSON_MEMBER_INDEX_H
#define ORVJSON_SRC_JSON_MEMBER_INDEX_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "json_types.h"

namespace orv {

// A hash table of the position of the first member of each name. It holds
// positions, not pointers: RapidJSON moves the members when their array
// grows, and short names live inside the members. Members are only ever
// appended, so the table catches up with new ones at the next lookup; the
// owner resets it whenever the object is replaced. A small object is
// scanned instead, as RapidJSON's FindMember does.
//
// Lookups may run on several threads at once (reading one document from
// many threads is safe); changes to the object need it alone. The table is
// built lazily, so the first lookup after a change catches it up under a
// lock, and publishes how far it got; a lookup that sees the table complete
// reads it without locking.
//
// Reading every member in order (GetTagCollect, then each name) is the
// interface's own way to read a document, so a lookup first tries the
// member after the one found last: one comparison, no hashing, and no
// random access into a table larger than the cache.
//
// The table costs at most 14 bytes a member: 4-byte slots, between 30% and
// 60% full, and one bit per member that says whether it is the first of its
// name. An object below the threshold costs one pointer.
class MemberIndex {
 public:
  MemberIndex() = default;
  MemberIndex(const MemberIndex&) = delete;
  MemberIndex& operator=(const MemberIndex&) = delete;
  ~MemberIndex() {
    if (table_.load(std::memory_order_relaxed) != nullptr) Reset();
  }

  // The value of the first member of object whose name is exactly the
  // length bytes at key; null when there is none.
  const Value* Find(const Value& object, const char* key, std::size_t length) const {
    if (object.MemberCount() >= kThreshold) return FindIndexed(object, key, length);
    for (const auto& member : object.GetObject()) {
      if (HasName(member, key, length)) return &member.value;
    }
    return nullptr;
  }

  // Forgets the object: it was replaced. Needs the object alone.
  void Reset() noexcept;

 private:
  static constexpr std::size_t kThreshold = 16;

  struct Table {
    std::vector<std::uint32_t> slots;     // position + 1; 0 is an empty slot
    std::vector<bool> first;              // per member: the first of its name
    std::size_t names = 0;                // distinct names in the table
    std::atomic<std::size_t> indexed{0};  // members the table covers
    std::atomic<std::size_t> next{0};     // the member after the one found last
  };

  static bool HasName(const Value::Member& member, const char* key, std::size_t length) {
    if (member.name.GetStringLength() != length) return false;
    const char* name = member.name.GetString();
    if (length > 16) return std::memcmp(name, key, length) == 0;
    // Most names are short: comparing them here beats a call to memcmp.
    for (std::size_t i = 0; i < length; ++i) {
      if (name[i] != key[i]) return false;
    }
    return true;
  }

  const Value* FindIndexed(const Value& object, const char* key, std::size_t length) const;
  // The table, complete for object's members; built or extended under a lock.
  Table& CaughtUp(const Value& object) const;
  static void Grow(Table& table, const Value& object);
  // Takes member position unless an earlier member has its name; returns
  // whether it did.
  static bool Insert(Table& table, const Value& object, std::size_t position);

  mutable std::atomic<Table*> table_{nullptr};
};

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_MEMBER_INDEX_H
