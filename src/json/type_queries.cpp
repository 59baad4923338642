#include "COrvExtendJson.h"

namespace {

using orv::Value;

// Item type codes: RapidJSON's type numbers for containers and strings, its
// flag bits for booleans and numbers, and 0 (its null type) for null.
int ItemTypeCode(const Value& v) {
  if (v.IsObject()) return 3;
  if (v.IsBool()) return 8;
  if (v.IsNumber()) {
    if (v.IsInt()) return 32;
    if (v.IsUint()) return 64;
    if (v.IsInt64()) return 128;
    if (v.IsUint64()) return 256;
    return 512;
  }
  if (v.IsArray()) return 4;
  if (v.IsString()) return 5;
  return 0;
}

// Member type codes differ from item codes: strings are 1024, null is 32,
// and integers from 2^31 to 2^32-1 are 128.
int MemberTypeCode(const Value& v) {
  if (v.IsString()) return 1024;
  if (v.IsInt()) return 32;
  if (v.IsBool()) return 8;
  if (v.IsDouble()) return 512;
  if (v.IsInt64()) return 128;
  if (v.IsUint64()) return 256;
  if (v.IsArray()) return 4;
  if (v.IsObject()) return 3;
  return 32;
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
