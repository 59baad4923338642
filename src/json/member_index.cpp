#include "member_index.h"

#include <functional>
#include <string_view>

namespace orv {
namespace {

std::size_t HashOf(const char* bytes, std::size_t length) {
  return std::hash<std::string_view>()(std::string_view(bytes, length));
}

}  // namespace

const Value* MemberIndex::FindIndexed(const Value& object, const char* key, std::size_t length) {
  CatchUp(object);
  const Value::Member* members = &*object.MemberBegin();
  if (next_ < first_.size() && first_[next_] && HasName(members[next_], key, length)) {
    return &members[next_++].value;
  }
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = HashOf(key, length) & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = slots_[slot];
    if (entry == 0) return nullptr;
    if (HasName(members[entry - 1], key, length)) {
      next_ = entry;
      return &members[entry - 1].value;
    }
  }
}

void MemberIndex::Reset() {
  std::vector<std::uint32_t>().swap(slots_);
  std::vector<bool>().swap(first_);
  names_ = 0;
  next_ = 0;
}

void MemberIndex::CatchUp(const Value& object) {
  const std::size_t count = object.MemberCount();
  if (count < first_.size()) Reset();  // cannot happen while the owner resets on every replace
  while (first_.size() < count) {
    // At most 60% full, so that a probe ends soon.
    if ((names_ + 1) * 5 > slots_.size() * 3) Grow(object);
    first_.push_back(Insert(object, first_.size()));
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

bool MemberIndex::Insert(const Value& object, std::size_t position) {
  const Value::Member* members = &*object.MemberBegin();
  const Value& name = members[position].name;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = HashOf(name.GetString(), name.GetStringLength()) & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = slots_[slot];
    if (entry == 0) {
      slots_[slot] = static_cast<std::uint32_t>(position + 1);
      ++names_;
      return true;
    }
    if (HasName(members[entry - 1], name.GetString(), name.GetStringLength())) return false;
  }
}

}  // namespace orv
