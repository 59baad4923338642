// Copies between objects against their floor: one write plus one parse of
// the same value with RapidJSON (its exact-number parse).
#include <benchmark/benchmark.h>

#include <string>

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "OrvJson.h"
#include "corpus_bench.h"

namespace orvbench {
namespace {

// SetValue with another object: the source's text parsed into the target.
void OrvCopyIn(benchmark::State& state) {
  const long source = Create();
  LoadFromString(source, Input(state).text);
  long sourceHandle = source;
  const long target = Create();
  for (auto _ : state) {
    Clear(target);
    benchmark::DoNotOptimize(SetValue(target, "doc", static_cast<void*>(&sourceHandle)));
  }
  Release(target);
  Release(source);
  Label(state);
}

// GetValue by key: a member written and parsed into another object.
void OrvCopyOutByKey(benchmark::State& state) {
  const long source = Create();
  const std::string wrapped = "{\"doc\":" + Input(state).text + "}";
  LoadFromString(source, wrapped);
  long target = Create();
  for (auto _ : state) benchmark::DoNotOptimize(GetValue(source, "doc", static_cast<void*>(&target)));
  Release(target);
  Release(source);
  Label(state);
}

// GetValue by index: an object element written and parsed into another object.
void OrvCopyOutByIndex(benchmark::State& state) {
  const long source = Create();
  LoadFromString(source, "[" + Input(state).text + "]");
  long target = Create();
  for (auto _ : state) benchmark::DoNotOptimize(GetValue(source, 0, static_cast<void*>(&target)));
  Release(target);
  Release(source);
  Label(state);
}

void RapidWriteThenParse(benchmark::State& state) {
  rapidjson::Document source;
  source.Parse<rapidjson::kParseFullPrecisionFlag>(Input(state).text.c_str());
  for (auto _ : state) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    source.Accept(writer);
    rapidjson::Document copy;
    copy.Parse<rapidjson::kParseFullPrecisionFlag>(buffer.GetString());
    benchmark::DoNotOptimize(copy.HasParseError());
  }
  Label(state);
}

BENCHMARK(OrvCopyIn)->Apply(OverCorpora);
BENCHMARK(OrvCopyOutByKey)->Apply(OverCorpora);
BENCHMARK(OrvCopyOutByIndex)->Apply(OverCorpora);
BENCHMARK(RapidWriteThenParse)->Apply(OverCorpora);

}  // namespace
}  // namespace orvbench
