#include "COrvExtendJson.h"

namespace {

using orv::Value;

// Item type codes: RapidJSON's type numbers for containers and strings, its
// flag bits for booleans and numbers, and 0 (its null type) for null.
int ItemTypeCode(const Value& v) {
  if (v.IsObject()) return OrvItemObject;
  if (v.IsBool()) return OrvItemBool;
  if (v.IsNumber()) {
    if (v.IsInt()) return OrvItemInt;
    if (v.IsUint()) return OrvItemUint;
    if (v.IsInt64()) return OrvItemInt64;
    if (v.IsUint64()) return OrvItemUint64;
    return OrvItemDouble;
  }
  if (v.IsArray()) return OrvItemArray;
  if (v.IsString()) return OrvItemString;
  return OrvItemNull;
}

// Member type codes differ from item codes: strings are 1024, null is 32,
// and integers from 2^31 to 2^32-1 are 128.
int MemberTypeCode(const Value& v) {
  if (v.IsString()) return OrvMemberString;
  if (v.IsInt()) return OrvMemberIntOrNull;
  if (v.IsBool()) return OrvMemberBool;
  if (v.IsDouble()) return OrvMemberDouble;
  if (v.IsInt64()) return OrvMemberInt64;
  if (v.IsUint64()) return OrvMemberUint64;
  if (v.IsArray()) return OrvMemberArray;
  if (v.IsObject()) return OrvMemberObject;
  return OrvMemberIntOrNull;  // null
}

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
  if (m_document.IsArray()) {
    for (const Value& element : m_document.GetArray()) {
      static_assert(
          int{OrvElementNull} == int{rapidjson::kNullType} && int{OrvElementNumber} == int{rapidjson::kNumberType},
          "element kinds are RapidJSON's type numbers");
      items.m_items.push_back(OrvTagItem{std::string(), static_cast<int>(element.GetType())});
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
