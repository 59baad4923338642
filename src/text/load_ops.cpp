#include <cstring>

#include "../json/COrvExtendJson.h"
#include "file_io.h"
#include "json_parse.h"

// Each load parses into a document of its own. On success the two swap and
// the old root goes with the old pool, so a load gives back the memory of
// what it replaces; a failed parse leaves nothing behind either.

long COrvExtendJson::LoadFromString(const std::string& text) {
  orv::StagedDocument parsed;
  if (!orv::ParseJsonText(parsed.doc, text.c_str(), text.size())) return -1;
  ReplaceRoot(parsed);
  return 0;
}

long COrvExtendJson::LoadJsonFile(const char* path, int& hasBom) {
  hasBom = 0;
  orv::NativePath native;
  orv::FileBytes bytes;
  if (path == nullptr || !orv::PathFromLocal(path, std::strlen(path), native) || !orv::ReadWholeFile(native, bytes)) {
    return -1;
  }
  const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data.get());
  // JSON text never starts with 0xEF, so a file with the mark always fails to
  // parse; the flag tells the caller why.
  hasBom = bytes.size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF ? 1 : 0;
  orv::StagedDocument parsed;
  if (!orv::ParseJsonText(parsed.doc, bytes.data.get(), bytes.size)) return 0;
  ReplaceRoot(parsed);
  return 1;
}
