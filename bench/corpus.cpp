#include "corpus.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

std::string ScratchFile(const std::string& name) {
  return (fs::temp_directory_path() / ("orvjson-bench-" + name + ".json")).string();
}

}  // namespace orvbench
