#include "COrvExtendJson.h"
#include "host_vectors.h"
#include "type_codes.h"

namespace {

using orv::ItemTypeCode;
using orv::MemberTypeCode;
using orv::Value;

// The code of the first element of a non-empty array, written to type; -1
// and type untouched for anything else.
long FirstElementType(const Value* array, int& type) {
  if (array == nullptr || !array->IsArray() || array->Empty()) return -1;
  type = ItemTypeCode((*array)[0]);
  return type;
}

}  // namespace

long COrvExtendJson::GetItemType(int index, int& type) {
  const Value* element = ElementAt(index);
  if (element == nullptr) return -1;
  type = ItemTypeCode(*element);
  return 0;
}

long COrvExtendJson::GetArryItemType(int index, int& type) { return FirstElementType(ElementAt(index), type); }

long COrvExtendJson::GetArryItemType(std::string key, int& type) {
  return FirstElementType(FindMemberValue(key.c_str()), type);
}

long COrvExtendJson::GetTagCollect(OrvVector& items) {
  long appended = 0;
  if (m_document.IsArray() || m_document.IsObject()) {
    orv::MakeRoomToAppend(items.m_items, m_document.IsArray() ? m_document.Size() : m_document.MemberCount());
  }
  if (m_document.IsArray()) {
    for (const Value& element : m_document.GetArray()) {
      items.m_items.push_back(OrvTagItem{std::string(), orv::ElementKind(element)});
      ++appended;
    }
  } else if (m_document.IsObject()) {
    for (const auto& member : m_document.GetObject()) {
      items.m_items.push_back(OrvTagItem{std::string(member.name.GetString()), MemberTypeCode(member.value)});
      ++appended;
    }
  }
  return appended;
}
