#include <cstring>

#include "COrvExtendJson.h"
#include "float_range.h"

const orv::Value* COrvExtendJson::FindMemberValue(const char* key) const {
  if (key == nullptr || !m_document.IsObject()) return nullptr;
  return m_index.Find(m_document, key, rapidjson::internal::StrLen(key));
}

long COrvExtendJson::GetValue(const char* key, int& value) {
  const Value* member = FindMemberValue(key);
  if (member == nullptr) return -1;
  if (member->IsNull()) {
    value = 0;
  } else if (member->IsInt()) {
    value = member->GetInt();
  } else {
    return -1;
  }
  return 0;
}

long COrvExtendJson::GetValue(const char* key, unsigned int& value) {
  const Value* member = FindMemberValue(key);
  if (member == nullptr) return -1;
  if (member->IsUint()) value = member->GetUint();
  return 0;
}

long COrvExtendJson::GetValue(const char* key, float& value) {
  const Value* member = FindMemberValue(key);
  if (member == nullptr) return -1;
  if (orv::IsInFloatRange(*member)) value = static_cast<float>(member->GetDouble());
  return 0;
}

long COrvExtendJson::GetValue(const char* key, double& value) {
  const Value* member = FindMemberValue(key);
  if (member == nullptr) return -1;
  if (member->IsDouble()) value = member->GetDouble();
  return 0;
}

long COrvExtendJson::GetValue(const char* key, bool& value) {
  const Value* member = FindMemberValue(key);
  if (member == nullptr) return -1;
  if (member->IsBool()) value = member->GetBool();
  return 0;
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
