#include "handle.h"

namespace {

template <typename Out>
long ReadElement(long handle, int index, Out& out) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) { return o.COrvExtendJson::GetValue(index, out); });
}

}  // namespace

ORVJSON_API long GetValue(long handle, int index, short& value) { return ReadElement(handle, index, value); }
ORVJSON_API long GetValue(long handle, int index, int& value) { return ReadElement(handle, index, value); }
ORVJSON_API long GetValue(long handle, int index, float& value) { return ReadElement(handle, index, value); }
ORVJSON_API long GetValue(long handle, int index, double& value) { return ReadElement(handle, index, value); }
ORVJSON_API long GetValue(long handle, int index, bool& value) { return ReadElement(handle, index, value); }
ORVJSON_API long GetValue(long handle, int index, std::string& value) { return ReadElement(handle, index, value); }

ORVJSON_API long GetValue(long handle, int index, void* target) {
  // The pointer is checked before it is read.
  if (target == nullptr) return -1;
  return orv::WithObject(handle, [&](COrvExtendJson& o) {
    COrvBaseJson* object = orv::ObjectAt(target);
    return object == nullptr ? -1L : o.GetValue(index, object);
  });
}

ORVJSON_API long GetIsNULL(long handle, int index) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) { return o.GetIsNULL(index); });
}
