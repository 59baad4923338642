// Writing text, to a string and to a file, against the raw RapidJSON code
// that does the same work.
#include <cstdio>
#include <memory>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <rapidjson/document.h>
#include <rapidjson/filewritestream.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "corpus.h"
#include "harness.h"

namespace orvbench {
namespace {

std::shared_ptr<rapidjson::Document> RapidDocument(std::size_t corpus) {
  auto doc = std::make_shared<rapidjson::Document>();
  doc->Parse<rapidjson::kParseFullPrecisionFlag>(Corpora()[corpus].text.c_str());
  return doc;
}

std::shared_ptr<long> LoadedHandle(std::size_t corpus) {
  auto h = NewHandle();
  LoadFromString(*h, Corpora()[corpus].text);
  return h;
}

// The document's text through a FileWriteStream with a 64 KiB buffer.
void WriteFile(const rapidjson::Document& doc, std::FILE* file) {
  static char buffer[65536];
  rapidjson::FileWriteStream stream(file, buffer, sizeof buffer);
  rapidjson::Writer<rapidjson::FileWriteStream> writer(stream);
  doc.Accept(writer);
  stream.Flush();
}

// Pushes the file to the disk and puts it in place of path in one step;
// then, where the system needs it for the rename to last, syncs the folder.
void SyncAndReplace(std::FILE* file, const std::string& temp, const std::string& path, bool syncFolder) {
  std::fflush(file);
#ifdef _WIN32
  (void)syncFolder;  // MOVEFILE_WRITE_THROUGH returns once the move is on the disk
  FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))));
  std::fclose(file);
  MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
  fsync(fileno(file));
  std::fclose(file);
  std::rename(temp.c_str(), path.c_str());
  if (syncFolder) {
    const int folder = open(path.substr(0, path.find_last_of('/') + 1).c_str(), O_RDONLY | O_DIRECTORY);
    fsync(folder);
    close(folder);
  }
#endif
}

Body SaveFile(std::size_t corpus, bool syncFolder) {
  auto doc = RapidDocument(corpus);
  const std::string path = ScratchFile(Corpora()[corpus].name);
  const std::string temp = path + ".tmp";
  return [doc, path, temp, syncFolder] {
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    WriteFile(*doc, file);
    SyncAndReplace(file, temp, path, syncFolder);
  };
}

const bool kGetString = AddOverCorpora("OrvGetString", [](std::size_t corpus) -> Body {
  auto h = LoadedHandle(corpus);
  return [h] { Use(GetString(*h)); };
});

const bool kRapidWriteString = AddOverCorpora("RapidWriteString", [](std::size_t corpus) -> Body {
  auto doc = RapidDocument(corpus);
  return [doc] {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    doc->Accept(writer);
    Use(std::string(buffer.GetString(), buffer.GetSize()));
  };
});

const bool kWriteToFile = AddOverCorpora("OrvWriteToFile", [](std::size_t corpus) -> Body {
  auto h = LoadedHandle(corpus);
  const std::string path = ScratchFile(Corpora()[corpus].name);
  return [h, path] { Use(WriteToFile(*h, path)); };
});

// Not durable: what saving cost before saves were made safe.
const bool kRapidWriteFile = AddOverCorpora("RapidWriteFile", [](std::size_t corpus) -> Body {
  auto doc = RapidDocument(corpus);
  const std::string path = ScratchFile(Corpora()[corpus].name);
  return [doc, path] {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    WriteFile(*doc, file);
    std::fclose(file);
  };
});

// The least a durable save does: write a new file, sync it, rename it over
// the target, and sync the folder so that the rename survives a crash.
const bool kRapidSaveFile = AddOverCorpora("RapidSaveFile", [](std::size_t corpus) { return SaveFile(corpus, true); });
// The same without the folder sync: the file's bytes last, the rename may not.
const bool kRapidSaveFileUnsyncedFolder =
    AddOverCorpora("RapidSaveFileNoFolderSync", [](std::size_t corpus) { return SaveFile(corpus, false); });

}  // namespace
}  // namespace orvbench
