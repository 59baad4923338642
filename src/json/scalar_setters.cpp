#include <cstring>

#include "COrvExtendJson.h"
#include "limits.h"

void COrvExtendJson::CheckAppend(std::size_t length) const {
  orv::CheckRoomForMember(m_document.MemberCount());
  orv::StringLength(length);
}

void COrvExtendJson::AppendMember(const char* key, std::size_t length, Value& value) {
  if (!m_document.IsObject()) return;
  orv::CheckRoomForMember(m_document.MemberCount());
  auto& allocator = m_document.GetAllocator();
  Value name(key, orv::StringLength(length), allocator);
  m_document.AddMember(name, value, allocator);
}

void COrvExtendJson::AppendMember(const char* key, Value& value) {
  if (key != nullptr) AppendMember(key, std::strlen(key), value);
}

void COrvExtendJson::AppendString(const char* key, const char* data, std::size_t size) {
  // Checked first so that a refused member leaves nothing in the pool.
  if (key == nullptr || !m_document.IsObject()) return;
  Value text(data, orv::StringLength(size), m_document.GetAllocator());
  AppendMember(key, text);
}

void COrvExtendJson::SetValue(const char* key) {
  Value null;
  AppendMember(key, null);
}

void COrvExtendJson::SetValue(const char* key, int value) {
  Value number(value);
  AppendMember(key, number);
}

void COrvExtendJson::SetValue(const char* key, unsigned int value) {
  Value number(value);
  AppendMember(key, number);
}

void COrvExtendJson::SetValue(const char* key, bool value) {
  Value boolean(value);
  AppendMember(key, boolean);
}

void COrvExtendJson::SetValue(const char* key, float value) { SetValue(key, static_cast<double>(value)); }

void COrvExtendJson::SetValue(const char* key, double value) {
  Value number(value);
  AppendMember(key, number);
}

void COrvExtendJson::SetValue(const char* key, const char* value) {
  if (value != nullptr) AppendString(key, value, std::strlen(value));
}

void COrvExtendJson::SetValue(const char* key, const std::string& value) {
  AppendString(key, value.data(), value.size());
}
