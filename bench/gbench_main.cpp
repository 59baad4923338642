// Every benchmark under Google Benchmark, timed in real time (file writes
// spend time outside the CPU).
#include <benchmark/benchmark.h>

#include "harness.h"

int main(int argc, char** argv) {
  for (const orvbench::Case& c : orvbench::Cases()) {
    benchmark::RegisterBenchmark(c.name.c_str(),
                                 [&c](benchmark::State& state) {
                                   const orvbench::Body body = c.prepare();
                                   body();  // warm, as the timing driver does
                                   for (auto _ : state) body();
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
