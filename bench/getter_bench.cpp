// Getters against the RapidJSON code that does the same lookup and test.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include <rapidjson/document.h>

#include "OrvJson.h"
#include "corpus.h"

namespace orvbench {
namespace {

// The keyed int getter on the last member: a lookup scans every member.
void OrvKeyedGetter(benchmark::State& state) {
  const int members = static_cast<int>(state.range(0));
  const long h = Create();
  LoadFromString(h, ObjectOfMembers(members));
  const std::string key = "m" + std::to_string(members - 1);
  int value = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetValue(h, key.c_str(), value));
    benchmark::DoNotOptimize(value);
  }
  Release(h);
}

void RapidKeyedLookup(benchmark::State& state) {
  const int members = static_cast<int>(state.range(0));
  rapidjson::Document doc;
  doc.Parse(ObjectOfMembers(members).c_str());
  const std::string key = "m" + std::to_string(members - 1);
  int value = 0;
  for (auto _ : state) {
    const auto member = doc.FindMember(key.c_str());
    if (member != doc.MemberEnd() && member->value.IsInt()) value = member->value.GetInt();
    benchmark::DoNotOptimize(value);
  }
}

void OrvTagCollect(benchmark::State& state) {
  const long h = Create();
  LoadFromString(h, ObjectOfMembers(1000));
  for (auto _ : state) {
    OrvVector tags;
    benchmark::DoNotOptimize(GetTagCollect(h, tags));
  }
  Release(h);
}

void RapidListMembers(benchmark::State& state) {
  rapidjson::Document doc;
  doc.Parse(ObjectOfMembers(1000).c_str());
  for (auto _ : state) {
    OrvVector tags;
    for (const auto& member : doc.GetObject()) {
      tags.m_items.push_back(OrvTagItem{member.name.GetString(), member.value.IsInt() ? 32 : 0});
    }
    benchmark::DoNotOptimize(tags.m_items.size());
  }
}

constexpr int kElements = 1000000;

// Every element of a 1,000,000-element array root through the index getter.
void OrvIndexGetters(benchmark::State& state) {
  const long h = Create();
  LoadFromString(h, ArrayOfDoubles(kElements));
  for (auto _ : state) {
    double sum = 0, value = 0;
    for (int i = 0; i < kElements; ++i) {
      GetValue(h, i, value);
      sum += value;
    }
    benchmark::DoNotOptimize(sum);
  }
  Release(h);
}

void RapidIndexAccess(benchmark::State& state) {
  rapidjson::Document doc;
  doc.Parse(ArrayOfDoubles(kElements).c_str());
  for (auto _ : state) {
    double sum = 0;
    for (rapidjson::SizeType i = 0; i < doc.Size(); ++i) {
      if (doc[i].IsDouble()) sum += doc[i].GetDouble();
    }
    benchmark::DoNotOptimize(sum);
  }
}

BENCHMARK(OrvKeyedGetter)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(RapidKeyedLookup)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(OrvTagCollect);
BENCHMARK(RapidListMembers);
BENCHMARK(OrvIndexGetters)->Unit(benchmark::kMillisecond);
BENCHMARK(RapidIndexAccess)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvbench
