#include "corpus.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace orvbench {

namespace fs = std::filesystem;

const std::vector<CorpusFile>& Corpora() {
  static const std::vector<CorpusFile> files = [] {
    const char* env = std::getenv("ORVJSON_CORPUS");
    const fs::path folder = env != nullptr ? fs::path(env) : fs::path(ORVJSON_DEFAULT_CORPUS);
    std::vector<CorpusFile> result;
    for (const char* name : {"canada", "citm_catalog", "twitter"}) {
      const fs::path path = folder / (std::string(name) + ".json");
      std::ifstream in(path, std::ios::binary);
      if (!in) throw std::runtime_error("cannot read " + path.string() + "; set ORVJSON_CORPUS");
      std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      result.push_back({name == std::string("citm_catalog") ? "citm" : name, path.string(), std::move(text)});
    }
    return result;
  }();
  return files;
}

std::string ObjectOfMembers(int count) {
  std::string text = "{";
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ',';
    text += "\"m" + std::to_string(i) + "\":" + std::to_string(i);
  }
  return text + "}";
}

std::string ArrayOfDoubles(int count) {
  std::string text = "[";
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ',';
    text += std::to_string(i) + ".5";
  }
  return text + "]";
}

namespace {

// The same text on every platform: a generator whose numbers the standard
// fixes, reduced by hand rather than through a library's distributions.
class Generator {
 public:
  unsigned Below(unsigned n) { return static_cast<unsigned>(random_() % n); }
  std::string Digits(unsigned count) {
    std::string digits;
    for (unsigned i = 0; i < count; ++i) digits += static_cast<char>('0' + Below(10));
    return digits;
  }

 private:
  std::mt19937 random_{20261209};
};

constexpr std::size_t kGeneratedSize = 1 << 20;

std::string GeneratedNumbers() {
  Generator g;
  std::string text = "[";
  while (text.size() < kGeneratedSize) {
    if (text.size() > 1) text += ',';
    if (g.Below(2) == 0) text += '-';
    text += std::to_string(g.Below(180)) + "." + g.Digits(1 + g.Below(15));
  }
  return text + "]";
}

std::string GeneratedStrings() {
  static const char* const kPieces[] = {"word",
                                        " ",
                                        "JSON",
                                        "\\n",
                                        "\\\"",
                                        "caf\xc3\xa9",
                                        "\xe6\x97\xa5\xe6\x9c\xac",
                                        "\\u00e9",
                                        "0123456789",
                                        "https://example.com/"};
  Generator g;
  std::string text = "[";
  while (text.size() < kGeneratedSize) {
    if (text.size() > 1) text += ',';
    text += '"';
    for (unsigned n = 1 + g.Below(12); n > 0; --n) text += kPieces[g.Below(10)];
    text += '"';
  }
  return text + "]";
}

std::string GeneratedRecords() {
  Generator g;
  std::string text = "[";
  for (unsigned id = 0; text.size() < kGeneratedSize; ++id) {
    if (text.size() > 1) text += ',';
    text += "{\"id\":" + std::to_string(id) + ",\"name\":\"item" + g.Digits(4) +
            "\",\"active\":" + (g.Below(2) == 0 ? "true" : "false") + ",\"score\":" + std::to_string(g.Below(100)) +
            "." + g.Digits(2) + ",\"tags\":[\"a\",\"b" + g.Digits(1) + "\"],\"parent\":null}";
  }
  return text + "]";
}

}  // namespace

std::size_t GeneratedKinds() { return 3; }

const std::string& Generated(std::size_t kind) {
  static const std::string texts[] = {GeneratedNumbers(), GeneratedStrings(), GeneratedRecords()};
  return texts[kind];
}

std::string ScratchFile(const std::string& name) {
  return (fs::temp_directory_path() / ("orvjson-bench-" + name + ".json")).string();
}

}  // namespace orvbench
