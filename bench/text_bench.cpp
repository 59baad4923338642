// Loading and writing text, each against the raw RapidJSON code that does
// the same work (the floor).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include <rapidjson/document.h>
#include <rapidjson/filewritestream.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "OrvJson.h"
#include "corpus.h"

namespace orvbench {
namespace {

const CorpusFile& Input(const benchmark::State& state) { return Corpora()[static_cast<std::size_t>(state.range(0))]; }

void Label(benchmark::State& state) {
  state.SetLabel(Input(state).name);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Input(state).text.size()));
}

void OrvLoadFromString(benchmark::State& state) {
  const std::string& text = Input(state).text;
  const long h = Create();
  for (auto _ : state) benchmark::DoNotOptimize(LoadFromString(h, text));
  Release(h);
  Label(state);
}

template <unsigned flags>
void RapidParse(benchmark::State& state) {
  const std::string& text = Input(state).text;
  for (auto _ : state) {
    rapidjson::Document doc;
    doc.Parse<flags>(text.c_str());
    benchmark::DoNotOptimize(doc.HasParseError());
  }
  Label(state);
}

void OrvLoadJsonFile(benchmark::State& state) {
  const long h = Create();
  int hasBom = 0;
  for (auto _ : state) benchmark::DoNotOptimize(LoadJsonFile(h, Input(state).path.c_str(), hasBom));
  Release(h);
  Label(state);
}

// Reads the whole file and parses it with RapidJSON's exact-number parse.
void RapidLoadFile(benchmark::State& state) {
  for (auto _ : state) {
    std::FILE* file = std::fopen(Input(state).path.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    std::unique_ptr<char[]> buffer(new char[static_cast<std::size_t>(size) + 1]);
    const std::size_t read = std::fread(buffer.get(), 1, static_cast<std::size_t>(size), file);
    std::fclose(file);
    buffer[read] = '\0';
    rapidjson::Document doc;
    doc.Parse<rapidjson::kParseFullPrecisionFlag>(buffer.get());
    benchmark::DoNotOptimize(doc.HasParseError());
  }
  Label(state);
}

void OrvGetString(benchmark::State& state) {
  const long h = Create();
  LoadFromString(h, Input(state).text);
  for (auto _ : state) benchmark::DoNotOptimize(GetString(h));
  Release(h);
  Label(state);
}

void RapidWriteString(benchmark::State& state) {
  rapidjson::Document doc;
  doc.Parse<rapidjson::kParseFullPrecisionFlag>(Input(state).text.c_str());
  for (auto _ : state) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    doc.Accept(writer);
    benchmark::DoNotOptimize(std::string(buffer.GetString(), buffer.GetSize()));
  }
  Label(state);
}

void OrvWriteToFile(benchmark::State& state) {
  const long h = Create();
  LoadFromString(h, Input(state).text);
  const std::string path = ScratchFile("orv-" + Input(state).name);
  for (auto _ : state) benchmark::DoNotOptimize(WriteToFile(h, path));
  Release(h);
  std::remove(path.c_str());
  Label(state);
}

void RapidWriteFile(benchmark::State& state) {
  rapidjson::Document doc;
  doc.Parse<rapidjson::kParseFullPrecisionFlag>(Input(state).text.c_str());
  const std::string path = ScratchFile("rapid-" + Input(state).name);
  std::unique_ptr<char[]> buffer(new char[65536]);
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    rapidjson::FileWriteStream stream(file, buffer.get(), 65536);
    rapidjson::Writer<rapidjson::FileWriteStream> writer(stream);
    doc.Accept(writer);
    std::fclose(file);
  }
  std::remove(path.c_str());
  Label(state);
}

void Corpora(benchmark::internal::Benchmark* b) {
  for (int i = 0; i < 3; ++i) b->Arg(i);
  b->Unit(benchmark::kMicrosecond)->UseRealTime();
}

BENCHMARK(OrvLoadFromString)->Apply(Corpora);
BENCHMARK(RapidParse<rapidjson::kParseFullPrecisionFlag>)->Name("RapidParseFull")->Apply(Corpora);
BENCHMARK(RapidParse<rapidjson::kParseDefaultFlags>)->Name("RapidParseDefault")->Apply(Corpora);
BENCHMARK(OrvLoadJsonFile)->Apply(Corpora);
BENCHMARK(RapidLoadFile)->Apply(Corpora);
BENCHMARK(OrvGetString)->Apply(Corpora);
BENCHMARK(RapidWriteString)->Apply(Corpora);
BENCHMARK(OrvWriteToFile)->Apply(Corpora);
BENCHMARK(RapidWriteFile)->Apply(Corpora);

}  // namespace
}  // namespace orvbench
