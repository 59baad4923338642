// A timing driver of our own, for where Google Benchmark does not exist (the
// 32-bit DLL under wine). Every benchmark is prepared once and warmed by one
// run; then each repetition times every benchmark once, in a new random
// order, so that an operation and its floor see the same machine. A sample
// is as many runs as fill --min-time; a benchmark's time is its best sample.
// Writes the results in Google Benchmark's JSON form, which the report reads.
//
// Usage: orvjson_timing [--repetitions=N] [--min-time=SECONDS] [--filter=TEXT|TEXT...] [--out=FILE]
// A filter keeps the benchmarks whose names contain any of its texts.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Prepared {
  const orvbench::Case* source;
  orvbench::Body body;
  long runs = 1;                // per sample
  std::vector<double> samples;  // microseconds per run
};

double SecondsFor(const orvbench::Body& body, long runs) {
  const auto start = Clock::now();
  for (long n = 0; n < runs; ++n) body();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string Option(int argc, char** argv, const std::string& name, const std::string& fallback) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.compare(0, name.size() + 3, "--" + name + "=") == 0) return arg.substr(name.size() + 3);
  }
  return fallback;
}

bool Matches(const std::string& name, const std::string& filter) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = filter.find('|', start);
    if (name.find(filter.substr(start, bar - start)) != std::string::npos) return true;
    if (bar == std::string::npos) return false;
    start = bar + 1;
  }
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) out += (c == '"' || c == '\\') ? std::string("\\") + c : std::string(1, c);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = std::atoi(Option(argc, argv, "repetitions", "12").c_str());
  const double minTime = std::atof(Option(argc, argv, "min-time", "0.1").c_str());
  const std::string filter = Option(argc, argv, "filter", "");
  const std::string out = Option(argc, argv, "out", "timing.json");

  std::vector<Prepared> benchmarks;
  for (const orvbench::Case& c : orvbench::Cases()) {
    if (!Matches(c.name, filter)) continue;
    Prepared p{&c, c.prepare(), 1, {}};
    p.body();  // warm
    // As many runs as fill the minimum time, found by doubling.
    while (SecondsFor(p.body, p.runs) < minTime && p.runs < (1L << 30)) p.runs *= 2;
    benchmarks.push_back(std::move(p));
    std::fprintf(stderr, "prepared %s (%ld runs a sample)\n", c.name.c_str(), benchmarks.back().runs);
  }
  std::mt19937 shuffle(20261208);
  std::vector<Prepared*> order;
  for (Prepared& p : benchmarks) order.push_back(&p);
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    std::shuffle(order.begin(), order.end(), shuffle);
    for (Prepared* p : order) p->samples.push_back(SecondsFor(p->body, p->runs) * 1e6 / p->runs);
  }

  std::FILE* file = std::fopen(out.c_str(), "w");
  if (file == nullptr) {
    std::fprintf(stderr, "orvjson_timing: cannot write %s\n", out.c_str());
    return 1;
  }
  char date[64];
  const std::time_t now = std::time(nullptr);
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S+00:00", std::gmtime(&now));
  std::fprintf(file,
               "{\n  \"context\": {\"date\": \"%s\", \"host_name\": \"%s\", \"driver\": \"orvjson_timing\", "
               "\"pointer_bits\": %u, \"repetitions\": %d},\n  \"benchmarks\": [\n",
               date, sizeof(void*) == 4 ? "32-bit DLL" : "64-bit", static_cast<unsigned>(sizeof(void*) * 8),
               repetitions);
  bool first = true;
  for (const Prepared& p : benchmarks) {
    for (const double sample : p.samples) {
      std::fprintf(file,
                   "%s    {\"name\": \"%s\", \"run_name\": \"%s\", \"run_type\": \"iteration\", "
                   "\"iterations\": %ld, \"real_time\": %.6f, \"time_unit\": \"us\"}",
                   first ? "" : ",\n", Escaped(p.source->name).c_str(), Escaped(p.source->name).c_str(), p.runs,
                   sample);
      first = false;
    }
  }
  std::fprintf(file, "\n  ]\n}\n");
  const bool written = std::fclose(file) == 0;
  std::fprintf(stderr, "orvjson_timing: %zu benchmarks, %d repetitions, written to %s\n", benchmarks.size(),
               repetitions, out.c_str());
  return written ? 0 : 1;
}
