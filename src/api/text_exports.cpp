#include "handle.h"

using orv::WithObject;

ORVJSON_API long LoadJsonFile(long handle, const char* path, int& hasBom) {
  return WithObject(handle, [&](COrvExtendJson& o) { return o.LoadJsonFile(path, hasBom); });
}

ORVJSON_API long LoadFromString(long handle, const std::string& text) {
  return WithObject(handle, [&](COrvExtendJson& o) { return o.LoadFromString(text); });
}

ORVJSON_API long WriteToFile(long handle, const std::string& path) {
  return WithObject(handle, [&](COrvExtendJson& o) { return o.WriteToFile(path); });
}

ORVJSON_API std::string GetString(long handle) {
  COrvExtendJson* object = orv::LiveObject(handle);
  return object == nullptr ? std::string() : object->GetString();
}

ORVJSON_API std::string GetString(long handle, const std::string& key) {
  COrvExtendJson* object = orv::LiveObject(handle);
  return object == nullptr ? std::string() : object->GetString(key);
}
