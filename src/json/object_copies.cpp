// Copies between objects. They go through JSON text, so the copy shares
// nothing with its source and holds what parsing the source's text gives.
#include "../text/json_parse.h"
#include "../text/json_write.h"
#include "COrvExtendJson.h"

orv::Value COrvExtendJson::ImportObjectValue(COrvBaseJson& other, unsigned levelsAbove) {
  // Taken before anything changes here, so an object copied into itself
  // gives its state before the call.
  const std::string text = other.GetString();
  // The temporary document allocates from this document's pool, so its root
  // can be moved into place without a second, deep copy.
  orv::Document parsed(&m_document.GetAllocator());
  // Text that does not parse (a source holding NaN or infinity has none, and
  // one nested so deep that the copy would pass the nesting limit where it
  // is placed) leaves the root null, and null is what gets stored.
  orv::ParseJsonText(parsed, text.c_str(), text.size(), orv::kMaxNestingDepth - levelsAbove);
  Value copy;
  copy.Swap(parsed);
  return copy;
}

void COrvExtendJson::SetValue(const char* key, COrvBaseJson* source) {
  if (source == nullptr || key == nullptr || !m_document.IsObject()) return;
  Value copy = ImportObjectValue(*source, 1);
  AppendMember(key, copy);
}

void COrvExtendJson::SetObjectArray(const char* key, std::vector<COrvBaseJson*>& objects) {
  if (key == nullptr || !m_document.IsObject()) return;
  auto& allocator = m_document.GetAllocator();
  Value array(rapidjson::kArrayType);
  for (COrvBaseJson* object : objects) {
    if (object != nullptr) array.PushBack(ImportObjectValue(*object, 2), allocator);
  }
  AppendMember(key, array);
}

long COrvExtendJson::GetValue(const char* key, COrvBaseJson* target) {
  if (target == nullptr) return -1;
  const Value* member = FindMemberValue(key);
  if (member == nullptr || !(member->IsArray() || member->IsObject())) return -1;
  // The text is taken first: when the target is this object, clearing it
  // replaces the root that holds the member.
  const std::string text = orv::JsonText(*member);
  target->Clear();
  return target->LoadFromString(text);
}

long COrvExtendJson::GetValue(int index, COrvBaseJson* target) {
  const Value* element = ElementAt(index);
  if (target == nullptr || element == nullptr || !element->IsObject()) return -1;
  // A failed load leaves the target as it was, and is reported.
  return target->LoadFromString(orv::JsonText(*element));
}
