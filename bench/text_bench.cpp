// Loading and writing text, each against the raw RapidJSON code that does
// the same work (the floor).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include <unistd.h>

#include <rapidjson/document.h>
#include <rapidjson/filewritestream.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "OrvJson.h"
#include "corpus_bench.h"

namespace orvbench {
namespace {

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
  const std::string path = ScratchFile(Input(state).name);
  for (auto _ : state) benchmark::DoNotOptimize(WriteToFile(h, path));
  Release(h);
  std::remove(path.c_str());
  Label(state);
}

void RapidWriteFile(benchmark::State& state) {
  rapidjson::Document doc;
  doc.Parse<rapidjson::kParseFullPrecisionFlag>(Input(state).text.c_str());
  const std::string path = ScratchFile(Input(state).name);
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

// The least a durable save can do: the text into a new file, synced to the
// disk, renamed over the target.
void RapidSaveFile(benchmark::State& state) {
  rapidjson::Document doc;
  doc.Parse<rapidjson::kParseFullPrecisionFlag>(Input(state).text.c_str());
  const std::string path = ScratchFile(Input(state).name);
  const std::string temp = path + ".tmp";
  std::unique_ptr<char[]> buffer(new char[65536]);
  for (auto _ : state) {
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    rapidjson::FileWriteStream stream(file, buffer.get(), 65536);
    rapidjson::Writer<rapidjson::FileWriteStream> writer(stream);
    doc.Accept(writer);
    std::fflush(file);
    fsync(fileno(file));
    std::fclose(file);
    std::rename(temp.c_str(), path.c_str());
  }
  std::remove(path.c_str());
  Label(state);
}

BENCHMARK(OrvLoadFromString)->Apply(OverCorpora);
BENCHMARK(RapidParse<rapidjson::kParseFullPrecisionFlag>)->Name("RapidParseFull")->Apply(OverCorpora);
BENCHMARK(RapidParse<rapidjson::kParseDefaultFlags>)->Name("RapidParseDefault")->Apply(OverCorpora);
BENCHMARK(OrvLoadJsonFile)->Apply(OverCorpora);
BENCHMARK(RapidLoadFile)->Apply(OverCorpora);
BENCHMARK(OrvGetString)->Apply(OverCorpora);
BENCHMARK(RapidWriteString)->Apply(OverCorpora);
BENCHMARK(OrvWriteToFile)->Apply(OverCorpora);
BENCHMARK(RapidWriteFile)->Apply(OverCorpora);
BENCHMARK(RapidSaveFile)->Apply(OverCorpora);

}  // namespace
}  // namespace orvbench
