#include <algorithm>

#include "COrvExtendJson.h"
#include "host_vectors.h"
#include "value_reads.h"

namespace {

using orv::Value;

// Appends every element of the member's array that accept() takes; stops at
// the first it refuses. Missing members, other kinds and empty arrays are -1
// with nothing appended. The elements are looked at before any is appended,
// so that room is made once for exactly those that will be.
template <typename Element, typename Accept, typename Convert>
long ReadArray(const Value* member, std::vector<Element>& out, Accept accept, Convert convert) {
  if (member == nullptr || !member->IsArray() || member->Empty()) return -1;
  const Value* const first = member->Begin();
  const Value* const end = member->End();
  const Value* const refused = std::find_if_not(first, end, accept);
  orv::MakeRoomToAppend(out, static_cast<std::size_t>(refused - first));
  for (const Value* element = first; element != refused; ++element) out.push_back(convert(*element));
  return refused == end ? 0 : -1;
}

bool IsIntBetween(const Value& v, int low, int high) {
  int ignored = 0;
  return orv::ReadIntBetween(v, low, high, ignored) == orv::Read::kAccepted;
}

}  // namespace

long COrvExtendJson::GetValue(const char* key, std::vector<unsigned char>& values) {
  return ReadArray(
      FindMemberValue(key), values, [](const Value& v) { return IsIntBetween(v, 0, 255); },
      [](const Value& v) { return static_cast<unsigned char>(v.GetInt()); });
}

long COrvExtendJson::GetValue(const char* key, std::vector<short>& values) {
  return ReadArray(
      FindMemberValue(key), values, [](const Value& v) { return IsIntBetween(v, -32768, 32767); },
      [](const Value& v) { return static_cast<short>(v.GetInt()); });
}

long COrvExtendJson::GetValue(const char* key, std::vector<int>& values) {
  return ReadArray(
      FindMemberValue(key), values, [](const Value& v) { return v.IsInt(); },
      [](const Value& v) { return v.GetInt(); });
}

long COrvExtendJson::GetValue(const char* key, std::vector<double>& values) {
  return ReadArray(
      FindMemberValue(key), values, [](const Value& v) { return v.IsDouble(); },
      [](const Value& v) { return v.GetDouble(); });
}

long COrvExtendJson::GetValue(const char* key, std::vector<std::string>& values) {
  // Each string up to its first NUL byte.
  return ReadArray(
      FindMemberValue(key), values, [](const Value& v) { return v.IsString(); },
      [](const Value& v) { return std::string(v.GetString()); });
}

long COrvExtendJson::GetObjectArray(const char* key, std::vector<COrvBaseJson*>& objects) {
  // The entries are plain addresses the caller owns; they are dropped, never released.
  objects.clear();
  const Value* member = FindMemberValue(key);
  return member != nullptr && member->IsArray() ? 0 : -1;
}
