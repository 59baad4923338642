// Keyed lookup among a root object's members in expected constant time.
#ifndef ORVJSON_SRC_JSON_MEMBER_INDEX_H
#define ORVJSON_SRC_JSON_MEMBER_INDEX_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "json_types.h"

namespace orv {

// A hash table of the position of the first member of each name. It holds
// positions, not pointers: RapidJSON moves the members when their array
// grows, and short names live inside the members. Members are only ever
// appended, so the table catches up with new ones at the next lookup; the
// owner resets it whenever the object is replaced. A small object is
// scanned instead, as RapidJSON's FindMember does. The table costs at most
// 16 bytes a member (4-byte slots, between a quarter and half full).
class MemberIndex {
 public:
  // The value of the first member of object whose name is exactly the
  // length bytes at key; null when there is none.
  const Value* Find(const Value& object, const char* key, std::size_t length);

  // Forgets the object: it was replaced.
  void Reset();

 private:
  static constexpr std::size_t kThreshold = 16;

  void CatchUp(const Value& object);
  void Grow(const Value& object);
  // Takes member position unless an earlier member has its name.
  void Insert(const Value& object, std::size_t position);

  std::vector<std::uint32_t> slots_;  // position + 1; 0 is an empty slot
  std::size_t indexed_ = 0;           // members looked at so far
  std::size_t names_ = 0;             // distinct names in the table
};

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_MEMBER_INDEX_H
