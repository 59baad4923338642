#include "file_peak.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include <yyjson.h>

#include "OrvJson.h"
#include "corpus.h"

namespace orvbench {
namespace {

// An array of the pieces in turn, written as it goes so that this process
// stays small: its children inherit it.
std::size_t WriteFile(const std::string& path, const std::vector<const std::string*>& pieces, std::size_t bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::size_t written = 1;
  std::fputc('[', file);
  for (std::size_t i = 0; written < bytes; ++i) {
    if (i != 0) written += std::fwrite(",", 1, 1, file);
    const std::string& piece = *pieces[i % pieces.size()];
    written += std::fwrite(piece.data(), 1, piece.size(), file);
  }
  written += std::fwrite("]", 1, 1, file);
  return std::fclose(file) == 0 ? written : 0;
}

long MaxResidentKiB() {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Bytes by which loading path raised the peak of a child process; 0 when the
// load failed.
long long PeakGrowth(const std::string& path, bool yyjson) {
  int out[2];
  if (pipe(out) != 0) return 0;
  const pid_t child = fork();
  if (child == 0) {
    const long before = MaxResidentKiB();
    bool loaded = false;
    if (yyjson) {
      yyjson_doc* doc = yyjson_read_file(path.c_str(), YYJSON_READ_NOFLAG, nullptr, nullptr);
      loaded = doc != nullptr;
      yyjson_doc_free(doc);
    } else {
      const long handle = Create();
      int hasBom = 0;
      loaded = LoadJsonFile(handle, path.c_str(), hasBom) == 1;
      Release(handle);
    }
    const long long growth = loaded ? (MaxResidentKiB() - before) * 1024LL : 0;
    const bool sent = write(out[1], &growth, sizeof growth) == static_cast<ssize_t>(sizeof growth);
    _exit(sent ? 0 : 1);
  }
  close(out[1]);
  long long growth = 0;
  if (child < 0 || read(out[0], &growth, sizeof growth) != static_cast<ssize_t>(sizeof growth)) growth = 0;
  close(out[0]);
  if (child > 0) waitpid(child, nullptr, 0);
  return growth;
}

}  // namespace

void PrintFilePeaks(std::size_t megabytes) {
  struct Shape {
    const char* name;
    std::vector<const std::string*> pieces;
  };
  std::vector<Shape> shapes(1, Shape{"corpora", {}});
  for (const CorpusFile& corpus : Corpora()) shapes[0].pieces.push_back(&corpus.text);
  const char* const kinds[] = {"numbers", "strings", "records"};
  for (std::size_t kind = 0; kind < GeneratedKinds() && kind < 3; ++kind) {
    shapes.push_back(Shape{kinds[kind], {&Generated(kind)}});
  }
  std::printf("  \"file_peak\": {\"megabytes\": %zu", megabytes);
  for (const Shape& shape : shapes) {
    const std::string path = ScratchFile(std::string("peak-") + shape.name);
    const std::size_t bytes = WriteFile(path, shape.pieces, megabytes * 1000 * 1000);
    std::printf(",\n    \"%s\": {\"file\": %zu, \"orvjson\": %lld, \"yyjson\": %lld}", shape.name, bytes,
                PeakGrowth(path, false), PeakGrowth(path, true));
    std::remove(path.c_str());
  }
  std::printf("},\n");
}

}  // namespace orvbench
