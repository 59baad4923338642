#include "member_index.h"

#include <cstring>
#include <functional>
#include <string_view>

namespace orv {
namespace {

std::size_t HashOf(const char* bytes, std::size_t length) {
  return std::hash<std::string_view>()(std::string_view(bytes, length));
}

bool HasName(const Value::Member& member, const char* key, std::size_t length) {
  return member.name.GetStringLength() == length && std::memcmp(member.name.GetString(), key, length) == 0;
}

}  // namespace

const Value* MemberIndex::Find(const Value& object, const char* key, std::size_t length) {
  if (object.MemberCount() < kThreshold) {
    for (const auto& member : object.GetObject()) {
      if (HasName(member, key, length)) return &member.value;
    }
    return nullptr;
  }
  CatchUp(object);
  const Value::Member* members = &*object.MemberBegin();
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = HashOf(key, length) & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = slots_[slot];
    if (entry == 0) return nullptr;
    if (HasName(members[entry - 1], key, length)) return &members[entry - 1].value;
  }
}

void MemberIndex::Reset() {
  std::vector<std::uint32_t>().swap(slots_);
  indexed_ = 0;
  names_ = 0;
}

void MemberIndex::CatchUp(const Value& object) {
  const std::size_t count = object.MemberCount();
  if (count < indexed_) Reset();  // cannot happen while the owner resets on every replace
  for (; indexed_ < count; ++indexed_) {
    if ((names_ + 1) * 2 > slots_.size()) Grow(object);
    Insert(object, indexed_);
  }
}

void MemberIndex::Grow(const Value& object) {
  std::vector<std::uint32_t> old(slots_.size() < 64 ? 64 : slots_.size() * 2, 0);
  old.swap(slots_);
  names_ = 0;
  for (const std::uint32_t entry : old) {
    if (entry != 0) Insert(object, entry - 1);
  }
}

void MemberIndex::Insert(const Value& object, std::size_t position) {
  const Value::Member* members = &*object.MemberBegin();
  const Value& name = members[position].name;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = HashOf(name.GetString(), name.GetStringLength()) & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = slots_[slot];
    if (entry == 0) {
      slots_[slot] = static_cast<std::uint32_t>(position + 1);
      ++names_;
      return;
    }
    if (HasName(members[entry - 1], name.GetString(), name.GetStringLength())) return;  // an earlier member
  }
}

}  // namespace orv
