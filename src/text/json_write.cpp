#include "json_write.h"

namespace orv {

bool WriteJsonText(const Value& value, StringBuffer& out) {
  StringWriter writer(out);
  return value.Accept(writer);
}

std::string JsonText(const Value& value) {
  StringBuffer buffer;
  if (!WriteJsonText(value, buffer)) return std::string();
  return std::string(buffer.GetString(), buffer.GetSize());
}

}  // namespace orv
