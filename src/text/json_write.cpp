#include "json_write.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "file_output.h"

namespace orv {

bool WriteJsonText(const Value& value, StringBuffer& out) {
  StringWriter writer(out);
  return value.Accept(writer);
}

std::string JsonText(const Value& value, std::size_t expected) {
  StringBuffer buffer;
  if (expected > 0) buffer.Reserve(expected);
  if (!WriteJsonText(value, buffer)) return std::string();
  return std::string(buffer.GetString(), buffer.GetSize());
}

bool HasJsonText(const Value& value) {
  // Only doubles can lack text; strings and the rest are not looked at.
  switch (value.GetType()) {
    case rapidjson::kNumberType:
      return !value.IsDouble() || std::isfinite(value.GetDouble());
    case rapidjson::kArrayType:
      for (const Value& element : value.GetArray()) {
        if (!HasJsonText(element)) return false;
      }
      return true;
    case rapidjson::kObjectType:
      for (const auto& member : value.GetObject()) {
        if (!HasJsonText(member.value)) return false;
      }
      return true;
    default:
      return true;
  }
}

bool WriteJsonFile(const Value& value, std::FILE* file) {
  // The output buffers already; the C runtime's buffer would copy it again.
  std::setvbuf(file, nullptr, _IONBF, 0);
  FileOutput output(file);
  FileWriter writer(output);
  const bool complete = value.Accept(writer);
  output.Flush();
  return complete && output.ok();
}

}  // namespace orv
