#include "COrvExtendJson.h"
#include "object_slots.h"

static_assert(sizeof(COrvExtendJson) <= orv::ObjectSlots::kLargestObject, "an object must fit its slot");

void* COrvExtendJson::operator new(std::size_t size) {
  return size <= orv::ObjectSlots::kLargestObject ? orv::ObjectSlots::Take() : ::operator new(size);
}

void COrvExtendJson::operator delete(void* object) noexcept {
  if (orv::ObjectSlots::Owns(object)) {
    orv::ObjectSlots::Give(object);
  } else {
    ::operator delete(object);
  }
}

COrvExtendJson::COrvExtendJson() : m_document(rapidjson::kObjectType, &m_pool) {}

COrvExtendJson::~COrvExtendJson() {
  for (COrvBaseJson* child : m_children) delete child;
}

void COrvExtendJson::Test() {}

void COrvExtendJson::Destroy() {
  for (COrvBaseJson*& child : m_children) {
    delete child;
    child = nullptr;
  }
  m_children.clear();
  delete this;
}

void COrvExtendJson::Clear() {
  // The pool never frees a value on its own, so only emptying the whole pool
  // gives the old root's memory back. An empty object holds none of it.
  m_document.SetObject();
  m_pool.Clear();
  m_index.Reset();
}

void COrvExtendJson::ReplaceRoot(orv::StagedDocument& staged) noexcept {
  m_pool.Swap(staged.pool);
  static_cast<orv::Value&>(m_document).Swap(staged.doc);
  m_index.Reset();
}

long COrvExtendJson::Members() {
  if (m_document.IsObject()) return static_cast<long>(m_document.MemberCount());
  if (m_document.IsArray()) return static_cast<long>(m_document.Size());
  return 0;
}
