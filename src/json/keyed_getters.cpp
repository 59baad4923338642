#include <cstring>

#include "COrvExtendJson.h"
#include "value_reads.h"

const orv::Value* COrvExtendJson::FindMemberValue(const char* key) const {
  if (key == nullptr) return nullptr;
  return FindMember(key, rapidjson::internal::StrLen(key));
}

const orv::Value* COrvExtendJson::FindMember(const char* key, std::size_t length) const {
  if (!m_document.IsObject()) return nullptr;
  return m_index.Find(m_document, key, length);
}

namespace {

// The keyed getters: -1 for a missing member, and each its own answer for a
// member it refuses.
template <typename Out, typename Reader>
long ReadMember(const orv::Value* member, Out& out, Reader read, long refused) {
  if (member == nullptr) return -1;
  return read(*member, out) == orv::Read::kAccepted ? 0 : refused;
}

}  // namespace

long COrvExtendJson::GetValue(const char* key, int& value) {
  // int and std::int32_t are one type on every target.
  return ReadMember(FindMemberValue(key), value, orv::ReadInt, -1);
}

long COrvExtendJson::GetValue(const char* key, unsigned int& value) {
  return ReadMember(FindMemberValue(key), value, orv::ReadUint, 0);
}

long COrvExtendJson::GetValue(const char* key, float& value) {
  return ReadMember(FindMemberValue(key), value, orv::ReadFloat, 0);
}

long COrvExtendJson::GetValue(const char* key, double& value) {
  return ReadMember(FindMemberValue(key), value, orv::ReadDouble, 0);
}

long COrvExtendJson::GetValue(const char* key, bool& value) {
  return ReadMember(FindMemberValue(key), value, orv::ReadBool, 0);
}

long COrvExtendJson::GetValue(const char* key, std::string& value) {
  const Value* member = FindMemberValue(key);
  if (member == nullptr) return -1;
  // Assigning the C string delivers the bytes before the first NUL.
  if (member->IsString()) value = member->GetString();
  return 0;
}

long COrvExtendJson::GetIsNULL(const char* key) {
  const Value* member = FindMemberValue(key);
  return member != nullptr && member->IsNull() ? 1 : -1;
}
