#include "handle.h"

namespace {

// The typed reads inlined whole: a host reads a large array an element at
// a time, so each call costs little more than the element's own read.
template <typename Out, orv::Read (*Rule)(const orv::Value&, Out&)>
long ReadElement(long handle, int index, Out& out) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) { return o.ReadElement<Out, Rule>(index, out); });
}

}  // namespace

ORVJSON_API long GetValue(long handle, int index, short& value) {
  return ReadElement<short, orv::ReadShortAt>(handle, index, value);
}
ORVJSON_API long GetValue(long handle, int index, int& value) {
  return ReadElement<int, orv::ReadIntAt>(handle, index, value);
}
ORVJSON_API long GetValue(long handle, int index, float& value) {
  return ReadElement<float, orv::ReadFloat>(handle, index, value);
}
ORVJSON_API long GetValue(long handle, int index, double& value) {
  return ReadElement<double, orv::ReadDouble>(handle, index, value);
}
ORVJSON_API long GetValue(long handle, int index, bool& value) {
  return ReadElement<bool, orv::ReadBool>(handle, index, value);
}
ORVJSON_API long GetValue(long handle, int index, std::string& value) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) { return o.COrvExtendJson::GetValue(index, value); });
}

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
