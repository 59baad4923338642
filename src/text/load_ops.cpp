#include "load_ops.h"

#include <cstring>

#include "file_io.h"
#include "json_parse.h"
#include "text_releaser.h"

// Each load parses into a document of its own. On success the two swap and
// the old root goes with the old pool, so a load gives back the memory of
// what it replaces; a failed parse leaves nothing behind either.

bool COrvExtendJson::LoadText(const char* text, std::size_t length, orv::TextReleaser* releaser) {
  orv::StagedDocument parsed;
  const orv::ParseOutcome outcome = orv::ParseJsonText(parsed.doc, text, length, orv::kMaxNestingDepth, releaser);
  if (!outcome) {
    const orv::LoadProblem known = releaser != nullptr ? releaser->released() : orv::LoadProblem();
    m_loadProblem.reset(new orv::LoadProblem(orv::DescribeProblem(outcome, text, length, known)));
    return false;
  }
  ReplaceRoot(parsed);
  m_loadProblem.reset();
  return true;
}

long COrvExtendJson::LoadFromString(const std::string& text) { return LoadText(text.c_str(), text.size()) ? 0 : -1; }

long COrvExtendJson::LoadJsonFile(const char* path, int& hasBom) {
  hasBom = 0;
  orv::NativePath native;
  if (path == nullptr || !orv::PathFromLocal(path, std::strlen(path), native)) return -1;
  return orv::LoadFile(*this, native, hasBom);
}

namespace orv {

long LoadFile(COrvExtendJson& object, const NativePath& path, int& hasBom) {
  hasBom = 0;
  FileBytes bytes;
  if (!ReadWholeFile(path, bytes)) return -1;
  const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data.get());
  // JSON text never starts with 0xEF, so a file with the mark always fails to
  // parse; the flag tells the caller why.
  hasBom = bytes.size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF ? 1 : 0;
  // The file's bytes are the load's own, so the parse may give them back as
  // it goes: a load then peaks near the larger of the file and its document.
  TextReleaser releaser(bytes.data);
  return object.LoadText(bytes.data.get(), bytes.size, &releaser) ? 1 : 0;
}

}  // namespace orv
