#include <memory>

#include "handle.h"

using orv::WithObject;

ORVJSON_API long Create() {
  // Owned until it is handed out, so that a failure in Clear frees it.
  std::unique_ptr<COrvExtendJson> object(new COrvExtendJson());
  static_cast<COrvBaseJson*>(object.get())->Clear();
  return orv::HandleOf(object.release());
}

ORVJSON_API long Release(long handle) {
  return WithObject(handle, [](COrvExtendJson& o) {
    delete &o;
    return 0L;
  });
}

ORVJSON_API long Test(long handle) {
  return WithObject(handle, [](COrvExtendJson& o) {
    o.Test();
    return 0L;
  });
}

ORVJSON_API long Clear(long handle) {
  return WithObject(handle, [](COrvExtendJson& o) {
    o.Clear();
    return 0L;
  });
}

ORVJSON_API long Members(long handle) {
  return WithObject(handle, [](COrvExtendJson& o) { return o.Members(); });
}
