#include "handle.h"

ORVJSON_API long GetItemType(long handle, int index, int& type) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) { return o.GetItemType(index, type); });
}

ORVJSON_API long GetArryItemType(long handle, int index, int& type) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) { return o.GetArryItemType(index, type); });
}

ORVJSON_API long GetArryItemType(long handle, std::string key, int& type) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) { return o.GetArryItemType(std::move(key), type); });
}

ORVJSON_API long GetTagCollect(long handle, OrvVector& items) {
  return orv::WithObject(handle, [&](COrvExtendJson& o) { return o.GetTagCollect(items); });
}
