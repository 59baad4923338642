#include "../json/COrvExtendJson.h"
#include "file_io.h"
#include "json_parse.h"

long COrvExtendJson::LoadFromString(const std::string& text) {
  return orv::ParseJsonText(m_document, text.c_str()) ? 0 : -1;
}

long COrvExtendJson::LoadJsonFile(const char* path, int& hasBom) {
  hasBom = 0;
  orv::FileBytes bytes;
  if (!orv::ReadWholeFile(path, bytes)) return -1;
  const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data.get());
  // JSON text never starts with 0xEF, so a file with the mark always fails to
  // parse; the flag tells the caller why.
  hasBom = bytes.size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF ? 1 : 0;
  return orv::ParseJsonText(m_document, bytes.data.get()) ? 1 : 0;
}
