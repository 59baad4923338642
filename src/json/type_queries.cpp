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
  std::vector<OrvTagItem>& out = items.m_items;
  if (m_document.IsArray()) {
    orv::MakeRoomToAppend(out, m_document.Size());
    for (const Value& element : m_document.GetArray()) {
      out.push_back(OrvTagItem{std::string(), orv::ElementKind(element)});
    }
    return static_cast<long>(m_document.Size());
  }
  if (m_document.IsObject()) {
    orv::MakeRoomToAppend(out, m_document.MemberCount());
    for (const auto& member : m_document.GetObject()) {
      out.push_back(OrvTagItem{std::string(member.name.GetString()), MemberTypeCode(member.value)});
    }
    return static_cast<long>(m_document.MemberCount());
  }
  return 0;
}
