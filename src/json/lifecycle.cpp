#include "COrvExtendJson.h"

COrvExtendJson::COrvExtendJson() { m_document.SetObject(); }

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
  // A fresh document rather than SetObject: the pool never frees a value on
  // its own, so only dropping the whole pool gives the old root's memory back.
  orv::Document fresh;
  fresh.SetObject();
  ReplaceRoot(fresh);
}

void COrvExtendJson::ReplaceRoot(orv::Document& fresh) {
  m_document.Swap(fresh);
  m_index.Reset();
}

long COrvExtendJson::Members() {
  if (m_document.IsObject()) return static_cast<long>(m_document.MemberCount());
  if (m_document.IsArray()) return static_cast<long>(m_document.Size());
  return 0;
}
