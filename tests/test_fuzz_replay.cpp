// Replays the fuzz seeds, every past fuzz finding and the bundled data
// through the fuzz targets' own checks; a broken invariant aborts.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "checks.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> FilesIn(const std::vector<std::string>& folders) {
  std::vector<std::string> files;
  for (const std::string& folder : folders) {
    for (const auto& entry : fs::directory_iterator(fs::path(ORVJSON_SOURCE_DIR) / folder)) {
      if (entry.is_regular_file() && entry.path().filename() != ".keep") files.push_back(entry.path().string());
    }
  }
  return files;
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

}  // namespace

TEST(FuzzReplay, TextSeedsFindingsAndBundledDataKeepEveryInvariant) {
  const auto files = FilesIn({"fuzz/seeds/text", "fuzz/regressions/text", "examples", "tests/data"});
  EXPECT_GE(files.size(), 10u);
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const std::string bytes = Contents(file);
    orvfuzz::CheckText(Bytes(bytes), bytes.size());
  }
}

TEST(FuzzReplay, ApiSeedsAndFindingsKeepEveryInvariant) {
  const auto files = FilesIn({"fuzz/seeds/api", "fuzz/regressions/api", "fuzz/seeds/text"});
  EXPECT_GE(files.size(), 3u);
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const std::string bytes = Contents(file);
    orvfuzz::CheckApiSequence(Bytes(bytes), bytes.size());
  }
}
