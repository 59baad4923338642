#include "handle.h"

namespace {

// Every keyed setter export returns 0 once its handle is accepted.
template <typename... Value>
long Append(long handle, const char* key, Value&... value) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) {
    o.SetValue(key, value...);
    return 0L;
  });
}

}  // namespace

ORVJSON_API long SetValue(long handle, const char* key) { return Append(handle, key); }
ORVJSON_API long SetValue(long handle, const char* key, int value) { return Append(handle, key, value); }
ORVJSON_API long SetValue(long handle, const char* key, unsigned int value) { return Append(handle, key, value); }
ORVJSON_API long SetValue(long handle, const char* key, bool value) { return Append(handle, key, value); }
ORVJSON_API long SetValue(long handle, const char* key, float value) { return Append(handle, key, value); }
ORVJSON_API long SetValue(long handle, const char* key, double value) { return Append(handle, key, value); }
ORVJSON_API long SetValue(long handle, const char* key, const char* value) { return Append(handle, key, value); }
ORVJSON_API long SetValue(long handle, const char* key, const std::string& value) { return Append(handle, key, value); }
ORVJSON_API long SetValue(long handle, const char* key, std::vector<unsigned char>& values) {
  return Append(handle, key, values);
}
ORVJSON_API long SetValue(long handle, const char* key, std::vector<short>& values) {
  return Append(handle, key, values);
}
ORVJSON_API long SetValue(long handle, const char* key, std::vector<int>& values) {
  return Append(handle, key, values);
}
ORVJSON_API long SetValue(long handle, const char* key, std::vector<double>& values) {
  return Append(handle, key, values);
}
ORVJSON_API long SetValue(long handle, const char* key, std::vector<std::string>& values) {
  return Append(handle, key, values);
}

namespace {

// A source variable is usable when it holds 0 (no object: nothing is added)
// or a live handle; a negative or released handle is refused.
bool IsUsableSource(const void* source) {
  return source != nullptr && (*static_cast<const long*>(source) == 0 || orv::ObjectAt(source) != nullptr);
}

}  // namespace

ORVJSON_API long SetValue(long handle, const char* key, void* source) {
  if (source == nullptr) return -1;
  return orv::WithObject(handle, [&](COrvExtendJson& o) {
    if (!IsUsableSource(source)) return -1L;
    if (COrvBaseJson* other = orv::ObjectAt(source)) o.SetValue(key, other);
    return 0L;
  });
}

ORVJSON_API long SetValue(long handle, const char* key, std::vector<void*>& sources) {
  if (sources.empty()) return -1;
  return orv::WithObject(handle, [&](COrvExtendJson& o) {
    // Every element is checked before the first member is added, so a bad
    // element leaves the document as it was.
    for (const void* source : sources) {
      if (!IsUsableSource(source)) return -1L;
    }
    for (const void* source : sources) {
      if (COrvBaseJson* other = orv::ObjectAt(source)) o.SetValue(key, other);
    }
    return 0L;
  });
}
