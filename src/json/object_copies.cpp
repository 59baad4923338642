// Copies between objects. A copy holds exactly what parsing the source's
// text gives and shares nothing with its source. Between two objects of this
// class the values are copied directly; any other implementation of the
// interface (a subclass included: it may make or load its text its own way)
// is reached through its text, loaded into (or written from) an object of
// this class on the way.
#include <cstring>
#include <typeinfo>

#include "COrvExtendJson.h"
#include "document_builder.h"
#include "limits.h"

namespace {

COrvExtendJson* SameClass(COrvBaseJson* object) {
  return typeid(*object) == typeid(COrvExtendJson) ? static_cast<COrvExtendJson*>(object) : nullptr;
}

}  // namespace

orv::Value COrvExtendJson::ImportObjectValue(COrvBaseJson& other, unsigned levelsAbove) {
  // The copy allocates from this document's pool, so its root can be moved
  // into place. It is complete before anything changes here, so an object
  // copied into itself gives its state before the call.
  orv::Document copy(&m_document.GetAllocator());
  // A source without text (NaN or infinity inside), or one nested so deep
  // that the copy would pass the nesting limit where it is placed, leaves
  // the root null, and null is what gets stored.
  const unsigned maxDepth = orv::kMaxNestingDepth - levelsAbove;
  if (const COrvExtendJson* own = SameClass(&other)) {
    orv::CopyJsonValue(copy, own->m_document, maxDepth);
  } else {
    COrvExtendJson loaded;
    if (loaded.LoadFromString(other.GetString()) == 0) orv::CopyJsonValue(copy, loaded.m_document, maxDepth);
  }
  Value value;
  value.Swap(copy);
  return value;
}

void COrvExtendJson::SetValue(const char* key, COrvBaseJson* source) {
  if (source != nullptr && key != nullptr) AppendCopy(key, std::strlen(key), *source);
}

bool COrvExtendJson::AppendCopy(const char* key, std::size_t length, COrvBaseJson& source) {
  if (!m_document.IsObject()) return false;
  CheckAppend(length);
  Value copy = ImportObjectValue(source, 1);
  AppendMember(key, length, copy);
  return true;
}

void COrvExtendJson::SetObjectArray(const char* key, std::vector<COrvBaseJson*>& objects) {
  if (key == nullptr || !m_document.IsObject()) return;
  auto& allocator = m_document.GetAllocator();
  std::size_t count = 0;
  for (const COrvBaseJson* object : objects) count += object != nullptr ? 1 : 0;
  Value array(rapidjson::kArrayType);
  array.Reserve(orv::ElementCount(count), allocator);
  for (COrvBaseJson* object : objects) {
    if (object != nullptr) array.PushBack(ImportObjectValue(*object, 2), allocator);
  }
  AppendMember(key, array);
}

long COrvExtendJson::CopyOut(const Value& value, COrvBaseJson& target, bool clearFirst) {
  if (COrvExtendJson* own = SameClass(&target)) {
    // Copied before the target changes: the target may be this object.
    orv::StagedDocument copy;
    const bool copied = orv::CopyJsonValue(copy.doc, value);
    if (!copied && !clearFirst) return -1;  // the target stays as it was
    if (!copied) copy.doc.SetObject();      // as a cleared target whose load failed
    own->ReplaceRoot(copy);
    return copied ? 0 : -1;
  }
  // Through the text of an object of this class holding the copy.
  COrvExtendJson copy;
  if (!orv::CopyJsonValue(copy.m_document, value)) copy.m_document.SetNull();
  const std::string text = copy.m_document.IsNull() ? std::string() : copy.GetString();
  if (clearFirst) target.Clear();
  return target.LoadFromString(text);
}

long COrvExtendJson::GetValue(const char* key, COrvBaseJson* target) {
  if (target == nullptr) return -1;
  const Value* member = FindMemberValue(key);
  if (member == nullptr || !(member->IsArray() || member->IsObject())) return -1;
  return CopyOut(*member, *target, true);
}

long COrvExtendJson::GetValue(int index, COrvBaseJson* target) {
  const Value* element = ElementAt(index);
  if (target == nullptr || element == nullptr || !element->IsObject()) return -1;
  return CopyOut(*element, *target, false);
}
