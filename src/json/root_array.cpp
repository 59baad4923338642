// Access by index to the elements of an array root. Every index is checked:
// one outside 0 <= index < Members(), or a root that is not an array, is -1.
#include "COrvExtendJson.h"
#include "float_range.h"

const orv::Value* COrvExtendJson::ElementAt(int index) const {
  if (!m_document.IsArray() || index < 0 || static_cast<unsigned>(index) >= m_document.Size()) return nullptr;
  return &m_document[static_cast<rapidjson::SizeType>(index)];
}

long COrvExtendJson::GetValue(int index, short& value) {
  const Value* element = ElementAt(index);
  if (element == nullptr) return -1;
  if (element->IsInt()) {
    value = static_cast<short>(element->GetInt());  // the low 16 bits, by design
  } else if (element->IsBool()) {
    value = element->GetBool() ? 1 : 0;
  } else if (element->IsNull()) {
    value = 0;
  } else {
    return -1;
  }
  return 0;
}

long COrvExtendJson::GetValue(int index, int& value) {
  const Value* element = ElementAt(index);
  if (element == nullptr) return -1;
  if (element->IsInt()) {
    value = element->GetInt();
  } else if (element->IsBool()) {
    value = element->GetBool() ? 1 : 0;
  } else {
    return -1;
  }
  return 0;
}

long COrvExtendJson::GetValue(int index, float& value) {
  const Value* element = ElementAt(index);
  if (element == nullptr || !orv::IsInFloatRange(*element)) return -1;
  value = static_cast<float>(element->GetDouble());
  return 0;
}

long COrvExtendJson::GetValue(int index, double& value) {
  const Value* element = ElementAt(index);
  if (element == nullptr || !element->IsDouble()) return -1;
  value = element->GetDouble();
  return 0;
}

long COrvExtendJson::GetValue(int index, bool& value) {
  const Value* element = ElementAt(index);
  if (element == nullptr || !element->IsBool()) return -1;
  value = element->GetBool();
  return 0;
}

long COrvExtendJson::GetValue(int index, std::string& value) {
  const Value* element = ElementAt(index);
  if (element == nullptr || !element->IsString()) return -1;
  value = element->GetString();  // up to the first NUL byte
  return 0;
}

long COrvExtendJson::GetIsNULL(int index) {
  const Value* element = ElementAt(index);
  return element != nullptr && element->IsNull() ? 1 : -1;
}
