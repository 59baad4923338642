#include "json_write.h"

#include <rapidjson/writer.h>

namespace orv {

bool WriteJsonText(const rapidjson::Value& value, rapidjson::StringBuffer& out) {
  rapidjson::Writer<rapidjson::StringBuffer> writer(out);
  return value.Accept(writer);
}

std::string JsonText(const rapidjson::Value& value) {
  rapidjson::StringBuffer buffer;
  if (!WriteJsonText(value, buffer)) return std::string();
  return std::string(buffer.GetString(), buffer.GetSize());
}

}  // namespace orv
