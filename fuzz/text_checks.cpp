#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "OrvJson.h"
#include "checks.h"
#include "require.h"

namespace orvfuzz {

std::string ScratchPath() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("orvjson-fuzz-" + std::to_string(std::random_device()()) + ".json"))
          .string();
  return path;
}

namespace {

void QueryByIndex(long h, long members) {
  for (long index = -2; index <= members + 1; ++index) {
    const int i = static_cast<int>(index);
    short s = 0;
    int n = 0, type = 0;
    float f = 0;
    double d = 0;
    bool b = false;
    std::string text;
    GetValue(h, i, s);
    GetValue(h, i, n);
    GetValue(h, i, f);
    GetValue(h, i, d);
    GetValue(h, i, b);
    GetValue(h, i, text);
    GetIsNULL(h, i);
    const long itemResult = GetItemType(h, i, type);
    ORV_REQUIRE(itemResult == -1 || (index >= 0 && index < members));
    GetArryItemType(h, i, type);
    long target = Create();
    if (GetValue(h, i, static_cast<void*>(&target)) == 0) ORV_REQUIRE(!GetString(target).empty());
    Release(target);
  }
}

// Runs every keyed query; mustExist: the member is known to be there.
void QueryByKey(long h, const std::string& key, bool mustExist) {
  int n = 0, type = 0;
  unsigned u = 0;
  float f = 0;
  double d = 0;
  bool b = false;
  std::string text;
  std::vector<unsigned char> bytes;
  std::vector<short> shorts;
  std::vector<int> ints;
  std::vector<double> doubles;
  std::vector<std::string> strings;
  const char* k = key.c_str();
  GetValue(h, k, n);
  GetValue(h, k, u);
  GetValue(h, k, f);
  const long found = GetValue(h, k, d);
  ORV_REQUIRE(found == 0 || !mustExist);
  GetValue(h, k, b);
  GetValue(h, k, text);
  GetIsNULL(h, k);
  GetString(h, key);
  GetValue(h, k, bytes);
  GetValue(h, k, shorts);
  GetValue(h, k, ints);
  GetValue(h, k, doubles);
  GetValue(h, k, strings);
  GetArryItemType(h, key, type);
  long target = Create();
  if (GetValue(h, k, static_cast<void*>(&target)) == 0) ORV_REQUIRE(!GetString(target).empty());
  Release(target);
}

}  // namespace

void CheckText(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const long h = Create();
  if (LoadFromString(h, input) == 0) {
    // A loaded document always has text, and write-load-write is stable.
    const std::string text = GetString(h);
    ORV_REQUIRE(!text.empty());
    const long again = Create();
    ORV_REQUIRE(LoadFromString(again, text) == 0);
    ORV_REQUIRE(GetString(again) == text);
    Release(again);

    const long members = Members(h);
    OrvVector tags;
    ORV_REQUIRE(GetTagCollect(h, tags) == static_cast<long>(tags.m_items.size()));
    ORV_REQUIRE(tags.m_items.size() == static_cast<std::size_t>(members));
    QueryByIndex(h, members);
    int type = 0;
    if (GetItemType(h, 0, type) != 0) {
      for (const OrvTagItem& tag : tags.m_items) {
        // A name holding a NUL byte is listed cut short and may name no member.
        double probe = 0;
        if (GetValue(h, tag.name.c_str(), probe) == 0) QueryByKey(h, tag.name, true);
      }
    }
    QueryByKey(h, "probably missing", false);
    GetValue(h, static_cast<const char*>(nullptr), type);

    if (text != "null") {
      const std::string path = ScratchPath();
      ORV_REQUIRE(WriteToFile(h, path) == 0);
      const long loaded = Create();
      int hasBom = -1;
      ORV_REQUIRE(LoadJsonFile(loaded, path.c_str(), hasBom) == 1);
      ORV_REQUIRE(hasBom == 0);
      ORV_REQUIRE(GetString(loaded) == text);
      Release(loaded);
      std::remove(path.c_str());
    }
  } else {
    ORV_REQUIRE(GetString(h) == "{}");  // a failed load leaves the document alone
  }
  Release(h);
}

}  // namespace orvfuzz
