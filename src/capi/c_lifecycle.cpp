// The C interface: versions, result names and the lifecycle.
#include <memory>

#include "c_calls.h"

using orv::OnObject;

ORVJSON_API const char* ORVJSON_CALL orvjson_version(void) { return ORVJSON_VERSION; }

ORVJSON_API const char* ORVJSON_CALL orvjson_result_text(std::int32_t result) {
  switch (result) {
    case ORVJSON_OK:
      return "ORVJSON_OK: success";
    case ORVJSON_BAD_HANDLE:
      return "ORVJSON_BAD_HANDLE: the handle names no live document";
    case ORVJSON_BAD_ARGUMENT:
      return "ORVJSON_BAD_ARGUMENT: a null pointer, a length past the end of memory, or a bad path";
    case ORVJSON_NOT_FOUND:
      return "ORVJSON_NOT_FOUND: no member of that name";
    case ORVJSON_WRONG_KIND:
      return "ORVJSON_WRONG_KIND: the value or the root is of another kind";
    case ORVJSON_OUT_OF_RANGE:
      return "ORVJSON_OUT_OF_RANGE: an index past the end, or a number outside the type's range";
    case ORVJSON_NO_MEMORY:
      return "ORVJSON_NO_MEMORY: out of memory";
    case ORVJSON_TOO_LARGE:
      return "ORVJSON_TOO_LARGE: larger than a document can hold";
    case ORVJSON_INVALID_TEXT:
      return "ORVJSON_INVALID_TEXT: the text is not valid JSON";
    case ORVJSON_CANNOT_READ:
      return "ORVJSON_CANNOT_READ: the file cannot be opened or read";
    case ORVJSON_CANNOT_SAVE:
      return "ORVJSON_CANNOT_SAVE: the file cannot be written";
    case ORVJSON_BUFFER_TOO_SMALL:
      return "ORVJSON_BUFFER_TOO_SMALL: nothing written; the size needed is reported";
    case ORVJSON_NO_TEXT:
      return "ORVJSON_NO_TEXT: the document holds NaN or infinity, which JSON cannot express";
    default:
      return "unknown result";
  }
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_create(orvjson_handle* handle) {
  if (handle == nullptr) return ORVJSON_BAD_ARGUMENT;
  return orv::Guarded([&] {
    std::unique_ptr<COrvExtendJson> object(new COrvExtendJson());
    static_cast<COrvBaseJson*>(object.get())->Clear();
    *handle = static_cast<orvjson_handle>(orv::HandleOf(object.release()));
    return ORVJSON_OK;
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_release(orvjson_handle handle) {
  return OnObject(handle, [](COrvExtendJson& o) {
    delete &o;
    return ORVJSON_OK;
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_test(orvjson_handle handle) {
  return OnObject(handle, [](COrvExtendJson& o) {
    o.Test();
    return ORVJSON_OK;
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_clear(orvjson_handle handle) {
  return OnObject(handle, [](COrvExtendJson& o) {
    o.Clear();
    return ORVJSON_OK;
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_members(orvjson_handle handle, std::size_t* count) {
  if (count == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnObject(handle, [&](COrvExtendJson& o) {
    const orv::Value& root = o.Root();
    *count = root.IsObject() ? root.MemberCount() : root.IsArray() ? root.Size() : 0;
    return ORVJSON_OK;
  });
}
