#include <cstring>

#include "../json/COrvExtendJson.h"
#include "file_save.h"
#include "json_write.h"

std::string COrvExtendJson::GetString() {
  // A document's text takes about as many bytes as the document's values.
  return orv::JsonText(m_document, m_document.GetAllocator().Used());
}

std::string COrvExtendJson::GetString(const std::string& key) {
  const Value* member = FindMemberValue(key.c_str());
  // Up to the string's first NUL byte, like every string given back.
  return member != nullptr && member->IsString() ? std::string(member->GetString()) : std::string();
}

long COrvExtendJson::WriteToFile(const std::string& path) {
  // A path with a NUL byte inside would name another file than the caller's.
  orv::NativePath native;
  if (!orv::PathFromLocal(path.data(), path.size(), native)) return -1;
  // A null root is refused, and so is a document without JSON text; the
  // file is not opened in either case, so it keeps what it held.
  if (m_document.IsNull() || !orv::HasJsonText(m_document)) return -1;
  // The text goes straight into the file, never whole into memory.
  const auto write = [this](std::FILE* file) { return orv::WriteJsonFile(m_document, file); };
  return orv::SaveFile(native, write) ? 0 : -1;
}
