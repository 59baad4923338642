// Access by index to the elements of an array root. Every index is checked:
// one outside 0 <= index < Members(), or a root that is not an array, is -1.
#include "COrvExtendJson.h"
#include "value_reads.h"

long COrvExtendJson::GetValue(int index, short& value) { return ReadElement<short, orv::ReadShortAt>(index, value); }

long COrvExtendJson::GetValue(int index, int& value) { return ReadElement<int, orv::ReadIntAt>(index, value); }

long COrvExtendJson::GetValue(int index, float& value) { return ReadElement<float, orv::ReadFloat>(index, value); }

long COrvExtendJson::GetValue(int index, double& value) { return ReadElement<double, orv::ReadDouble>(index, value); }

long COrvExtendJson::GetValue(int index, bool& value) { return ReadElement<bool, orv::ReadBool>(index, value); }

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
