// Memory held by documents: a loaded document against RapidJSON's own for
// the same text, the heap of one handle over many loads and refills, and
// the peak of loading a large file. Prints one JSON object for the report.
// Linux (glibc) only: it reads the heap in use with mallinfo2.
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <rapidjson/document.h>

#include "OrvJson.h"
#include "corpus.h"
#include "file_peak.h"

namespace {

std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

struct Series {
  std::size_t first = 0;  // after the first round
  std::size_t peak = 0;   // highest after any round
  std::size_t last = 0;   // after the last round
};

template <typename Round>
Series Track(int rounds, Round round) {
  Series series;
  const std::size_t base = HeapInUse();
  for (int i = 0; i < rounds; ++i) {
    round(i);
    const std::size_t used = HeapInUse() - base;
    if (i == 0) series.first = used;
    series.peak = std::max(series.peak, used);
    series.last = used;
  }
  return series;
}

void PrintSeries(const char* name, int rounds, const Series& s, bool comma) {
  std::printf("  \"%s\": {\"rounds\": %d, \"first\": %zu, \"peak\": %zu, \"last\": %zu}%s\n", name, rounds, s.first,
              s.peak, s.last, comma ? "," : "");
}

}  // namespace

int main(int argc, char** argv) {
  // Rounds for the steady-state series and the size of the large files; the
  // defaults are the report's.
  const int loads = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int refills = argc > 2 ? std::atoi(argv[2]) : 100000;
  const int megabytes = argc > 3 ? std::atoi(argv[3]) : 240;
  const auto& corpora = orvbench::Corpora();

  // First, while this process is small: the children that load inherit it.
  std::printf("{\n");
  orvbench::PrintFilePeaks(static_cast<std::size_t>(megabytes > 0 ? megabytes : 1));
  std::printf("  \"loaded\": {\n");
  for (std::size_t n = 0; n < corpora.size(); ++n) {
    const std::string& text = corpora[n].text;
    std::size_t before = HeapInUse();
    const long h = Create();
    LoadFromString(h, text);
    const std::size_t ours = HeapInUse() - before;
    Release(h);
    before = HeapInUse();
    auto* doc = new rapidjson::Document;
    doc->Parse<rapidjson::kParseFullPrecisionFlag>(text.c_str());
    const std::size_t theirs = HeapInUse() - before;
    delete doc;
    std::printf("    \"%s\": {\"orvjson\": %zu, \"rapidjson\": %zu}%s\n", corpora[n].name.c_str(), ours, theirs,
                n + 1 < corpora.size() ? "," : "");
  }
  std::printf("  },\n");

  // Many small documents: {"id":N,"name":"item"} in each of 10,000 handles,
  // built by setters and loaded from text.
  constexpr int kSmall = 10000;
  std::vector<long> handles;
  handles.reserve(2 * kSmall);
  std::size_t before = HeapInUse();
  for (int i = 0; i < kSmall; ++i) {
    handles.push_back(Create());
    SetValue(handles.back(), "id", i);
    SetValue(handles.back(), "name", "item");
  }
  const std::size_t built = (HeapInUse() - before) / kSmall;
  before = HeapInUse();
  for (int i = 0; i < kSmall; ++i) {
    handles.push_back(Create());
    LoadFromString(handles.back(), "{\"id\":" + std::to_string(i) + ",\"name\":\"item\"}");
  }
  const std::size_t loaded = (HeapInUse() - before) / kSmall;
  for (const long h : handles) Release(h);
  std::printf("  \"small_document\": {\"handles\": %d, \"built\": %zu, \"loaded\": %zu},\n", kSmall, built, loaded);

  const std::string& canada = corpora[0].text;
  const long loader = Create();
  PrintSeries("reload_canada", loads, Track(loads, [&](int) { LoadFromString(loader, canada); }), true);
  Release(loader);
  std::vector<std::string> keys;
  for (int i = 0; i < 1000; ++i) keys.push_back("member" + std::to_string(i));
  const long refilled = Create();
  PrintSeries("clear_and_refill_1000", refills,
              Track(refills,
                    [&](int round) {
                      Clear(refilled);
                      for (const std::string& key : keys) SetValue(refilled, key.c_str(), round);
                    }),
              false);
  Release(refilled);
  std::printf("}\n");
  return 0;
}
