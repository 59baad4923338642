#include <cstring>
#include <type_traits>

#include "COrvExtendJson.h"
#include "limits.h"

template <typename Number>
void COrvExtendJson::AppendNumberArray(const char* key, std::size_t length, const std::vector<Number>& values) {
  // Checked first so that a refused member leaves nothing in the pool.
  if (key == nullptr || !m_document.IsObject()) return;
  // Bytes and shorts widen to int (bytes stay unsigned, shorts keep their sign).
  using Stored = std::conditional_t<std::is_floating_point<Number>::value, double, int>;
  auto& allocator = m_document.GetAllocator();
  Value array(rapidjson::kArrayType);
  // The pool never frees, so growing step by step would leave every smaller
  // buffer behind.
  array.Reserve(orv::ElementCount(values.size()), allocator);
  for (const Number number : values) array.PushBack(Value(static_cast<Stored>(number)), allocator);
  AppendMember(key, length, array);
}

void COrvExtendJson::SetValue(const char* key, std::vector<unsigned char>& values) {
  if (key != nullptr) AppendNumberArray(key, std::strlen(key), values);
}

void COrvExtendJson::SetValue(const char* key, std::vector<short>& values) {
  if (key != nullptr) AppendNumberArray(key, std::strlen(key), values);
}

void COrvExtendJson::SetValue(const char* key, std::vector<int>& values) {
  if (key != nullptr) AppendNumberArray(key, std::strlen(key), values);
}

void COrvExtendJson::SetValue(const char* key, std::vector<double>& values) {
  if (key != nullptr) AppendNumberArray(key, std::strlen(key), values);
}

void COrvExtendJson::AddDoubleArray(const std::string& key, std::vector<double>& values) {
  AppendNumberArray(key.data(), key.size(), values);
}

void COrvExtendJson::AddIntArray(const std::string& key, std::vector<int>& values) {
  AppendNumberArray(key.data(), key.size(), values);
}

void COrvExtendJson::SetValue(const char* key, std::vector<std::string>& values) {
  if (key == nullptr || !m_document.IsObject()) return;
  auto& allocator = m_document.GetAllocator();
  Value array(rapidjson::kArrayType);
  array.Reserve(orv::ElementCount(values.size()), allocator);
  for (const std::string& text : values) {
    array.PushBack(Value(text.data(), orv::StringLength(text.size()), allocator), allocator);
  }
  AppendMember(key, array);
}
