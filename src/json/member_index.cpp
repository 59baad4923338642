#include "member_index.h"

#include <functional>
#include <mutex>
#include <string_view>

namespace orv {
namespace {

std::size_t HashOf(const char* bytes, std::size_t length) {
  return std::hash<std::string_view>()(std::string_view(bytes, length));
}

// Catching up is rare (once after each change), so the tables share a few
// locks instead of carrying one each.
std::mutex& LockFor(const void* index) {
  static std::mutex locks[16];
  return locks[(reinterpret_cast<std::uintptr_t>(index) >> 4) % 16];
}

}  // namespace

const Value* MemberIndex::FindIndexed(const Value& object, const char* key, std::size_t length) const {
  Table* table = table_.load(std::memory_order_acquire);
  if (table == nullptr || table->indexed.load(std::memory_order_acquire) != object.MemberCount()) {
    table = &CaughtUp(object);
  }
  const Value::Member* members = &*object.MemberBegin();
  const std::size_t next = table->next.load(std::memory_order_relaxed);
  if (next < object.MemberCount() && table->first[next] && HasName(members[next], key, length)) {
    table->next.store(next + 1, std::memory_order_relaxed);
    return &members[next].value;
  }
  const std::size_t mask = table->slots.size() - 1;
  for (std::size_t slot = HashOf(key, length) & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = table->slots[slot];
    if (entry == 0) return nullptr;
    if (HasName(members[entry - 1], key, length)) {
      table->next.store(entry, std::memory_order_relaxed);
      return &members[entry - 1].value;
    }
  }
}

void MemberIndex::Reset() noexcept {
  // The object is not shared while it changes: no other thread looks.
  Table* table = table_.load(std::memory_order_relaxed);
  if (table == nullptr) return;
  table_.store(nullptr, std::memory_order_relaxed);
  delete table;
}

MemberIndex::Table& MemberIndex::CaughtUp(const Value& object) const {
  std::lock_guard<std::mutex> lock(LockFor(this));
  Table* table = table_.load(std::memory_order_relaxed);
  if (table == nullptr) {
    table = new Table;
    table_.store(table, std::memory_order_release);
  }
  const std::size_t count = object.MemberCount();
  while (table->first.size() < count) {
    // At most 60% full, so that a probe ends soon.
    if ((table->names + 1) * 5 > table->slots.size() * 3) Grow(*table, object);
    table->first.push_back(Insert(*table, object, table->first.size()));
  }
  table->indexed.store(count, std::memory_order_release);
  return *table;
}

void MemberIndex::Grow(Table& table, const Value& object) {
  std::vector<std::uint32_t> old(table.slots.size() < 64 ? 64 : table.slots.size() * 2, 0);
  old.swap(table.slots);
  table.names = 0;
  for (const std::uint32_t entry : old) {
    if (entry != 0) Insert(table, object, entry - 1);
  }
}

bool MemberIndex::Insert(Table& table, const Value& object, std::size_t position) {
  const Value::Member* members = &*object.MemberBegin();
  const Value& name = members[position].name;
  const std::size_t mask = table.slots.size() - 1;
  for (std::size_t slot = HashOf(name.GetString(), name.GetStringLength()) & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = table.slots[slot];
    if (entry == 0) {
      table.slots[slot] = static_cast<std::uint32_t>(position + 1);
      ++table.names;
      return true;
    }
    if (HasName(members[entry - 1], name.GetString(), name.GetStringLength())) return false;
  }
}

}  // namespace orv
