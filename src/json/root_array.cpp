// Access by index to the elements of an array root. Every index is checked:
// one outside 0 <= index < Members(), or a root that is not an array, is -1.
#include "COrvExtendJson.h"
#include "value_reads.h"

const orv::Value* COrvExtendJson::ElementAt(int index) const {
  return index < 0 ? nullptr : Element(static_cast<std::size_t>(index));
}

namespace {

template <typename Out, typename Reader>
long ReadElement(const orv::Value* element, Out& out, Reader read) {
  return element != nullptr && read(*element, out) == orv::Read::kAccepted ? 0 : -1;
}

}  // namespace

long COrvExtendJson::GetValue(int index, short& value) {
  return ReadElement(ElementAt(index), value, orv::ReadShortAt);
}

long COrvExtendJson::GetValue(int index, int& value) { return ReadElement(ElementAt(index), value, orv::ReadIntAt); }

long COrvExtendJson::GetValue(int index, float& value) { return ReadElement(ElementAt(index), value, orv::ReadFloat); }

long COrvExtendJson::GetValue(int index, double& value) {
  return ReadElement(ElementAt(index), value, orv::ReadDouble);
}

long COrvExtendJson::GetValue(int index, bool& value) { return ReadElement(ElementAt(index), value, orv::ReadBool); }

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
