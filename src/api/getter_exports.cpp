#include "handle.h"

namespace {

// Forwards a keyed getter and passes its result on.
template <typename Out>
long Read(long handle, const char* key, Out& out) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) { return o.GetValue(key, out); });
}

// Forwards a keyed getter whose export reports 0 whatever it found.
template <typename Out>
long ReadQuietly(long handle, const char* key, Out& out) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) {
    o.GetValue(key, out);
    return 0L;
  });
}

}  // namespace

ORVJSON_API long GetValue(long handle, const char* key, int& value) { return ReadQuietly(handle, key, value); }
ORVJSON_API long GetValue(long handle, const char* key, unsigned int& value) { return Read(handle, key, value); }
ORVJSON_API long GetValue(long handle, const char* key, float& value) { return ReadQuietly(handle, key, value); }
ORVJSON_API long GetValue(long handle, const char* key, double& value) { return Read(handle, key, value); }
ORVJSON_API long GetValue(long handle, const char* key, bool& value) { return Read(handle, key, value); }
ORVJSON_API long GetValue(long handle, const char* key, std::string& value) { return ReadQuietly(handle, key, value); }

ORVJSON_API long GetIsNULL(long handle, const char* key) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) { return o.GetIsNULL(key); });
}

ORVJSON_API long GetValue(long handle, const char* key, std::vector<unsigned char>& values) {
  return Read(handle, key, values);
}
ORVJSON_API long GetValue(long handle, const char* key, std::vector<short>& values) {
  return Read(handle, key, values);
}
ORVJSON_API long GetValue(long handle, const char* key, std::vector<int>& values) { return Read(handle, key, values); }
ORVJSON_API long GetValue(long handle, const char* key, std::vector<double>& values) {
  return Read(handle, key, values);
}
ORVJSON_API long GetValue(long handle, const char* key, std::vector<std::string>& values) {
  return Read(handle, key, values);
}

ORVJSON_API long GetValue(long handle, const char* key, COrvBaseJson* target) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) { return o.GetValue(key, target); });
}

ORVJSON_API long GetValue(long handle, const char* key, void* target) {
  if (target == nullptr) return -1;
  return orv::WithObject(handle, [&](COrvExtendJson& o) { return o.GetValue(key, orv::ObjectAt(target)); });
}
