// The C interface: text in and out, from memory and files.
#include <string>

#include "../text/file_save.h"
#include "../text/json_write.h"
#include "../text/load_ops.h"
#include "c_calls.h"

using orv::IsReadable;
using orv::OnObject;

namespace {

// Text a load refused: too large for a document, or not JSON.
std::int32_t Refused(const COrvExtendJson& o) {
  const orv::LoadProblem* problem = o.LastLoadProblem();
  return problem != nullptr && problem->tooLarge ? ORVJSON_TOO_LARGE : ORVJSON_INVALID_TEXT;
}

}  // namespace

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_load_text(orvjson_handle handle, const char* text, std::size_t length) {
  if (!IsReadable(text, length)) return ORVJSON_BAD_ARGUMENT;
  return OnObject(handle, [&](COrvExtendJson& o) {
    // The text ends at its first NUL byte, or else at its length, where the
    // parser needs a NUL it may read: then it is parsed from a copy.
    const void* nul = std::memchr(text, '\0', length);
    bool loaded = false;
    if (nul != nullptr) {
      loaded = o.LoadText(text, static_cast<std::size_t>(static_cast<const char*>(nul) - text));
    } else {
      const std::string copy(text, length);
      loaded = o.LoadText(copy.c_str(), copy.size());
    }
    return loaded ? ORVJSON_OK : Refused(o);
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_load_file(orvjson_handle handle, const char* path,
                                                        std::size_t path_length, std::int32_t* has_bom) {
  if (!IsReadable(path, path_length) || has_bom == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnObject(handle, [&](COrvExtendJson& o) {
    orv::NativePath native;
    if (!orv::PathFromUtf8(path, path_length, native)) return ORVJSON_BAD_ARGUMENT;
    int bom = 0;
    const long loaded = orv::LoadFile(o, native, bom);
    *has_bom = bom;
    return loaded == 1 ? ORVJSON_OK : loaded == 0 ? Refused(o) : ORVJSON_CANNOT_READ;
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_load_error(orvjson_handle handle, std::size_t* offset, std::size_t* line,
                                                         std::size_t* column, const char** message) {
  if (offset == nullptr || line == nullptr || column == nullptr || message == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnObject(handle, [&](COrvExtendJson& o) {
    const orv::LoadProblem* problem = o.LastLoadProblem();
    if (problem == nullptr) return ORVJSON_NOT_FOUND;
    *offset = problem->offset;
    *line = problem->line;
    *column = problem->column;
    *message = problem->message;
    return ORVJSON_OK;
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_text(orvjson_handle handle, char* buffer, std::size_t capacity,
                                                   std::size_t* length) {
  if (!orv::IsWritable(buffer, capacity) || length == nullptr) return ORVJSON_BAD_ARGUMENT;
  return OnObject(handle, [&](COrvExtendJson& o) {
    // Written where GetString writes it, then copied once: as many copies.
    std::string text;
    if (!orv::WriteJsonText(o.Root(), text, o.UsedBytes())) return ORVJSON_NO_TEXT;
    return orv::CopyOut(text.data(), text.size(), buffer, capacity, length);
  });
}

ORVJSON_API std::int32_t ORVJSON_CALL orvjson_save_file(orvjson_handle handle, const char* path,
                                                        std::size_t path_length) {
  if (!IsReadable(path, path_length)) return ORVJSON_BAD_ARGUMENT;
  return OnObject(handle, [&](COrvExtendJson& o) {
    orv::NativePath native;
    if (!orv::PathFromUtf8(path, path_length, native)) return ORVJSON_BAD_ARGUMENT;
    const orv::Value& root = o.Root();
    if (root.IsNull()) return ORVJSON_WRONG_KIND;
    if (!orv::HasJsonText(root)) return ORVJSON_NO_TEXT;
    const auto write = [&root](std::FILE* file) { return orv::WriteJsonFile(root, file); };
    return orv::SaveFile(native, write) ? ORVJSON_OK : ORVJSON_CANNOT_SAVE;
  });
}
